// Back-end choice, the clocks and message boxes.
#include <gtest/gtest.h>

#include "support/HeadlessTest.h"
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

}  // namespace
