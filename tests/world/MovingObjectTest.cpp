#include <cmath>
#include <memory>

#include "WorldFixture.h"

using worldtest::TestMover;
using worldtest::WorldTest;

namespace {

// Four frameless direction animations (stopping shows frame 2).
void walkSet(Animation (&set)[4]) {
    for (Animation& a : set) a.setupShared(0, 0, nullptr, 2, 2, 100);
}

}  // namespace

class MovingObjectTest : public WorldTest {
protected:
    void SetUp() override {
        WorldTest::SetUp();
        auto target = plat::Surface::create(8, 8);
        surface = std::move(target);
    }
    void frame(MovingObject& m, uint32_t ms) {
        plat::headless::advance(ms);
        m.draw(*surface);
    }
    std::unique_ptr<plat::Surface> surface;
};

TEST_F(MovingObjectTest, StepComesFromElapsedTimeAndIsCapped) {
    TestMover m;
    m.place(grid, 64, 64, 3.0f);
    m.directionFlags[dir::kRight] = true;

    frame(m, 15);
    EXPECT_NEAR(15.0 / 15.38 * 3.0, m.currentStep, 1e-4);
    EXPECT_NEAR(64.0 + 2.926, m.posX, 1e-3);
    EXPECT_EQ(66, m.x);
    EXPECT_FLOAT_EQ(3.0f, m.speed);

    frame(m, 200);  // a long stall still moves only 10 px
    EXPECT_FLOAT_EQ(10.0f, m.currentStep);

    // No time: no step, but the move still runs and succeeds.
    const float before = m.posX;
    m.blocked = true;
    frame(m, 0);
    EXPECT_FLOAT_EQ(0.0f, m.currentStep);
    EXPECT_FLOAT_EQ(before, m.posX);
    EXPECT_FALSE(m.blocked);

    // A clock that went back gives no step rather than a backward one.
    m.lastTick = plat::tickCount() + 50;
    frame(m, 0);
    EXPECT_FLOAT_EQ(0.0f, m.currentStep);
    EXPECT_FLOAT_EQ(before, m.posX);

    m.speed = -3.0f;
    frame(m, 15);
    EXPECT_FLOAT_EQ(0.0f, m.currentStep);
    EXPECT_FLOAT_EQ(before, m.posX);
    m.speed = 3.0f;

    // Across the tick count's wrap the unsigned difference holds.
    plat::headless::setTicks(0xFFFFFFF0u);
    m.lastTick = plat::tickCount();
    frame(m, 0x20);
    EXPECT_NEAR(32.0 / 15.38 * 3.0, m.currentStep, 1e-4);
}

TEST_F(MovingObjectTest, HitboxMarksTheCellsUnderItsCornersAndFollowsTheCentre) {
    TestMover m;
    m.place(grid, 40, 40);
    const MovingObject::Box hit = m.getHitbox();
    EXPECT_EQ(63, hit.right);
    EXPECT_EQ(48, hit.left);
    EXPECT_EQ(48, hit.top);
    EXPECT_EQ(63, hit.bottom);

    m.markHitbox(cell::kPlayer);
    EXPECT_EQ(cell::kPlayer, at(1, 1));
    EXPECT_EQ(0, at(2, 1));
    EXPECT_EQ(1, m.col);
    EXPECT_EQ(1, m.row);

    // Across the column border: two cells, and the centre moves on.
    m.x = 50;
    m.markHitbox(cell::kPlayer);
    EXPECT_EQ(cell::kPlayer, at(1, 1));
    EXPECT_EQ(cell::kPlayer, at(2, 1));
    EXPECT_EQ(0, at(1, 2));
    EXPECT_EQ(2, m.col);
    EXPECT_EQ(1, m.getPrevCol());
    EXPECT_EQ(1, m.getPrevRow());

    // Across both borders at once: four cells; the row change records the
    // column as it now stands.
    TestMover d;
    d.place(grid, 40, 40);
    d.markHitbox(cell::kEnemy);
    d.x = 50;
    d.y = 50;
    d.markHitbox(cell::kEnemy);
    for (int c : {1, 2})
        for (int r : {1, 2}) EXPECT_EQ(cell::kEnemy, at(c, r)) << c << "," << r;
    EXPECT_EQ(2, d.col);
    EXPECT_EQ(2, d.row);
    EXPECT_EQ(2, d.getPrevCol());
    EXPECT_EQ(1, d.getPrevRow());

    put(2, 2, cell::kExplosion, layer::kExplosions);
    EXPECT_TRUE(d.hitboxTouches(layer::kExplosions, cell::kExplosion));
    EXPECT_FALSE(d.hitboxTouches(layer::kPowerups, cell::kExplosion));

    d.remove();
    EXPECT_FALSE(d.active);
    for (int c : {1, 2})
        for (int r : {1, 2}) EXPECT_EQ(0, at(c, r));
}

