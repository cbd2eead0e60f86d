// Powerups vanish under fire and under anyone standing on them; otherwise
// they keep their value on the powerup layer.
#include <gtest/gtest.h>

#include <memory>

#include "actors/Powerup.h"
#include "world/WorldFixture.h"

namespace {

class PowerupTest : public worldtest::WorldTest {
protected:
    Powerup makePowerup(int c, int r, int v) {
        Powerup p;
        p.initAnimated(v, kTileSize, c, r, 32, 32, layer::kPowerups, &grid, Animation());
        return p;
    }
    std::unique_ptr<plat::Surface> screen = plat::Surface::create(64, 64);
};

TEST_F(PowerupTest, VanishesUnderFireOrUnderAPlayerOrEnemy) {
    struct Case {
        int layerIndex;
        int value;
    };
    for (Case c : {Case{layer::kExplosions, cell::kExplosion}, Case{layer::kObjects, cell::kPlayer},
                   Case{layer::kObjects, cell::kEnemy}}) {
        grid.create(4, 4);
        Powerup p = makePowerup(1, 2, cell::kKickPowerup);
        ASSERT_EQ(at(1, 2, layer::kPowerups), cell::kKickPowerup);
        put(1, 2, c.value, c.layerIndex);
        p.draw(*screen);
        EXPECT_FALSE(p.active) << "value " << c.value;
        EXPECT_EQ(at(1, 2, layer::kPowerups), cell::kEmpty);
    }
}

TEST_F(PowerupTest, StaysAndRestoresItsValueAfterDust) {
    Powerup p = makePowerup(3, 3, cell::kHealthPowerup);
    // A bomb or a breakable block on layer 3 does not touch it.
    put(3, 3, cell::kBomb);
    put(3, 3, cell::kEmpty, layer::kPowerups);  // a dust puff wrote 0
    p.draw(*screen);
    EXPECT_TRUE(p.active);
    EXPECT_EQ(at(3, 3, layer::kPowerups), cell::kHealthPowerup);
}

}  // namespace
