#include <cstdlib>
#include <memory>
#include <set>
#include <utility>

#include "platform/Clock.h"
#include "platform/Headless.h"
#include "platform/Surface.h"
#include "shell/Transition.h"
#include "support/HeadlessTest.h"
#include "support/TestFiles.h"

namespace {

constexpr uint32_t kChecker = plat::rgb(200, 40, 40);
constexpr int kCell = 32;

using Cells = std::set<std::pair<int, int>>;

class TransitionTest : public testsupport::HeadlessTest {
protected:
    void SetUp() override {
        HeadlessTest::SetUp();
        plat::headless::setTicks(1000);
        auto image = plat::Surface::create(kCell, kCell);
        image->fill(0, 0, kCell, kCell, kChecker);
        ASSERT_TRUE(image->saveBmp(dir.file("checker.bmp")));
        checkerBitmap.load(dir.file("checker.bmp"), kCell, kCell);
        checkerCellSize = kCell;
        std::srand(11);
    }
    void TearDown() override {
        checkerBitmap.release();
        checkerCellSize = 0;
        transitionRunning = false;
        HeadlessTest::TearDown();
    }

    // One tick ms after the last: a fresh black target of w x h, stepped
    // with the same right and bottom.
    std::unique_ptr<plat::Surface> tick(uint32_t ms, int w = 640, int h = 480) {
        plat::headless::advance(ms);
        auto target = plat::Surface::create(w, h);
        stepTransition(*target, w, h);
        return target;
    }

    // Cells whose top-left corner shows the checker.
    static Cells covered(const plat::Surface& s) {
        Cells out;
        for (int x = 0; x + kCell <= s.width(); x += kCell)
            for (int y = 0; y + kCell <= s.height(); y += kCell)
                if (s.pixel(x, y) == kChecker) out.insert({x, y});
        return out;
    }
    static Cells settled() {
        Cells out;
        for (int x = 0; x < kTransitionMaskWidth; ++x)
            for (int y = 0; y < kTransitionMaskHeight; ++y)
                if (transitionMask[x][y] == 1) out.insert({x, y});
        return out;
    }
    static bool includes(const Cells& big, const Cells& small) {
        for (const auto& c : small)
            if (!big.count(c)) return false;
        return true;
    }

