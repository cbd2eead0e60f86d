// The enemy's decisions frame by frame: wandering, hunting along searched
// routes, aiming and attacking, and standing still while held.
#include "actors/EnemyFixture.h"

#include <iterator>
#include <map>
#include <set>
#include <utility>
#include <vector>

namespace enemytest {
namespace {

TEST_F(EnemyTest, AWandererAlternatesWalkingAndStoppingOnItsTimer) {
    Enemy& e = addEnemy(4, 4);
    e.directionTick = plat::tickCount();
    e.currentInterval = 300;

    advance(300);
    draw(e);  // exactly the interval: nothing yet
    EXPECT_FALSE(e.isMoving());
    advance(1);
    draw(e);  // standing: a new direction and a walking period
    EXPECT_TRUE(e.isMoving());
    EXPECT_LE(e.currentInterval, e.directionChangeInterval);
    const uint32_t walk = e.currentInterval;

    advance(walk + 1);
    draw(e);  // walking: it stops for a while
    EXPECT_FALSE(e.isMoving());
    EXPECT_LE(e.currentInterval, e.stopWaitTime);
}

TEST_F(EnemyTest, ANonstopWandererTurnsAtEveryIntervalAndABlockedOneAtOnce) {
    Enemy& e = addEnemy(4, 4);
    e.wanderNonstop = true;
    e.directionTick = plat::tickCount();
    e.currentInterval = 2000;
    e.setDirection(dir::kLeft);

    seedSoThat([](int r) { return r <= 8191; });  // up
    advance(2001);
    draw(e);
    EXPECT_EQ(flagSet(e), dir::kUp);
    EXPECT_EQ(e.currentInterval, 2000u);  // the nonstop period never changes

    e.blocked = true;
    seedSoThat([](int r) { return r > 8191 && r <= 16382; });  // down
    advance(10);
    draw(e);
    EXPECT_EQ(flagSet(e), dir::kDown);

    // The last three random values choose nothing: the walk goes on.
    e.blocked = true;
    seedSoThat([](int r) { return r > 32764; });
    advance(10);
    draw(e);
    EXPECT_EQ(flagSet(e), dir::kDown);
}

TEST_F(EnemyTest, RandomDirectionsTakeAQuarterOfTheRangeEachAndTheLastThreeValuesNone) {
    // The random value at each edge of the four quarters, and the values
    // past the last quarter, which leave the enemy as it was.
    const std::vector<std::pair<int, int>> cases = {
        {0, dir::kUp},        {8191, dir::kUp},      {8192, dir::kDown}, {16382, dir::kDown},
        {16383, dir::kRight}, {24573, dir::kRight},  {24574, dir::kLeft}, {32764, dir::kLeft},
        {32765, -1},          {32767, -1}};
    // Where each value first comes up in one sequence of the generator.
    std::map<long, int> firstAt;  // position -> value
    std::set<int> pending;
    for (const auto& c : cases) pending.insert(c.first);
    std::srand(1);
    for (long i = 0; !pending.empty() && i < 20000000; ++i) {
        const int r = rand15();
        if (pending.erase(r)) firstAt[i] = r;
    }
    ASSERT_TRUE(pending.empty());

    Enemy& e = addEnemy(4, 4);
    std::map<int, int> chosen;
    std::srand(1);
    long drawn = 0;
    for (const auto& [at, value] : firstAt) {
        for (; drawn < at; ++drawn) rand15();
        e.clearDirections();
        e.chooseRandomDirection();  // draws the value
        ++drawn;
        chosen[value] = flagSet(e);
    }
    for (const auto& c : cases) EXPECT_EQ(chosen[c.first], c.second) << "value " << c.first;
}

TEST_F(EnemyTest, TheTargetIsTheNearestLivePlayerAndHuntingNeedsItWithinRange) {
    addPlayer(3, 1, true);  // dead, next to the enemy
    addPlayer(6, 4);        // alive, (4, 3) away: 25
    addPlayer(5, 4);        // alive, (3, 3) away: 18
    Enemy& e = addEnemy(2, 1);
    Player* t = e.chooseTarget();
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->col, 5);

    e.attackDistance = 18;  // exactly the distance: not hunted
    e.pathFound = true;
    e.decide(t);
    EXPECT_TRUE(e.wandering);
    e.attackDistance = 19;
    e.decide(t);
    EXPECT_FALSE(e.wandering);

