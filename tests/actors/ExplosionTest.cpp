#include "BombFixture.h"

using bombtest::BombTest;

class ExplosionTest : public BombTest {
protected:
    Explosion& light(int c, int r, const Animation& anim) {
        Explosion piece;
        piece.initAnimated(cell::kExplosion, kTileSize, c, r, 32, 32, layer::kExplosions, &grid,
                           anim);
        explosions.push_front(piece);
        return explosions.front();
    }
};

TEST_F(ExplosionTest, BurnsFor900MsAndClearsOnlyItsOwnMark) {
    put(4, 3, cell::kBreakable);
    Explosion& piece = light(4, 3, *lib.explosioncentre);
    EXPECT_EQ(128u, piece.animation.frameTime);  // 7 frames share 900 ms
    EXPECT_EQ(cell::kExplosion, fire(4, 3));
    put(4, 3, 0, layer::kExplosions);  // wiped: the next draw writes it again
    frame(895);
    EXPECT_TRUE(piece.active);
    EXPECT_EQ(cell::kExplosion, fire(4, 3));
    frame(1);  // 7 x 128 = 896 ms
    EXPECT_FALSE(piece.active);
    EXPECT_EQ(cell::kEmpty, fire(4, 3));
    EXPECT_EQ(cell::kBreakable, at(4, 3));
}

TEST_F(ExplosionTest, TwoPiecesOnOneCellKeepItBurningUntilBothAreOut) {
    light(4, 3, *lib.explosioncentre);
    frame(400);
    Explosion& later = light(4, 3, *lib.explosionhorizontal);
    frame(496);  // the first goes out and clears the cell...
    EXPECT_EQ(cell::kEmpty, fire(4, 3));
    frame(15);  // ...which the other marks again
    EXPECT_EQ(cell::kExplosion, fire(4, 3));
    frame(400);
    EXPECT_FALSE(later.active);
    EXPECT_EQ(cell::kEmpty, fire(4, 3));
}

TEST_F(ExplosionTest, PauseKeepsTheRemainingBurnTime) {
    Explosion& piece = light(4, 3, *lib.explosioncentre);
    frame(500);
    piece.pause();
    plat::headless::advance(10000);
    piece.resume();
    frame(395);
    EXPECT_TRUE(piece.active);
    frame(1);
    EXPECT_FALSE(piece.active);
}

TEST_F(ExplosionTest, PieceWithoutFramesStillBurns900Ms) {
    Explosion& piece = light(4, 3, Animation());
    frame(899);
    EXPECT_TRUE(piece.active);
    EXPECT_EQ(cell::kExplosion, fire(4, 3));
    frame(1);
    EXPECT_FALSE(piece.active);
    EXPECT_EQ(cell::kEmpty, fire(4, 3));
}

TEST_F(ExplosionTest, CopiesAndClonesAreExplosions) {
    Explosion& piece = light(4, 3, *lib.explosioncentre);
    piece.pause();
    piece.pausedElapsed = 300;
    std::unique_ptr<GridObject> twin(piece.clone());
    auto* copy = dynamic_cast<Explosion*>(twin.get());
    ASSERT_NE(nullptr, copy);
    EXPECT_EQ(300u, copy->pausedElapsed);
    EXPECT_EQ(piece.animation.frameTime, copy->animation.frameTime);
}