TEST_F(MovingObjectTest, MarksAtTheFieldsRimStayInsideTheGrid) {
    auto marked = [&] {
        int n = 0;
        for (int r = -1; r <= grid.getHeight(); ++r)
            for (int c = -1; c <= grid.getWidth(); ++c) n += at(c, r) != 0;
        return n;
    };
    TestMover m;
    m.place(grid, 0, 0);
    m.x = -20;  // the hitbox reaches over the left and top rim
    m.y = -20;
    m.markHitbox(cell::kEnemy);
    EXPECT_EQ(cell::kEnemy, at(0, 0));  // pixels -12..3 all fall in cell 0
    EXPECT_EQ(1, marked());

    TestMover n;
    n.place(grid, 9 * 32 + 20, 7 * 32 + 20);  // and over the right and bottom rim
    n.markHitbox(cell::kEnemy);
    EXPECT_EQ(cell::kEnemy, at(9, 7));
    EXPECT_EQ(2, marked());

    // Moving out over the rim: the trailing cell is cleared, the marks
    // beyond the grid go nowhere.
    n.directionFlags[dir::kRight] = true;
    n.directionFlags[dir::kDown] = true;
    frame(n, 30);
    EXPECT_EQ(0, at(9, 7));
    EXPECT_EQ(1, marked());
}

// Against a corner with one side free the mover slides toward the free side
// by the largest step that fits: currentStep, then 0.5 less each try. Each
// case names the move, the slide and the slide distance.
struct SlideCase {
    const char* name;
    int direction;
    int x, y;
    float step;
    std::vector<std::pair<int, int>> blocks;
    int endX, endY;  // truncated pixel position afterwards
    float slide;     // currentStep afterwards
};

TEST_F(MovingObjectTest, CornerSlidesTakeTheLargestStepThatFits) {
    const float s15 = 15.0f / 15.38f * 3.0f;  // 2.926: speed 3 at 15 ms
    const SlideCase cases[] = {
        {"right: 3 fits", dir::kRight, 32, 61, 3.0f, {{2, 1}, {2, 3}}, 32, 64, 3.0f},
        {"right: 2.5 fits", dir::kRight, 32, 62, 3.0f, {{2, 1}, {2, 3}}, 32, 64, 2.5f},
        {"right: 1.5 fits", dir::kRight, 32, 63, 3.0f, {{2, 1}, {2, 3}}, 32, 64, 1.5f},
        {"right: 2.926 - 1", dir::kRight, 32, 63, s15, {{2, 1}, {2, 3}}, 32, 64, s15 - 1.0f},
        {"right: 10 - 4.5", dir::kRight, 32, 59, 10.0f, {{2, 1}, {2, 3}}, 32, 64, 5.5f},
        {"right, up: 2", dir::kRight, 32, 34, 3.0f, {{2, 2}, {2, 0}}, 32, 32, 2.0f},
        {"left, down: 3", dir::kLeft, 64, 61, 3.0f, {{1, 1}, {1, 3}}, 64, 64, 3.0f},
        {"up, right: 3", dir::kUp, 61, 64, 3.0f, {{1, 1}, {3, 1}}, 64, 64, 3.0f},
        {"down, left: 1", dir::kDown, 33, 32, 3.0f, {{2, 2}, {0, 2}}, 32, 32, 1.0f},
    };
    for (const SlideCase& c : cases) {
        SCOPED_TRACE(c.name);
        grid.create(10, 8);
        for (auto [bc, br] : c.blocks) put(bc, br, cell::kSolid);
        TestMover m;
        m.place(grid, c.x, c.y);
        m.currentStep = c.step;
        m.directionFlags[c.direction] = true;
        m.moveByDirection(c.step);
        EXPECT_EQ(c.endX, m.x);
        EXPECT_EQ(c.endY, m.y);
        EXPECT_NEAR(c.slide, m.currentStep, 1e-5);
        EXPECT_FALSE(m.blocked);
        EXPECT_EQ(c.direction, m.direction);
        ASSERT_EQ(2u, m.calls.size());  // the move and one sideways move
        EXPECT_TRUE(m.calls[0].slide);
        EXPECT_FALSE(m.calls[1].slide);
        EXPECT_NEAR(c.slide, m.calls[1].step, 1e-5);
        for (auto [bc, br] : c.blocks) EXPECT_EQ(cell::kSolid, at(bc, br));
    }
}

