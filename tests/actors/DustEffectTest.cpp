#include "actors/DustEffect.h"

#include "BombFixture.h"

using bombtest::BombTest;

class DustEffectTest : public BombTest {
protected:
    DustEffect puff(int c, int r) {
        DustEffect d;
        d.initAnimated(0, kTileSize, c, r, 32, 32, layer::kPowerups, &grid, *lib.dust);
        return d;
    }
    void draw(DustEffect& d, uint32_t ms) {
        plat::headless::advance(ms);
        d.draw(*surface);
    }
};

TEST_F(DustEffectTest, RunsOnceAtItsOwnFrameTime) {
    DustEffect d = puff(4, 3);
    EXPECT_EQ(100u, d.animation.frameTime);
    draw(d, 399);
    EXPECT_TRUE(d.active);
    draw(d, 1);  // 4 frames of 100 ms
    EXPECT_FALSE(d.active);
}

TEST_F(DustEffectTest, LeavesAPowerupUnderItInPlace) {
    put(4, 3, cell::kMissilePowerup, layer::kPowerups);
    DustEffect d = puff(4, 3);
    EXPECT_EQ(cell::kMissilePowerup, at(4, 3, layer::kPowerups));
    draw(d, 200);
    EXPECT_EQ(cell::kMissilePowerup, at(4, 3, layer::kPowerups));
    draw(d, 300);
    EXPECT_FALSE(d.active);
    EXPECT_EQ(cell::kMissilePowerup, at(4, 3, layer::kPowerups));
}
