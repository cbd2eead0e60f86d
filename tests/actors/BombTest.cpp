#include "BombFixture.h"

#include "actors/Player.h"

using bombtest::BombTest;

namespace {

// The pieces in the order they were laid, e.g. "centre 4,3 | tipright 5,3".
std::string laid(const std::list<Explosion>& pieces, const AnimationLibrary& lib) {
    const std::pair<const Animation*, const char*> names[] = {
        {lib.explosioncentre, "centre"},       {lib.explosionhorizontal, "h"},
        {lib.explosionvertical, "v"},          {lib.explosiontipright, "tipright"},
        {lib.explosiontipleft, "tipleft"},     {lib.explosiontipup, "tipup"},
        {lib.explosiontipdown, "tipdown"}};
    std::string text;
    for (auto it = pieces.rbegin(); it != pieces.rend(); ++it) {
        const char* name = "?";
        for (const auto& [anim, n] : names)
            if (anim->getFrames() == it->animation.getFrames()) name = n;
        text += std::string(text.empty() ? "" : " | ") + name + " " + std::to_string(it->col) +
                "," + std::to_string(it->row);
    }
    return text;
}

}  // namespace

TEST_F(BombTest, FuseBlinksFasterAfter1400MsAndEndsStrictlyAfterBombTime) {
    Bomb& bomb = drop(4, 3);
    EXPECT_EQ(cell::kBomb, at(4, 3));
    frame(1400);
    EXPECT_EQ(200u, bomb.directionAnimations[dir::kDown].frameTime);
    frame(1);
    EXPECT_EQ(80u, bomb.directionAnimations[dir::kDown].frameTime);
    frame(799);  // 2200 ms
    EXPECT_FALSE(bomb.exploded);
    frame(1);
    EXPECT_TRUE(bomb.exploded);
    EXPECT_EQ(cell::kEmpty, at(4, 3));

    // A fuse shorter than the slow blink is only tested from 1400 ms on.
    bombTime = 500;
    Bomb& quick = drop(2, 2);
    frame(1400);
    EXPECT_FALSE(quick.exploded);
    frame(1);
    EXPECT_TRUE(quick.exploded);

    // Dynamite has no fuse at all.
    Bomb& stick = drop(6, 5, 2, nullptr, true);
    frame(60000);
    EXPECT_FALSE(stick.exploded);
    EXPECT_TRUE(stick.ownerless);
}

TEST_F(BombTest, CrossReachesPowerAndStopsAtBlocks) {
    drop(4, 3, 2).explode();
    EXPECT_EQ("centre 4,3 | h 5,3 | tipright 6,3 | h 3,3 | tipleft 2,3 | v 4,2 | tipup 4,1 | "
              "v 4,4 | tipdown 4,5",
              laid(explosions, lib));
    // Burning before any piece has been drawn.
    EXPECT_EQ(cell::kExplosion, fire(6, 3));
    EXPECT_EQ(cell::kExplosion, fire(4, 1));

    // Power 1: one tip per arm. Actors in the way do not stop an arm.
    explosions.clear();
    put(5, 3, cell::kPlayer);
    put(3, 3, cell::kEnemy);
    drop(4, 3, 1).explode();
    EXPECT_EQ("centre 4,3 | tipright 5,3 | tipleft 3,3 | tipup 4,2 | tipdown 4,4",
              laid(explosions, lib));

    // Power 0 reaches no cell beyond the centre; a negative power (a bad
    // config) still burns the first cell of each arm.
    explosions.clear();
    drop(4, 3, 0).explode();
    EXPECT_EQ("centre 4,3", laid(explosions, lib));
    explosions.clear();
    drop(4, 3, -2).explode();
    EXPECT_EQ("centre 4,3 | tipright 5,3 | tipleft 3,3 | tipup 4,2 | tipdown 4,4",
              laid(explosions, lib));

    // A solid next to the bomb: no arm; one beyond: a tip before it; a
    // breakable block: a tip on it, the block's mark kept.
    explosions.clear();
    put(5, 3, cell::kSolid);
    put(2, 3, cell::kSolid);
    put(4, 5, cell::kBreakable);
    put(3, 3, 0);
    drop(4, 3, 5).explode();
    EXPECT_EQ("centre 4,3 | tipleft 3,3 | v 4,2 | tipup 4,1 | v 4,4 | tipdown 4,5",
              laid(explosions, lib));
    EXPECT_EQ(cell::kBreakable, at(4, 5));
    EXPECT_EQ(cell::kSolid, at(5, 3));
}

TEST_F(BombTest, ArmsNeverReachTheOutermostRingEvenWithoutWalls) {
    grid.create(10, 8);
    drop(1, 1, 9).explode();
    EXPECT_EQ("centre 1,1 | h 2,1 | h 3,1 | h 4,1 | h 5,1 | h 6,1 | h 7,1 | h 8,1 | v 1,2 | "
              "v 1,3 | v 1,4 | v 1,5 | v 1,6",
              laid(explosions, lib));
}

TEST_F(BombTest, ExplosionsChainThroughOtherBombsAndDynamite) {
    Player owner;
    owner.bombsPlaced = 2;
    // The later bomb in the list goes off in the same frame, the earlier
    // one in the next.
    Bomb& second = drop(2, 3, 2, &owner);
    Bomb& source = drop(4, 3, 2, &owner);
    Bomb& first = drop(6, 3, 2, nullptr, true);
    source.placedAt -= 3000;
    frame(15);
    EXPECT_TRUE(source.exploded);
    EXPECT_TRUE(second.exploded);
    EXPECT_FALSE(first.exploded);
    EXPECT_EQ(0, owner.bombsPlaced);
    frame(15);
    EXPECT_TRUE(first.exploded);

    // Exploding again does nothing, not even to the owner's count.
    owner.bombsPlaced = 1;
    const size_t pieces = explosions.size();
    source.explode();
    EXPECT_EQ(pieces, explosions.size());
    EXPECT_EQ(1, owner.bombsPlaced);
}