// The slide finds room beside the block it met, but the sideways move then
// meets another block a full step on: it still edges over by one pixel.
// Each case: the move, the box at the start, the two blocks, and where the
// mover ends after the one-pixel sideways step.
struct EdgeCase {
    const char* name;
    int direction;
    int x, y;
    std::pair<int, int> corner, beyond;
    int sideways;
    int endX, endY;
};

TEST_F(MovingObjectTest, SidewaysMoveThatDoesNotFitWholeEdgesOverOnePixel) {
    const EdgeCase cases[] = {
        {"up, then right", dir::kUp, 63, 65, {1, 1}, {3, 3}, dir::kRight, 64, 65},
        {"up, then left", dir::kUp, 65, 65, {3, 1}, {1, 3}, dir::kLeft, 64, 65},
        {"left, then down", dir::kLeft, 65, 63, {1, 1}, {3, 3}, dir::kDown, 65, 64},
        {"left, then up", dir::kLeft, 65, 65, {1, 3}, {3, 1}, dir::kUp, 65, 64},
    };
    for (const EdgeCase& c : cases) {
        SCOPED_TRACE(c.name);
        grid.create(10, 8);
        put(c.corner.first, c.corner.second, cell::kSolid);
        put(c.beyond.first, c.beyond.second, cell::kBreakable);
        TestMover m;
        m.place(grid, c.x, c.y);
        m.currentStep = 3.0f;
        m.directionFlags[c.direction] = true;
        m.moveByDirection(3.0f);
        ASSERT_EQ(2u, m.calls.size());
        EXPECT_EQ(c.sideways, m.calls[1].direction);
        EXPECT_FLOAT_EQ(3.0f, m.calls[1].step);  // the whole step was tried first
        EXPECT_FALSE(m.calls[1].slide);
        EXPECT_EQ(c.endX, m.x);
        EXPECT_EQ(c.endY, m.y);
        EXPECT_FLOAT_EQ(float(c.endX), m.posX);
        EXPECT_FLOAT_EQ(float(c.endY), m.posY);
        EXPECT_FALSE(m.blocked);
        EXPECT_EQ(cell::kSolid, at(c.corner.first, c.corner.second));
        EXPECT_EQ(cell::kBreakable, at(c.beyond.first, c.beyond.second));
    }
}

TEST_F(MovingObjectTest, SlideWithNoRoomFallsBackToOnePixelSteps) {
    // The cell beside the mover's own lead edge is taken too, so no slide
    // distance fits: the sideways move is tried with 1.0 and is blocked.
    put(2, 2, cell::kSolid);
    put(1, 3, cell::kBreakable);
    TestMover m;
    m.place(grid, 32, 65);
    m.currentStep = 3.0f;
    m.directionFlags[dir::kRight] = true;
    m.moveByDirection(3.0f);
    EXPECT_FLOAT_EQ(1.0f, m.currentStep);
    EXPECT_EQ(32, m.x);
    EXPECT_EQ(65, m.y);
    EXPECT_TRUE(m.blocked);
    ASSERT_EQ(3u, m.calls.size());
    EXPECT_EQ(dir::kDown, m.calls[1].direction);
    EXPECT_FLOAT_EQ(1.0f, m.calls[1].step);
    EXPECT_EQ(dir::kDown, m.calls[2].direction);
    EXPECT_TRUE(m.calls[2].slide);  // the one-pixel try failed: a slide of its own
    EXPECT_FALSE(m.moveRefused);
}

