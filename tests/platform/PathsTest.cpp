#include "platform/Paths.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "support/TestFiles.h"

namespace {

TEST(PathsTest, NameTheRunningProgramAndItsFolder) {
    const std::string path = plat::executablePath();
    ASSERT_FALSE(path.empty());
    EXPECT_EQ(path.front(), '/');
    EXPECT_EQ(::access(path.c_str(), X_OK), 0) << path;
    const std::string dir = plat::executableDir();
    ASSERT_FALSE(dir.empty());
    EXPECT_NE(dir.back(), '/');
    EXPECT_EQ(path, dir + "/" + path.substr(path.rfind('/') + 1));
}

// Run by the test below in a copy of this program; answers through its exit code.
TEST(PathsTest, ReportsTheExpectedPathWhenStartedElsewhere) {
    const char* expected = std::getenv("EMBERHAUNT_EXPECT_EXE");
    if (!expected) GTEST_SKIP() << "only runs inside the long-path check";
    EXPECT_EQ(plat::executablePath(), expected);
    EXPECT_EQ(plat::executableDir(), std::string(expected).substr(0, std::string(expected).rfind('/')));
}

TEST(PathsTest, LongFolderNamesWithDotsAreReportedWhole) {
    testsupport::TempDir tmp;
    // Far beyond the 255-character buffers of old, in folders with dots.
    std::string dir = tmp.path();
    for (int i = 0; i < 6; ++i) dir += "/folder.with.dots." + std::string(60, char('a' + i));
    ASSERT_TRUE(testsupport::writeFile(dir + "/placeholder", ""));
    const std::string copy = dir + "/tests.copy";
    if (::link(plat::executablePath().c_str(), copy.c_str()) != 0)
        GTEST_SKIP() << "cannot link the test program into the temporary folder";
    ASSERT_GT(copy.size(), 400u);

    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::setenv("EMBERHAUNT_EXPECT_EXE", copy.c_str(), 1);
        ::execl(copy.c_str(), copy.c_str(), "--gtest_filter=PathsTest.ReportsTheExpectedPathWhenStartedElsewhere",
                "--gtest_brief=1", static_cast<char*>(nullptr));
        ::_exit(127);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

}  // namespace