TEST_F(BombTest, ExplodedBombLingers700MsThenFreesItsSoundOnce) {
    Bomb& bomb = drop(4, 3);
    EXPECT_EQ(1, loads("load"));
    bomb.explode();
    EXPECT_EQ(1, loads("play"));
    frame(700);
    EXPECT_TRUE(bomb.active);
    EXPECT_EQ(0, loads("free"));
    frame(1);
    EXPECT_FALSE(bomb.active);
    EXPECT_EQ(1, loads("free"));

    // A bomb cleared with the stage before it went off frees its sound too.
    drop(2, 2);
    bombs.clear();
    EXPECT_EQ(2, loads("free"));
    for (const std::string& line : plat::headless::audioLog())
        EXPECT_EQ(std::string::npos, line.find("stale")) << line;
}

TEST_F(BombTest, KickedBombSlidesUntilSomethingStopsIt) {
    // Explosions and powerups do not stop it; another bomb does.
    put(5, 3, cell::kExplosion, layer::kExplosions);
    put(5, 3, cell::kKickPowerup, layer::kPowerups);
    drop(7, 3, 2, nullptr, true);
    Bomb& bomb = drop(2, 3, 1);
    bomb.setDirection(dir::kRight);
    for (int i = 0; i < 60 && bomb.isMoving() && !bomb.exploded; ++i) frame(15);
    EXPECT_TRUE(bomb.exploded);  // the burning cell set it off on its way

    frame(1000);  // its explosion burns out
    put(5, 3, 0, layer::kExplosions);
    Bomb& kicked = drop(2, 3);
    kicked.setDirection(dir::kRight);
    for (int i = 0; i < 60 && kicked.isMoving(); ++i) frame(15);
    EXPECT_FALSE(kicked.isMoving());
    EXPECT_EQ(6, kicked.col);
    EXPECT_LE(kicked.x + 31, 7 * 32 - 1);
    EXPECT_EQ(cell::kBomb, at(6, 3));
    EXPECT_EQ(cell::kEmpty, at(2, 3));
    kicked.explode();
    EXPECT_EQ(cell::kExplosion, fire(6, 3));
}

TEST_F(BombTest, KickedBombCrossesItsOwnMarkInEveryDirection) {
    // Half-way between two cells its hitbox has marked the cell ahead; that
    // 6 is its own and must not stop it. It slides on to the wall.
    const struct {
        const char* name;
        int direction, c, r, endC, endR;
    } kicks[] = {{"right", dir::kRight, 2, 3, 8, 3},
                 {"left", dir::kLeft, 7, 3, 1, 3},
                 {"up", dir::kUp, 4, 5, 4, 1},
                 {"down", dir::kDown, 4, 2, 4, 6}};
    for (const auto& k : kicks) {
        SCOPED_TRACE(k.name);
        bombs.clear();
        Bomb& stick = drop(k.c, k.r, 2, nullptr, true);
        stick.setDirection(k.direction);
        for (int i = 0; i < 100 && stick.isMoving(); ++i) frame(15);
        EXPECT_FALSE(stick.isMoving());
        EXPECT_EQ(k.endC, stick.col);
        EXPECT_EQ(k.endR, stick.row);
        EXPECT_EQ(cell::kBomb, at(k.endC, k.endR));
        EXPECT_EQ(cell::kEmpty, at(k.c, k.r));
        stick.remove();
    }
}

TEST_F(BombTest, BombUnderAPlayerOrAnEnemyLeavesItsMarkUntilItHasGone) {
    // Cells apart, so that the first bomb's blast does not reach the second.
    const struct {
        int walker, c, r;
    } cases[] = {{cell::kPlayer, 2, 2}, {cell::kEnemy, 6, 5}};
    for (const auto& w : cases) {
        SCOPED_TRACE(w.walker);
        Bomb& bomb = drop(w.c, w.r);
        put(w.c, w.r, w.walker);  // the walker on it marks itself again
        frame(15);
        EXPECT_EQ(w.walker, at(w.c, w.r));
        frame(15);
        EXPECT_EQ(w.walker, at(w.c, w.r));
        put(w.c, w.r, cell::kEmpty);  // and walks off
        frame(15);
        EXPECT_EQ(cell::kBomb, at(w.c, w.r));
        put(w.c, w.r, w.walker);
        bomb.explode();  // still clears the cell it lies on
        EXPECT_EQ(cell::kEmpty, at(w.c, w.r));
    }
}

TEST_F(BombTest, PauseKeepsTheFuseAndTheLingerTime) {
    Bomb& bomb = drop(4, 3);
    frame(2000);
    bomb.pause();
    plat::headless::advance(10000);
    bomb.resume();
    frame(200);
    EXPECT_FALSE(bomb.exploded);
    frame(1);
    EXPECT_TRUE(bomb.exploded);

    frame(500);
    bomb.pause();
    plat::headless::advance(10000);
    bomb.resume();
    frame(200);
    EXPECT_TRUE(bomb.active);
    frame(1);
    EXPECT_FALSE(bomb.active);
}