TEST_F(MovingObjectTest, AFrameRunsAtMostFourMoves) {
    // Right slides down, down is blocked and slides right, right is blocked
    // again: the fifth move of the chain is refused.
    put(2, 2, cell::kSolid);
    put(1, 3, cell::kSolid);
    TestMover m;
    m.place(grid, 40, 65);
    m.currentStep = 3.0f;
    m.directionFlags[dir::kRight] = true;
    m.moveByDirection(3.0f);
    ASSERT_EQ(5u, m.calls.size());
    EXPECT_EQ(dir::kRight, m.calls[0].direction);
    EXPECT_EQ(dir::kDown, m.calls[1].direction);
    EXPECT_EQ(dir::kDown, m.calls[2].direction);
    EXPECT_EQ(dir::kRight, m.calls[3].direction);
    EXPECT_EQ(dir::kRight, m.calls[4].direction);
    EXPECT_EQ(5, m.moveAttempts);
    EXPECT_TRUE(m.moveRefused);
    EXPECT_TRUE(m.blocked);
    EXPECT_EQ(40, m.x);
    EXPECT_EQ(65, m.y);

    // The count starts again with the next frame.
    m.clearDirections();
    m.moveByDirection(3.0f);
    EXPECT_EQ(0, m.moveAttempts);
    EXPECT_FALSE(m.moveRefused);
    EXPECT_FALSE(m.blocked);  // nothing was asked for
}

TEST_F(MovingObjectTest, LeavingACellClearsItButNeverABlock) {
    TestMover m;
    m.place(grid, 32, 48);  // rows 1 and 2 under the box
    put(1, 1, cell::kPlayer);
    put(1, 2, cell::kBreakable);
    m.moveRight(3.0f, m.getBox(), true);
    EXPECT_EQ(0, at(1, 1));
    EXPECT_EQ(cell::kBreakable, at(1, 2));
    EXPECT_EQ(35, m.x);

    put(1, 1, cell::kSolid);
    put(1, 2, cell::kBomb);
    m.moveRight(0.0f, m.getBox(), true);  // even a zero step clears behind
    EXPECT_EQ(cell::kSolid, at(1, 1));
    EXPECT_EQ(0, at(1, 2));

    // Moving up clears along the bottom edge.
    TestMover v;
    v.place(grid, 96, 96);
    put(3, 3, cell::kEnemy);
    v.moveUp(2.0f, v.getBox(), true);
    EXPECT_EQ(0, at(3, 3));
    EXPECT_EQ(94, v.y);
}

TEST_F(MovingObjectTest, SeveralFlagsMoveFromOneBoxAndFaceTheLast) {
    // After the step right the box would clear the block up-left, but the
    // up move still tests the box the frame started with: it meets the
    // block and slides right instead.
    put(1, 1, cell::kSolid);
    TestMover m;
    m.place(grid, 62, 64);
    m.directionFlags[dir::kRight] = true;
    m.directionFlags[dir::kUp] = true;
    m.currentStep = 3.0f;
    m.moveByDirection(3.0f);
    EXPECT_EQ(68, m.x);
    EXPECT_EQ(64, m.y);
    EXPECT_EQ(dir::kUp, m.getDirection());
    ASSERT_EQ(3u, m.calls.size());
    EXPECT_EQ(dir::kUp, m.calls[1].direction);
    EXPECT_EQ(dir::kRight, m.calls[2].direction);
    // The frame ends with the hitbox marked at the new place.
    EXPECT_EQ(cell::kPlayer, at(2, 2));
    EXPECT_EQ(2, m.col);
}

TEST_F(MovingObjectTest, BaseObjectIsBlockedByAnythingOnItsLayer) {
    MovingObject m;
    m.initMoving(cell::kBomb, kTileSize, 2, 2, 32, 32, layer::kObjects, &grid, false, 6.0f,
                 nullptr);
    EXPECT_TRUE(m.isBlocked(2, 2));  // its own mark
    EXPECT_FALSE(m.isBlocked(3, 2));
    put(3, 2, cell::kPlayer, layer::kPowerups);
    EXPECT_FALSE(m.isBlocked(3, 2));
    EXPECT_TRUE(m.canPass(0, 0));
    EXPECT_FALSE(m.isBlocked(-1, 2));  // off the grid: nothing there
}

