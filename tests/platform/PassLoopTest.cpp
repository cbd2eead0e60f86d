// The headless pass-loop harness and the test file helpers.
#include <gtest/gtest.h>

#include <vector>

#include "support/HeadlessTest.h"
#include "support/PassLoop.h"
#include "support/TestFiles.h"
#include "platform/Clock.h"
#include "platform/Headless.h"
#include "platform/Window.h"

namespace {

using namespace plat;
namespace hl = plat::headless;
using testsupport::PassLoop;
using testsupport::runPassLoop;

using PassLoopTest = testsupport::HeadlessTest;

int draws = 0;
void draw() { ++draws; }

TEST_F(PassLoopTest, DrawsOnTheTimerAndUpdatesOnEveryPass) {
    draws = 0;
    ASSERT_TRUE(setTimer(1, 15, draw));
    uint64_t updates = 0;
    PassLoop loop;
    loop.update = [&] { ++updates; };
    auto r = runPassLoop(151, loop);  // ticks at 15, 30, ... 150
    EXPECT_EQ(r.elapsedMs, 151u);
    EXPECT_EQ(r.timerTicks, 10u);
    EXPECT_EQ(draws, 10);
    EXPECT_EQ(updates, r.passes);
    EXPECT_EQ(r.passes, r.elapsedMs + r.timerTicks);  // one idle pass per ms, one per tick
    EXPECT_FALSE(r.quitTaken);

    EXPECT_EQ(runPassLoop(0, loop).passes, 0u);
}

TEST_F(PassLoopTest, TakesOneMessagePerPassAndStopsOnQuit) {
    std::vector<uint32_t> seen;
    std::vector<size_t> seenAtUpdate;
    hl::postMessage({MsgType::KeyDown, 'A', 0});
    hl::postMessage({MsgType::KeyDown, 'B', 0});
    postQuit(3);
    hl::postMessage({MsgType::KeyDown, 'C', 0});  // behind the Quit: never taken
    PassLoop loop;
    loop.onMessage = [&](const Message& m) { seen.push_back(m.wParam); };
    loop.update = [&] { seenAtUpdate.push_back(seen.size()); };
    auto r = runPassLoop(1000, loop);
    EXPECT_TRUE(r.quitTaken);
    EXPECT_EQ(r.exitCode, 3u);
    EXPECT_EQ(r.passes, 3u);
    EXPECT_EQ(seen, (std::vector<uint32_t>{'A', 'B', 3}));
    EXPECT_EQ(seenAtUpdate, (std::vector<size_t>{1, 2, 3}));  // update runs on the Quit pass too
    EXPECT_EQ(r.elapsedMs, 0u);
}

TEST_F(PassLoopTest, QuitHandlerAndDonePredicateLikeTheGameLoop) {
    bool quitFlag = false;
    int updates = 0;
    PassLoop loop;
    loop.onQuit = [&](uint32_t) { quitFlag = true; };
    loop.update = [&] {
        if (++updates == 5) postQuit(0);
    };
    loop.done = [&] { return quitFlag; };
    auto r = runPassLoop(1000, loop);
    EXPECT_TRUE(r.stoppedByDone);
    EXPECT_TRUE(r.quitTaken);
    EXPECT_EQ(updates, 6);  // the pass that took the Quit still updated

    draws = 0;
    ASSERT_TRUE(setTimer(1, 10, draw));
    EXPECT_TRUE(testsupport::runUntil([] { return draws == 3; }, 1000));
    EXPECT_FALSE(testsupport::runUntil([] { return draws == 1000; }, 50));
}

TEST_F(PassLoopTest, PassLimitStopsALoopThatNeverLetsTimePass) {
    PassLoop loop;
    loop.update = [] { hl::postMessage({MsgType::Activate, 0, 0}); };
    loop.maxPasses = 1000;
    auto r = runPassLoop(10, loop);
    EXPECT_TRUE(r.passLimitHit);
    EXPECT_EQ(r.passes, 1000u);
}

TEST(TestFiles, WriteReadAndCleanUp) {
    std::string kept;
    {
        testsupport::TempDir dir;
        kept = dir.path();
        std::string bytes("a\0b\r\n\xff", 6);
        ASSERT_TRUE(testsupport::writeFile(dir.file("sub/x.bin"), bytes));
        EXPECT_EQ(testsupport::readFile(dir.file("sub/x.bin")), bytes);
        EXPECT_EQ(testsupport::readFile(dir.file("none")), "");
        EXPECT_TRUE(testsupport::fileExists(kept));
    }
    EXPECT_FALSE(testsupport::fileExists(kept));
}

}  // namespace
