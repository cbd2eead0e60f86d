#include <memory>

#include "WorldFixture.h"
#include "world/AnimatedObject.h"
#include "world/GridObject.h"

using worldtest::WorldTest;

namespace {
constexpr uint32_t kRed = 0x00FF0000;
constexpr uint32_t kBlue = 0x000000FF;
}  // namespace

TEST_F(WorldTest, GridObjectWritesItsCellAndDrawsAtItsCorner) {
    GridObject block;
    EXPECT_FALSE(block.active);
    EXPECT_EQ(nullptr, block.grid);

    block.init(cell::kSolid, kTileSize, 3, 2, 32, 32, layer::kObjects, solidImage(kRed), &grid);
    EXPECT_TRUE(block.active);
    EXPECT_EQ(96, block.getX());
    EXPECT_EQ(64, block.getY());
    EXPECT_EQ(cell::kSolid, at(3, 2));

    // Something else cleared the cell: the next draw puts the value back.
    put(3, 2, cell::kEmpty);
    auto target = plat::Surface::create(200, 100);
    block.draw(*target);
    EXPECT_EQ(cell::kSolid, at(3, 2));
    EXPECT_EQ(kRed, target->pixel(96, 64));
    EXPECT_EQ(kRed, target->pixel(127, 95));
    EXPECT_EQ(0u, target->pixel(95, 64));
    EXPECT_EQ(0u, target->pixel(128, 95));

    block.remove();
    EXPECT_FALSE(block.active);
    EXPECT_EQ(0, at(3, 2));
    block.draw(*target);  // drawing does not look at active
    EXPECT_EQ(cell::kSolid, at(3, 2));

    // A new position moves the picture, not the marks.
    block.setGridPosition(5, 1);
    EXPECT_EQ(160, block.getX());
    EXPECT_EQ(32, block.getY());
    EXPECT_EQ(cell::kSolid, at(3, 2));
    EXPECT_EQ(0, at(5, 1));
}

TEST_F(WorldTest, ObjectsSharingACellLeaveTheLastValueDrawn) {
    auto target = plat::Surface::create(64, 64);
    GridObject a, b;
    a.init(cell::kPlayer, kTileSize, 1, 1, 32, 32, layer::kObjects, Bitmap(), &grid);
    b.init(cell::kEnemy, kTileSize, 1, 1, 32, 32, layer::kObjects, Bitmap(), &grid);
    a.draw(*target);
    EXPECT_EQ(cell::kPlayer, at(1, 1));
    a.remove();
    EXPECT_EQ(0, at(1, 1));  // hides b until b draws again
    b.draw(*target);
    EXPECT_EQ(cell::kEnemy, at(1, 1));
}

TEST_F(WorldTest, ToGridDividesByTheTileSizeRoundingDown) {
    GridObject o;
    EXPECT_EQ(0, o.toGrid(100));  // no tile size yet: no division by zero
    o.init(cell::kFloor, kTileSize, 0, 0, 32, 32, layer::kFloor, Bitmap(), &grid);
    EXPECT_EQ(1, o.toGrid(63));
    EXPECT_EQ(2, o.toGrid(64));
    EXPECT_EQ(0, o.toGrid(0));
    // Left of or above the field: outside the grid, not its first cell.
    EXPECT_EQ(-1, o.toGrid(-1));
    EXPECT_EQ(-1, o.toGrid(-32));
    EXPECT_EQ(-2, o.toGrid(-33));
}

TEST_F(WorldTest, ObjectWithoutGridStillDrawsSafely) {
    auto target = plat::Surface::create(64, 64);
    GridObject o;
    o.init(cell::kSolid, kTileSize, 1, 1, 32, 32, layer::kObjects, solidImage(kRed), nullptr);
    o.draw(*target);
    o.remove();
    EXPECT_EQ(kRed, target->pixel(40, 40));
}

TEST_F(WorldTest, CopiesOwnTheirPicturesAndKeepEveryField) {
    GridObject original;
    original.init(cell::kBreakable, kTileSize, 2, 3, 32, 32, layer::kObjects, solidImage(kBlue),
                  &grid);
    auto copy = std::make_unique<GridObject>(original);
    EXPECT_TRUE(copy->active);
    EXPECT_EQ(&grid, copy->grid);
    EXPECT_EQ(64, copy->x);
    EXPECT_EQ(96, copy->y);
    EXPECT_EQ(cell::kBreakable, copy->value);
    EXPECT_EQ(layer::kObjects, copy->layer);
    EXPECT_EQ(32, copy->width);
    EXPECT_EQ(original.image.getImageFile(), copy->image.getImageFile());

    // The copy stays drawable after the original is gone.
    {
        GridObject temp(original);
        copy->copy(temp);
    }
    auto target = plat::Surface::create(128, 128);
    copy->draw(*target);
    EXPECT_EQ(kBlue, target->pixel(64, 96));

    // Self-assignment changes nothing and still hands back a copy.
    GridObject back = (original = original);
    EXPECT_EQ(cell::kBreakable, original.value);
    EXPECT_EQ(cell::kBreakable, back.value);
    EXPECT_TRUE(back.image.isLoaded());
}

TEST_F(WorldTest, AnimatedObjectStartsItsAnimationAndClonesWhole) {
    const Bitmap frame = solidImage(kRed);
    Animation anim;
    anim.setup(0, 0, &frame, 1, 0, 100);
    EXPECT_FALSE(anim.playing);

    AnimatedObject puff;
    plat::headless::setTicks(5000);
    puff.initAnimated(cell::kBombPowerup, kTileSize, 4, 1, 32, 32, layer::kPowerups, &grid, anim);
    EXPECT_EQ(cell::kBombPowerup, at(4, 1, layer::kPowerups));
    EXPECT_TRUE(puff.animation.playing);
    EXPECT_EQ(5000u, puff.animation.startTick);
    EXPECT_FALSE(puff.image.isLoaded());

    put(4, 1, 0, layer::kPowerups);
    auto target = plat::Surface::create(200, 100);
    puff.draw(*target);
    EXPECT_EQ(kRed, target->pixel(128, 32));
    EXPECT_EQ(cell::kBombPowerup, at(4, 1, layer::kPowerups));

    // clone through the base keeps the class and its animation.
    GridObject& base = puff;
    std::unique_ptr<GridObject> twin(base.clone());
    auto* animated = dynamic_cast<AnimatedObject*>(twin.get());
    ASSERT_NE(nullptr, animated);
    EXPECT_TRUE(animated->animation.playing);
    EXPECT_EQ(1, animated->animation.getFrameCount());
    EXPECT_NE(puff.animation.getFrames(), animated->animation.getFrames());  // its own frames

    AnimatedObject assigned;
    assigned = puff;
    EXPECT_EQ(cell::kBombPowerup, assigned.value);
    EXPECT_EQ(layer::kPowerups, assigned.layer);
    EXPECT_TRUE(assigned.animation.playing);
}