TEST_F(MovingObjectTest, FrozenObjectStaysAndLeavesItsState) {
    TestMover m;
    m.place(grid, 64, 64);
    m.frozen = true;
    m.directionFlags[dir::kLeft] = true;
    m.blocked = true;
    m.moveRefused = false;
    frame(m, 30);
    EXPECT_EQ(64, m.x);
    EXPECT_TRUE(m.calls.empty());
    EXPECT_TRUE(m.blocked);
    EXPECT_EQ(0, at(2, 2));  // not re-marked

    m.moveLeft(3.0f, m.getBox(), true);  // called directly: refused
    EXPECT_TRUE(m.moveRefused);
    EXPECT_EQ(64, m.x);
}

TEST_F(MovingObjectTest, IdleAnimationFlags) {
    Animation walk[4];
    walkSet(walk);
    MovingObject m;
    m.initMoving(cell::kPlayer, kTileSize, 2, 2, 32, 32, layer::kObjects, &grid, false, 3.0f, walk);
    EXPECT_EQ(dir::kDown, m.getDirection());
    EXPECT_EQ(2, m.getPrevCol());
    EXPECT_TRUE(m.animation.playing);  // the down set, started by initAnimated

    m.stopWhenIdle = true;
    m.directionAnimations[dir::kDown].play();
    frame(m, 15);
    EXPECT_FALSE(m.directionAnimations[dir::kDown].playing);
    EXPECT_EQ(2, m.directionAnimations[dir::kDown].getCurrentFrame());

    m.setDirection(dir::kDown);
    frame(m, 15);
    EXPECT_TRUE(m.directionAnimations[dir::kDown].playing);
    const uint32_t walkStart = plat::tickCount();
    EXPECT_EQ(walkStart, m.directionAnimations[dir::kDown].startTick);
    frame(m, 15);  // walking on does not restart the walk
    EXPECT_EQ(walkStart, m.directionAnimations[dir::kDown].startTick);

    m.stopWhenIdle = false;
    m.animateWhenIdle = true;
    m.clearDirections();
    m.directionAnimations[dir::kDown].stop();
    const uint32_t started = m.directionAnimations[dir::kDown].startTick;
    frame(m, 15);
    EXPECT_TRUE(m.directionAnimations[dir::kDown].playing);
    EXPECT_EQ(started, m.directionAnimations[dir::kDown].startTick);  // not restarted

    m.setAnimationSpeed(40);
    for (const Animation& a : m.directionAnimations) EXPECT_EQ(40u, a.frameTime);
    m.setAnimationSpeed(-1);  // a missing speed: the frames stand still
    for (const Animation& a : m.directionAnimations) EXPECT_EQ(4294967295u, a.frameTime);
    m.setDirection(7);  // no such direction: nothing set
    EXPECT_FALSE(m.isMoving());
}

TEST_F(MovingObjectTest, DrawShowsTheFacingAnimation) {
    const uint32_t colours[4] = {0x00FF0000, 0x0000FF00 + 1, 0x000000FF, 0x00FFFF00};
    Bitmap frames[4];
    Animation walk[4];
    for (int d = 0; d < 4; ++d) {
        frames[d] = solidImage(colours[d]);
        walk[d].setup(0, 0, &frames[d], 1, 0, 100);
    }
    MovingObject m;
    m.initMoving(cell::kPlayer, kTileSize, 1, 1, 32, 32, layer::kObjects, &grid, false, 0.0f, walk);
    auto target = plat::Surface::create(100, 100);
    m.setDirection(dir::kLeft);
    plat::headless::advance(15);
    m.draw(*target);
    EXPECT_EQ(colours[dir::kLeft], target->pixel(40, 40));
    EXPECT_EQ(dir::kLeft, m.getDirection());

    // A copy keeps everything, its animations included.
    MovingObject copy(m);
    EXPECT_EQ(dir::kLeft, copy.direction);
    EXPECT_TRUE(copy.directionFlags[dir::kLeft]);
    EXPECT_EQ(m.lastTick, copy.lastTick);
    std::unique_ptr<GridObject> cloned(m.clone());
    auto* moving = dynamic_cast<MovingObject*>(cloned.get());
    ASSERT_NE(nullptr, moving);
    target->fill(0, 0, 100, 100, 0);
    moving->directionAnimations[dir::kLeft].draw(*target);
    EXPECT_EQ(colours[dir::kLeft], target->pixel(40, 40));
}
