// Back-end choice, the clocks and message boxes.
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <sstream>
#include <string>

#include "support/HeadlessTest.h"
#include "support/TestFiles.h"
#include "platform/Clock.h"
#include "platform/Headless.h"
#include "platform/MessageBox.h"
#include "platform/Platform.h"

namespace {

using namespace plat;
namespace hl = plat::headless;

using PlatformTest = testsupport::HeadlessTest;

TEST_F(PlatformTest, HeadlessClockIsManualAndWrapsLikeTheTickCount) {
    EXPECT_EQ(tickCount(), 0u);
    EXPECT_EQ(calendarSeconds(), 1'000'000'000);
    hl::setTicks(0xFFFFFFF0u);
    uint32_t before = tickCount();
    hl::advance(0x20);
    EXPECT_EQ(tickCount(), 0x10u);
    EXPECT_EQ(tickCount() - before, 0x20u);  // unsigned differences survive the wrap
    hl::setCalendarSeconds(1234);
    EXPECT_EQ(calendarSeconds(), 1234);

    hl::reset();
    EXPECT_EQ(tickCount(), 0u);
    EXPECT_EQ(calendarSeconds(), 1'000'000'000);
}

TEST_F(PlatformTest, MessageBoxesAreRecordedInOrder) {
    messageBox("Error opening log file", "ERROR!", BoxIcon::Information);
    messageBox("Error creating keyboard DI device", "ERROR!", BoxIcon::None);
    messageBox("", "", BoxIcon::Exclamation);
    ASSERT_EQ(hl::boxes().size(), 3u);
    EXPECT_EQ(hl::boxes()[0].text, "Error opening log file");
    EXPECT_EQ(hl::boxes()[0].caption, "ERROR!");
    EXPECT_EQ(hl::boxes()[0].icon, BoxIcon::Information);
    EXPECT_EQ(hl::boxes()[1].icon, BoxIcon::None);
    EXPECT_EQ(hl::boxes()[2].icon, BoxIcon::Exclamation);
    hl::reset();
    EXPECT_TRUE(hl::boxes().empty());
}

TEST(PlatformBackend, HeadlessBeforeInitAndControlsInertOnSdl) {
    shutdown();
    EXPECT_EQ(backend(), Backend::Headless);
    hl::reset();
    hl::advance(5);
    EXPECT_EQ(tickCount(), 5u);  // headless before any init

    init(Backend::Sdl);
    EXPECT_EQ(backend(), Backend::Sdl);
    // The real clocks run; the headless controls change nothing.
    hl::setCalendarSeconds(7);
    EXPECT_GT(calendarSeconds(), 1'600'000'000);
    uint32_t t0 = tickCount();
    hl::setTicks(t0 + 100000);
    EXPECT_LT(tickCount() - t0, 100000u);
    EXPECT_TRUE(hl::boxes().empty());
    EXPECT_TRUE(hl::audioLog().empty());
    EXPECT_EQ(hl::windowSpec(), nullptr);
    EXPECT_EQ(hl::presentCount(), 0);

    shutdown();
    EXPECT_EQ(backend(), Backend::Headless);
}

// Game code sees only the headers meant for it; they may name an SDL type
// only as an opaque forward declaration or a private member, never in
// anything a caller can reach.
TEST(PlatformHeaders, ExposeNoSdlTypeToGameCode) {
    namespace fs = std::filesystem;
    const fs::path dir = fs::path(EMBERHAUNT_SOURCE_DIR) / "src" / "platform";
    const std::regex lineComment("//.*");
    const std::regex forwardDecl(R"(^\s*struct\s+SDL_\w+\s*;\s*$)");
    int headers = 0;
    for (const auto& entry : fs::directory_iterator(dir)) {
        if (entry.path().extension() != ".h") continue;
        const std::string text = testsupport::readFile(entry.path().string());
        // Headers for the platform's own files say so in their opening comment.
        const std::string opening = std::regex_replace(text, std::regex("\\s*\n//\\s*"), " ");
        if (opening.find("Never included outside src/platform/") != std::string::npos) continue;
        ++headers;
        std::istringstream lines(text);
        std::string line;
        bool inPrivate = false;
        int number = 0;
        while (std::getline(lines, line)) {
            ++number;
            line = std::regex_replace(line, lineComment, "");
            if (line.find("private:") != std::string::npos) inPrivate = true;
            if (line.find("public:") != std::string::npos || line.find("};") != std::string::npos)
                inPrivate = false;
            if (line.find("SDL") == std::string::npos) continue;
            EXPECT_TRUE(inPrivate || std::regex_match(line, forwardDecl))
                << entry.path().filename().string() << ":" << number << ": " << line;
        }
    }
    EXPECT_GE(headers, 11);
}

}  // namespace
