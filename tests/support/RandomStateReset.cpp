// Every test starts from the random state a fresh process has (std::rand
// behaves as if seeded with 1 at start), the state it sees when CTest runs
// it alone. The game draws from that one shared generator, so without this
// a test's draws would depend on how many the tests before it made in the
// same process. Linked into every test program (tests/CMakeLists.txt).
#include <gtest/gtest.h>

#include <cstdlib>

namespace testsupport {
namespace {

class RandomStateReset : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo&) override { std::srand(1); }
};

// Registered before main runs; gtest owns the listener from then on.
const bool registered = [] {
    ::testing::UnitTest::GetInstance()->listeners().Append(new RandomStateReset);
    return true;
}();

}  // namespace
}  // namespace testsupport