    for (Player& p : players) p.dead = true;
    t = e.chooseTarget();
    EXPECT_EQ(t, &players.front());
    e.decide(t);
    EXPECT_TRUE(e.wandering);

    // A tie keeps the earlier of the two live players.
    Player& second = *std::next(players.begin());
    second.dead = players.back().dead = false;
    players.back().col = 7;  // (5, 0) away: 25, as far as the second
    players.back().row = 1;
    EXPECT_EQ(e.chooseTarget(), &second);
}

TEST_F(EnemyTest, WithoutARouteAWalkerHuntsOneFramePerSearchIntervalAndAMechWanders) {
    ::searchIntervalTime = 1000;
    addPlayer(5, 1);
    Enemy& walker = addEnemy(3, 1);
    Player* t = walker.chooseTarget();
    walker.pathFound = false;

    walker.decide(t);
    EXPECT_TRUE(walker.wandering);  // within the interval
    advance(1001);
    walker.decide(t);
    EXPECT_FALSE(walker.wandering);  // one hunting frame
    EXPECT_EQ(walker.searchTick, plat::tickCount());
    walker.decide(t);
    EXPECT_TRUE(walker.wandering);

    Enemy& mech = addEnemy(3, 2);
    mech.searchesPath = true;
    mech.setDirection(dir::kLeft);
    seedSoThat([](int r) { return r <= 8191; });
    advance(1001);
    mech.decide(t);
    EXPECT_TRUE(mech.wandering);
    EXPECT_EQ(flagSet(mech), dir::kUp);  // a fresh random direction
}

TEST_F(EnemyTest, AHunterFollowsTheSearchedRouteAroundAWall) {
    ::missileStopWaitTime = 1000;
    // A wall between the enemy (2, 2) and the player (4, 2), open below.
    put(3, 1, cell::kSolid);
    put(3, 2, cell::kSolid);
    addPlayer(4, 2);
    Enemy& e = addEnemy(2, 2);
    e.chaseNonstop = true;
    e.searchesPath = true;
    e.stopTick = plat::tickCount();

    advance(500);
    draw(e);  // hunting, but the steering waits after set-up
    EXPECT_FALSE(e.wandering);
    EXPECT_TRUE(e.pathFound);
    EXPECT_EQ(e.nextStep.x, 2);
    EXPECT_EQ(e.nextStep.y, 3);
    EXPECT_FALSE(e.isMoving());

    advance(501);
    draw(e);
    EXPECT_EQ(flagSet(e), dir::kDown);
    ASSERT_FALSE(e.path.empty());
    EXPECT_EQ(e.path.back().x, 4);
    EXPECT_EQ(e.path.back().y, 2);
}

TEST_F(EnemyTest, AHunterSteersAlongItsRouteAndPausesOnItsTimer) {
    addPlayer(3, 2);
    Enemy& e = addEnemy(2, 2);
    e.stopTick = 0;
    e.directionTick = plat::tickCount();
    e.currentInterval = 200;
    e.setDirection(dir::kUp);

    advance(10);
    e.hunt(e.chooseTarget());
    EXPECT_EQ(flagSet(e), dir::kRight);  // moving: steered at once

    advance(200);
    e.hunt(e.chooseTarget());
    EXPECT_FALSE(e.isMoving());  // the walking period is over
    EXPECT_LE(e.currentInterval, e.stopWaitTime);

    // An empty route leaves the enemy on its own cell: it stands.
    e.nextStep.x = e.col;
    e.nextStep.y = e.row;
    e.setDirection(dir::kLeft);
    e.steer();
    EXPECT_FALSE(e.isMoving());

    // A diagonal step keeps only the vertical flag.
    e.nextStep.x = e.col + 1;
    e.nextStep.y = e.row + 1;
    e.steer();
    EXPECT_EQ(flagSet(e), dir::kDown);
}

// A mech two cells left of a player in row 2, facing right.
class EnemyAimTest : public EnemyTest {
protected:
    void SetUp() override {
        EnemyTest::SetUp();
        ::enemyMissileIntervalTime = 1000;
        ::missileFireWaitTime = 500;
        ::enemyMissileSpeed = 2.5f;
        prey = &addPlayer(6, 2);
        mech = &addEnemy(3, 2);
        mech->firesMissiles = true;
        mech->fireWaitTime = 500;
        mech->direction = dir::kRight;
        advance(1001);
    }
    Player* prey = nullptr;
    Enemy* mech = nullptr;
};

TEST_F(EnemyAimTest, AimsWhenFacingTheTargetThenFiresAMissileAfterTheWait) {
    mech->aimAndAttack(prey);
    EXPECT_TRUE(mech->aiming);
    EXPECT_EQ(plays("robot1"), 1);

    mech->setDirection(dir::kRight);
    advance(499);
    mech->aimAndAttack(prey);
    EXPECT_FALSE(mech->isMoving());  // stands while aiming

    advance(1);  // exactly the wait: neither standing nor firing
    mech->setDirection(dir::kRight);
    mech->aimAndAttack(prey);
    EXPECT_TRUE(mech->isMoving());
    EXPECT_TRUE(missiles.empty());

    advance(1);
    mech->aimAndAttack(prey);
    EXPECT_FALSE(mech->aiming);
    EXPECT_FALSE(mech->isMoving());
    EXPECT_EQ(mech->shotTick, plat::tickCount());
    EXPECT_EQ(mech->stopTick, plat::tickCount());
    ASSERT_EQ(missiles.size(), 1u);
    const Missile& m = missiles.front();
    EXPECT_EQ(m.col, 4);
    EXPECT_EQ(m.row, 2);
    EXPECT_EQ(m.value, cell::kMissile);
    EXPECT_FLOAT_EQ(m.speed, 2.5f);
    EXPECT_TRUE(m.directionFlags[dir::kRight]);
    EXPECT_EQ(m.explosions, &explosions);
    ASSERT_EQ(mech->dustEffects.size(), 1u);
    EXPECT_EQ(mech->dustEffects.front().x, mech->x + 32 - 5);
    EXPECT_EQ(plays("missile"), 1);

    // No new aim until the shot interval is over.
    advance(1000);
    mech->aimAndAttack(prey);
    EXPECT_FALSE(mech->aiming);
    advance(1);
    mech->aimAndAttack(prey);
    EXPECT_TRUE(mech->aiming);
}

TEST_F(EnemyAimTest, EachShotRaisesTheDustOfItsDirectionAtTheMuzzle) {
    // The four puffs told apart by their frame times.
    for (int d = 0; d < dir::kCount; ++d) {
        library.enemyMissileDust[d] = new Animation();
        library.enemyMissileDust[d]->frameTime = uint32_t(11 + d);
    }
    mech->col = 4;
    mech->row = 3;
    mech->x = 128;
    mech->y = 96;
    struct Shot {
        int direction, dustX, dustY;
    };
    for (const Shot& s : {Shot{dir::kRight, 128 + 27, 96}, Shot{dir::kLeft, 128 - 27, 96},
                          Shot{dir::kUp, 128, 96 - 32}, Shot{dir::kDown, 128, 96 + 22}}) {
        SCOPED_TRACE(s.direction);
        mech->direction = s.direction;
        mech->attack();
        ASSERT_EQ(mech->dustEffects.size(), size_t(s.direction + 1));
        const DustEffect& puff = mech->dustEffects.front();
        EXPECT_EQ(puff.x, s.dustX);
        EXPECT_EQ(puff.y, s.dustY);
        EXPECT_EQ(puff.animation.frameTime, uint32_t(11 + s.direction));
        EXPECT_TRUE(missiles.front().directionFlags[s.direction]);
    }
    EXPECT_EQ(missiles.size(), 4u);
}

TEST_F(EnemyAimTest, NoAimFacingAwayWithAnAllyInTheLineOrAtADeadOrTooCloseTarget) {
    mech->direction = dir::kLeft;
    mech->aimAndAttack(prey);
    EXPECT_FALSE(mech->aiming);

    mech->direction = dir::kRight;
    Enemy& ally = addEnemy(8, 2);  // behind the player, and behind a wall
    put(7, 2, cell::kSolid);
    mech->aimAndAttack(prey);
    EXPECT_FALSE(mech->aiming);

    ally.remove();
    prey->dead = true;
    mech->aimAndAttack(prey);
    EXPECT_FALSE(mech->aiming);
    prey->dead = false;
    prey->col = mech->col;  // on the enemy's own cell
    mech->aimAndAttack(prey);
    EXPECT_FALSE(mech->aiming);
    prey->col = 6;
    mech->aimAndAttack(prey);
    EXPECT_TRUE(mech->aiming);
}

// Facing each way with the target two cells ahead: an ally further ahead
// holds its fire, one behind it does not.
TEST_F(EnemyAimTest, OnlyAnAllyAheadHoldsTheFireInEveryFacing) {
    mech->col = 4;
    mech->row = 4;
    struct Facing {
        int direction, dc, dr;
    };
    for (const Facing& f : {Facing{dir::kRight, 1, 0}, Facing{dir::kLeft, -1, 0},
                            Facing{dir::kUp, 0, -1}, Facing{dir::kDown, 0, 1}}) {
        for (int allyAt : {3, -2}) {
            SCOPED_TRACE(testing::Message() << "facing " << f.direction << ", ally at " << allyAt);
            mech->direction = f.direction;
            mech->aiming = false;
            prey->col = 4 + 2 * f.dc;
            prey->row = 4 + 2 * f.dr;
            Enemy& ally = addEnemy(4 + allyAt * f.dc, 4 + allyAt * f.dr);
            mech->aimAndAttack(prey);
            EXPECT_EQ(mech->aiming, allyAt < 0);
            ally.remove();
        }
    }
}

TEST_F(EnemyAimTest, AHeldMechStandsStillButAimsAndFires) {
    mech->held = true;
    mech->speed = 3.0f;
    mech->setDirection(dir::kRight);
    draw(*mech);
    EXPECT_FALSE(mech->isMoving());
    EXPECT_TRUE(mech->aiming);
    advance(501);
    draw(*mech);
    EXPECT_EQ(missiles.size(), 1u);
    EXPECT_EQ(mech->x, 96);
}

TEST_F(EnemyAimTest, CloseRangeBlastOnOccupiedNeighboursAndNothingIntoSolidBlocks) {
    // A player next to it: an explosion there instead of a missile.
    put(4, 2, cell::kBreakable);
    mech->attack();
    EXPECT_TRUE(missiles.empty());
    ASSERT_EQ(explosions.size(), 1u);
    EXPECT_EQ(explosions.front().col, 4);
    EXPECT_EQ(at(4, 2, layer::kExplosions), cell::kExplosion);
    EXPECT_TRUE(mech->dustEffects.empty());
    EXPECT_EQ(plays("missile"), 1);

    // Another enemy ahead: a missile all the same.
    put(4, 2, cell::kEnemy);
    mech->attack();
    EXPECT_EQ(missiles.size(), 1u);

    // A solid block: nothing, though the aim, shout and ticks happen.
    put(4, 2, cell::kSolid);
    mech->aimAndAttack(prey);
    advance(501);
    mech->aimAndAttack(prey);
    EXPECT_FALSE(mech->aiming);
    EXPECT_EQ(mech->shotTick, plat::tickCount());
    EXPECT_EQ(missiles.size(), 1u);
    EXPECT_EQ(explosions.size(), 1u);
}

TEST_F(EnemyAimTest, AttacksNeverReachPastTheFieldsRim) {
    mech->col = 0;
    mech->direction = dir::kLeft;
    mech->attack();
    mech->col = 9;
    mech->direction = dir::kRight;
    mech->attack();
    EXPECT_TRUE(missiles.empty());
    EXPECT_TRUE(explosions.empty());
}

TEST_F(EnemyTest, ANinjaRaisesDustWhenItStartsAndWhenItStops) {
    library.ninjaDust = new Animation();
    library.ninjaDust2 = new Animation();
    Enemy& e = addEnemy(4, 4);
    e.startStopDust = true;

    e.setDirection(dir::kUp);
    EXPECT_EQ(e.dustEffects.size(), 1u);
    e.setDirection(dir::kLeft);  // a turn while walking: no puff
    EXPECT_EQ(e.dustEffects.size(), 1u);
    e.clearDirections();
    EXPECT_EQ(e.dustEffects.size(), 2u);
    e.clearDirections();  // already standing
    EXPECT_EQ(e.dustEffects.size(), 2u);
    EXPECT_EQ(e.dustEffects.front().x, e.x);
    EXPECT_EQ(e.dustEffects.front().layer, layer::kPowerups);
}

}  // namespace
}  // namespace enemytest