    testsupport::TempDir dir;
};

TEST_F(TransitionTest, A32PixelCheckerCuts640x480Into20x15CellsAndLeavesPartCellsOut) {
    startTransition(false);
    // A wider area than the cells fill: the 10 x 10 pixel rim is no cell.
    auto s = tick(501, 650, 490);
    EXPECT_EQ(covered(*s).size(), 20u * 15u);
    const Cells corners = settled();
    EXPECT_EQ(corners.size(), 300u);
    EXPECT_EQ(corners.count({608, 448}), 1u);
    EXPECT_EQ(s->pixel(639, 479), kChecker);
    EXPECT_EQ(s->pixel(640, 0), 0u);
    EXPECT_EQ(s->pixel(0, 480), 0u);
}

TEST_F(TransitionTest, TheCountdownDropsByWholeFiveMillisecondStepsAndIgnoresShortTicks) {
    startTransition(true);
    const uint32_t start = plat::tickCount();
    tick(5);
    EXPECT_EQ(transitionCountdown, 100);
    EXPECT_EQ(transitionLastStep, start);  // short ticks add up
    tick(1);
    EXPECT_EQ(transitionCountdown, 99);
    EXPECT_EQ(transitionLastStep, start + 6);
    tick(14);  // 2 steps; the 4 ms left over are dropped
    EXPECT_EQ(transitionCountdown, 97);
    tick(5);
    tick(4);
    EXPECT_EQ(transitionCountdown, 96);
}

TEST_F(TransitionTest, ACoverSettlesCellsForGoodAndKeepsTheScreenCoveredUntilTheNextStart) {
    startTransition(false);
    Cells before;
    for (int i = 0; i < 40; ++i) {
        auto s = tick(15);
        const Cells now = covered(*s);
        ASSERT_TRUE(includes(now, before)) << "tick " << i;
        ASSERT_EQ(now, settled()) << "tick " << i;
        before = now;
    }
    EXPECT_EQ(before.size(), 300u);
    EXPECT_TRUE(transitionRunning);
    // Long after: still running and still covering every cell.
    EXPECT_EQ(covered(*tick(10000)).size(), 300u);
    EXPECT_TRUE(transitionRunning);

    startTransition(false);
    EXPECT_TRUE(settled().empty());
    EXPECT_EQ(transitionCountdown, 100);
}

TEST_F(TransitionTest, ARevealUncoversCellsForGoodAndEndsOnceTheCountdownIsBelowOne) {
    startTransition(true);
    Cells before = covered(*tick(0));
    EXPECT_GT(before.size(), 250u);  // at countdown 100 nearly every cell still covered
    while (transitionRunning) {
        auto s = tick(15);
        const Cells now = covered(*s);
        ASSERT_TRUE(includes(before, now));
        const Cells gone = settled();
        for (const auto& c : now) ASSERT_EQ(gone.count(c), 0u);
        before = now;
    }
    EXPECT_TRUE(before.empty());  // the last tick draws nothing

    // At a countdown of exactly 1 it still runs; the next step ends it.
    startTransition(true);
    tick(495);
    EXPECT_EQ(transitionCountdown, 1);
    EXPECT_TRUE(transitionRunning);
    auto last = tick(6);
    EXPECT_FALSE(transitionRunning);
    EXPECT_TRUE(covered(*last).empty());
    // Once ended, a step draws nothing and moves nothing.
    const int countdown = transitionCountdown;
    auto idle = tick(100);
    EXPECT_TRUE(covered(*idle).empty());
    EXPECT_EQ(transitionCountdown, countdown);
}

TEST_F(TransitionTest, TheFirstStepAfterAPauseJumpsByTheWholePausedTime) {
    // No steps while paused: the countdown waits, then drops by 10000 / 5.
    startTransition(false);
    auto early = tick(15);
    EXPECT_LT(covered(*early).size(), 300u);
    plat::headless::advance(10000);
    EXPECT_EQ(transitionCountdown, 97);
    EXPECT_EQ(covered(*tick(0)).size(), 300u);
    EXPECT_EQ(transitionCountdown, 97 - 2000);

    startTransition(true);
    tick(15);
    plat::headless::advance(10000);
    auto after = tick(0);
    EXPECT_FALSE(transitionRunning);
    EXPECT_TRUE(covered(*after).empty());
}

TEST_F(TransitionTest, ABrokenCellSizeDrawsNothingAndStillEnds) {
    for (int size : {0, -32}) {
        SCOPED_TRACE(size);
        checkerCellSize = size;
        startTransition(true);
        auto s = tick(600);
        EXPECT_TRUE(covered(*s).empty());
        EXPECT_FALSE(transitionRunning);
    }
}

TEST_F(TransitionTest, CellsBeyondTheMaskAreDrawnAndRememberedWithoutTouchingIt) {
    // A client area larger than 640 x 480: 21 x 16 cells, the outer ones
    // beyond the mask (the sanitizer catches any access outside it).
    startTransition(false);
    auto full = tick(600, 700, 520);
    EXPECT_EQ(covered(*full).size(), 21u * 16u);
    EXPECT_EQ(settled().size(), 300u);
    // Settled cells stay covered even when no cell would settle anew.
    transitionCountdown = 1000;
    auto again = tick(0, 700, 520);
    EXPECT_EQ(covered(*again).size(), 21u * 16u);

    startTransition(true);
    tick(600, 700, 520);
    EXPECT_FALSE(transitionRunning);
    EXPECT_EQ(settled().size(), 300u);
}

}  // namespace
