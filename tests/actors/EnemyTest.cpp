// The enemy as an object: set-up, copies, sounds, damage and death,
// replication, the dragon chain and the collision rules.
#include "actors/EnemyFixture.h"

#include <set>
#include <utility>

#include "actors/BreakableBlock.h"
#include "actors/Powerup.h"

namespace enemytest {
namespace {

TEST_F(EnemyTest, IdsCountAcrossEnemiesAndACopyKeepsEverythingButTheDust) {
    EXPECT_EQ(addEnemy(1, 1).id, 1);
    Enemy& e = addEnemy(2, 2);
    EXPECT_EQ(e.id, 2);
    library.ninjaDust2 = new Animation();
    e.startStopDust = true;
    e.setDirection(dir::kLeft);  // from a standstill: a puff
    ASSERT_EQ(e.dustEffects.size(), 1u);
    e.leader = &enemies.front();
    PathNode point;
    point.x = 40;
    e.trail.push_back(point);

    Enemy copy(e);
    EXPECT_TRUE(copy.dustEffects.empty());
    EXPECT_EQ(copy.id, e.id);
    EXPECT_EQ(copy.leader, e.leader);
    EXPECT_EQ(copy.trail.size(), 1u);
    EXPECT_EQ(copy.hitSample, e.hitSample);
    EXPECT_TRUE(copy.directionFlags[dir::kLeft]);

    Enemy assigned;
    assigned = e;
    EXPECT_TRUE(assigned.dustEffects.empty());
    EXPECT_EQ(assigned.id, e.id);
}

TEST_F(EnemyTest, EnemiesSetUpWithinOneSecondAllStartWalkingTheSameWay) {
    std::srand(7);  // a known state, whatever the tests before left
    plat::headless::setCalendarSeconds(1700000000);
    std::vector<int> first;
    for (int i = 0; i < 6; ++i) {
        enemies.push_front(makeEnemy(1 + i, 1));
        first.push_back(flagSet(enemies.front()));
        rand15();  // the game draws in between (other enemies' walks)
        rand15();
    }
    EXPECT_NE(first[0], -1);
    EXPECT_EQ(first, std::vector<int>(6, first[0]));

    // A second later the walks replay a sequence of their own.
    std::vector<int> later;
    for (int64_t second = 1700000001; second < 1700000007; ++second) {
        plat::headless::setCalendarSeconds(second);
        enemies.push_front(makeEnemy(1, 2));
        later.push_back(flagSet(enemies.front()));
        enemies.push_front(makeEnemy(2, 2));
        EXPECT_EQ(flagSet(enemies.front()), later.back());
    }
    EXPECT_NE(later, std::vector<int>(6, later[0]));
}

TEST_F(EnemyTest, SoundSettersReplaceAndReleaseFreesEachSampleOnce) {
    Enemy& e = addEnemy(2, 2);
    e.setNinjaSounds();
    e.setRobotHitSound();
    EXPECT_EQ(frees("robot1"), 1);
    EXPECT_EQ(frees("missile"), 1);
    EXPECT_EQ(frees("hit"), 1);
    e.setDragonHitSound();
    EXPECT_EQ(frees("robotHit"), 1);

    e.releaseSounds();
    e.releaseSounds();
    EXPECT_EQ(frees("ninjaShout"), 1);
    EXPECT_EQ(frees("ninjaThrow"), 1);
    EXPECT_EQ(frees("dragonHit"), 1);
    EXPECT_EQ(frees("enemyDeath"), 1);
    EXPECT_EQ(e.shoutSample, nullptr);
}

TEST_F(EnemyTest, AnExplosionTakesDamageInStepsOfJustOver100Ms) {
    Enemy& e = addEnemy(2, 2, 100);
    burn(2, 2);

    draw(e);  // contact at once, but the damage clock started at set-up
    EXPECT_EQ(e.health, 100);
    EXPECT_EQ(e.lastHitTick, kStart);
    advance(100);
    draw(e);
    EXPECT_EQ(e.health, 100);
    advance(1);
    draw(e);
    EXPECT_EQ(e.health, 93);
    EXPECT_EQ(plays("hit"), 0);  // the hit sound waits 400 ms from set-up too

    for (int i = 0; i < 3; ++i) {
        advance(101);
        draw(e);
    }
    EXPECT_EQ(e.health, 72);
    EXPECT_EQ(plays("hit"), 1);  // at 404 ms, then not again within 400 ms

    // Off the fire: no damage, and the bar stays for 2500 ms after the
    // last contact.
    grid.setTile(layer::kExplosions, 2, 2, 0);
    const uint32_t lastContact = e.lastHitTick;
    advance(500);
    draw(e);
    EXPECT_EQ(e.health, 72);
    EXPECT_EQ(e.lastHitTick, lastContact);

    // The dragon's head and body are not hurt at all.
    burn(2, 2);
    e.invulnerable = true;
    advance(500);
    draw(e);
    EXPECT_EQ(e.health, 72);
    EXPECT_EQ(e.lastHitTick, lastContact);
}

// The overlay keeps in step with the walk, whatever its own pace.
TEST_F(EnemyTest, TheHitOverlayShowsTheWalksCurrentFrame) {
    Bitmap frames[8];
    for (int i = 0; i < 8; ++i) {
        const std::string path = dir.file("frame" + std::to_string(i) + ".bmp");
        gfxtest::writeBmp(path, 32, 32, gfxtest::frameColour(i));
        frames[i].load(path, 32, 32);
    }
    Enemy& e = addEnemy(2, 2);
    for (int d = 0; d < dir::kCount; ++d) {
        e.directionAnimations[d].setup(0, 0, frames, 4, 0, 100);
        e.hitAnimations[d].setup(0, 0, frames + 4, 4, 0, 40);
    }
    e.animateWhenIdle = true;
    burn(2, 2);
    // Below the health bar at the enemy's top edge.
    const auto shown = [&] { return gfxtest::frameOf(target->pixel(80, 80)); };

    advance(250);
    draw(e);  // the walk shows frame 0 and moves on to frame 2
    EXPECT_EQ(shown(), 4 + 2);
    advance(100);
    draw(e);
    EXPECT_EQ(shown(), 4 + 3);
}

TEST_F(EnemyTest, HealthBarShowsOnlyAfterAHitAndFor2500Ms) {
    Enemy& e = addEnemy(1, 1, 100);
    const auto barPixel = [&] { return target->pixel(40, 33); };
    target->fill(0, 0, 320, 256, gfxtest::kGrey);
    draw(e);
    EXPECT_EQ(barPixel(), gfxtest::kGrey);  // never hit: no bar

    burn(1, 1);
    draw(e);
    grid.setTile(layer::kExplosions, 1, 1, 0);
    advance(2499);
    target->fill(0, 0, 320, 256, gfxtest::kGrey);
    draw(e);
    EXPECT_NE(barPixel(), gfxtest::kGrey);
    advance(1);
    target->fill(0, 0, 320, 256, gfxtest::kGrey);
    draw(e);
    EXPECT_EQ(barPixel(), gfxtest::kGrey);
}

TEST_F(EnemyTest, DeathPlaysItsAnimationKeepsTheCellThenRemovesTheEnemy) {
    Enemy& e = addEnemy(3, 2, 0);  // no health: dies at the first contact
    burn(3, 2);
    draw(e);
    EXPECT_TRUE(e.isDead());
    EXPECT_TRUE(e.active);
    EXPECT_EQ(plays("enemyDeath"), 1);
    EXPECT_EQ(e.health, 0);  // the damage step had not come yet

    // Dying: only the animation runs; the cell still holds the enemy.
    grid.setTile(layer::kExplosions, 3, 2, 0);
    e.setDirection(dir::kRight);
    e.speed = 3.0f;
    advance(150);
    draw(e);
    EXPECT_EQ(e.x, 96);
    EXPECT_EQ(at(3, 2), cell::kEnemy);
    EXPECT_TRUE(e.dustEffects.empty());

    advance(200);  // 350 ms: the 300 ms run is over at this draw
    draw(e);
    EXPECT_TRUE(e.active);
    draw(e);
    EXPECT_FALSE(e.active);
    EXPECT_EQ(at(3, 2), cell::kEmpty);

    const int before = e.x;
    advance(100);
    draw(e);  // removed: nothing happens any more
    EXPECT_EQ(e.x, before);
    EXPECT_EQ(at(3, 2), cell::kEmpty);
}

TEST_F(EnemyTest, ReplicationWaitsRollsAndRespectsTheEnemyLimit) {
    ::replicateWaitTime = 5000;
    ::replicateChance = 5;
    ::maxEnemies = 3;
    Enemy& parent = addEnemy(4, 4);
    parent.replicates = true;

    advance(5000);
    seedRoll(true);
    EXPECT_FALSE(parent.tryReplicate());  // exactly the wait: too early
    advance(1);
    seedRoll(false);
    EXPECT_FALSE(parent.tryReplicate());  // the roll fails
    EXPECT_EQ(enemies.size(), 1u);
    seedRoll(true);
    EXPECT_TRUE(parent.tryReplicate());
    ASSERT_EQ(enemies.size(), 2u);
    EXPECT_TRUE(parent.hasReplicated);
    EXPECT_EQ(parent.replicateTick, plat::tickCount());

    Enemy& child = enemies.front();
    EXPECT_EQ(child.col, 4);
    EXPECT_EQ(child.row, 4);
    EXPECT_EQ(child.id, 2);
    EXPECT_EQ(child.health, ::enemyHealth);
    EXPECT_FLOAT_EQ(child.speed, ::enemySpeed);
    EXPECT_TRUE(child.replicates);

    // Once per life.
    advance(6000);
    seedRoll(true);
    EXPECT_FALSE(parent.tryReplicate());

    // The limit counts every active enemy.
    addEnemy(1, 1);
    advance(6000);
    seedRoll(true);
    EXPECT_FALSE(child.tryReplicate());
    EXPECT_EQ(enemies.size(), 3u);
}

TEST_F(EnemyTest, ReplicationRevivesARemovedEnemyInsteadOfAddingOne) {
    ::replicateChance = 100;  // rolls 0..200 succeed on 50..150
    Enemy& fallen = addEnemy(1, 1, 0);
    fallen.dead = true;
    fallen.deathAnimation.play();
    advance(400);
    draw(fallen);  // the death run ends
    draw(fallen);  // and the enemy is removed
    ASSERT_FALSE(fallen.active);
    ASSERT_TRUE(fallen.deathAnimation.isFinished());
    Enemy& parent = addEnemy(5, 3);
    const uint32_t parentStart = parent.replicateTick;
    parent.x += 7;  // between cells: the revived one starts at its exact spot
    parent.posX += 7.0f;

    advance(5001);
    seedRoll(true);
    ASSERT_TRUE(parent.tryReplicate());
    EXPECT_EQ(enemies.size(), 2u);
    EXPECT_TRUE(fallen.active);
    EXPECT_FALSE(fallen.dead);
    EXPECT_FALSE(fallen.deathAnimation.isFinished());
    EXPECT_EQ(fallen.health, ::enemyHealth);
    EXPECT_EQ(fallen.col, 5);
    EXPECT_EQ(fallen.x, 160);
    EXPECT_FLOAT_EQ(fallen.posX, 167.0f);
    EXPECT_EQ(fallen.lastHitTick, 0u);
    EXPECT_FALSE(fallen.hasReplicated);  // it may replicate once itself
    EXPECT_TRUE(parent.hasReplicated);
    EXPECT_EQ(parent.replicateTick, parentStart);  // not restarted by a revival
}

TEST_F(EnemyTest, AReplicatingWandererTriesWhenItStops) {
    ::replicateChance = 100;
    Enemy& e = addEnemy(4, 4);
    e.replicates = true;
    e.setDirection(dir::kUp);
    e.directionTick = plat::tickCount();
    e.currentInterval = 100;
    advance(5001);
    seedRoll(true, 1);  // the stop wait is drawn first
    draw(e);
    EXPECT_FALSE(e.isMoving());
    EXPECT_EQ(enemies.size(), 2u);
    EXPECT_EQ(e.currentInterval, e.stopWaitTime);
}

// The level-5 chain: head, body segments, tail (tail at the front).
class EnemyDragonTest : public EnemyTest {
protected:
    void build(int bodyCount) {
        Enemy& h = addEnemy(3, 3);
        h.setDragonHead();
        h.invulnerable = true;
        h.speed = 1.2f;
        dragonSegmentCount = 0;
        for (int i = 0; i < bodyCount; ++i) {
            Enemy body;
            body.init(cell::kEnemy, kTileSize, 3, 3, 32, 32, layer::kObjects, &grid, false, 1.2f,
                      nullptr, nullptr, deathAnimation(), &players, &missiles, &explosions,
                      &enemies, &library, 100);
            body.invulnerable = true;
            body.followSegment(&enemies.front());
            enemies.push_front(body);
        }
        Enemy tail;
        tail.init(cell::kEnemy, kTileSize, 3, 3, 32, 32, layer::kObjects, &grid, false, 1.2f,
                  nullptr, nullptr, deathAnimation(), &players, &missiles, &explosions, &enemies,
                  &library, 0);
        tail.isTail = true;
        tail.followSegment(&enemies.front());
        enemies.push_front(tail);
        for (Enemy& e : enemies) {
            e.clearDirections();
            e.animateWhenIdle = true;
        }
    }
    Enemy& part(int i) {  // 0 the head, then the body, the tail last
        auto it = enemies.rbegin();
        std::advance(it, i);
        return *it;
    }
};

TEST_F(EnemyDragonTest, OnlyTheTailIsVulnerableAndItsDeathSpeedsTheWholeChain) {
    ::dragonSpeedIncrement = 0.2f;
    build(2);
    EXPECT_EQ(dragonSegmentCount, 3);
    EXPECT_TRUE(part(0).isHead());
    EXPECT_TRUE(part(1).isSegment());
    EXPECT_EQ(part(3).leader, &part(2));

    // The tail (health 0) dies at its first contact.
    Enemy& tail = part(3);
    tail.x = tail.y = 200;  // apart, so only the tail stands in the fire
    tail.posX = tail.posY = 200.0f;
    tail.col = tail.row = 6;
    burn(6, 6);
    tail.handleHit(*target);
    EXPECT_TRUE(tail.dead);
    EXPECT_EQ(dragonSegmentCount, 2);
    EXPECT_FALSE(part(1).invulnerable);
    EXPECT_FALSE(part(2).invulnerable);
    EXPECT_TRUE(part(0).invulnerable);
    for (int i = 0; i < 4; ++i) EXPECT_FLOAT_EQ(part(i).speed, 1.4f) << i;
}

TEST_F(EnemyDragonTest, KillingTheSegmentNextToTheHeadSpeedsOnlyItAndTheHead) {
    ::dragonSpeedIncrement = 0.2f;
    build(2);
    Enemy& first = part(1);
    first.health = 0;
    burn(3, 3);
    first.handleHit(*target);
    EXPECT_FLOAT_EQ(part(0).speed, 1.4f);
    EXPECT_FLOAT_EQ(part(1).speed, 1.4f);
    EXPECT_FLOAT_EQ(part(2).speed, 1.2f);
    EXPECT_FLOAT_EQ(part(3).speed, 1.2f);
}

TEST_F(EnemyDragonTest, TheLastFollowerLeavesTheHeadToDieAtTheNextContact) {
    build(0);  // the tail follows the head directly
    Enemy& h = part(0);
    Enemy& tail = part(1);
    burn(3, 3);
    tail.handleHit(*target);
    EXPECT_EQ(dragonSegmentCount, 0);
    EXPECT_FALSE(h.invulnerable);
    EXPECT_EQ(h.health, -1);

    h.handleHit(*target);
    EXPECT_TRUE(h.dead);
}

TEST_F(EnemyDragonTest, SegmentsJumpAlongTheLeadersTrailAndSkipDeadLeaders) {
    build(1);
    Enemy& h = part(0);
    Enemy& body = part(1);
    Enemy& tail = part(2);
    // The head walked right from (96, 96) to (130, 96), one point per px.
    for (int px = 96; px < 130; ++px) {
        PathNode p;
        p.x = px;
        p.y = 96;
        h.trail.push_back(p);
    }
    h.x = 130;
    h.posX = 130.0f;

    draw(body);
    // It follows until within 22 px: the first point past 108.
    EXPECT_EQ(body.x, 109);
    EXPECT_EQ(body.travelDirection, dir::kRight);
    EXPECT_EQ(body.direction, dir::kRight);
    EXPECT_EQ(h.trail.front().x, 110);
    ASSERT_EQ(body.trail.size(), 1u);
    EXPECT_EQ(body.trail.front().x, 96);
    EXPECT_FALSE(body.isMoving());

    // Within 17 px of the leader: stays.
    h.x = 125;
    draw(body);
    EXPECT_EQ(body.x, 109);

    // The body dies: the tail now follows the head's trail.
    body.dead = true;
    h.x = 140;
    draw(tail);
    EXPECT_EQ(tail.leader, &h);
    EXPECT_EQ(tail.x, 119);
}

TEST_F(EnemyDragonTest, TheHeadNeverDoublesBackNorCoilsAThirdTime) {
    build(0);
    Enemy& h = part(0);
    h.travelDirection = dir::kRight;
    h.forbiddenDirection = -1;
    // Values in the left quarter are refused, other quarters are taken.
    seedSoThat([](int r) { return r > 24573 && r <= 32764; });
    h.setDirection(dir::kUp);
    h.chooseRandomDirection();
    EXPECT_TRUE(h.directionFlags[dir::kUp]);

    // Two clockwise turns forbid a third. A head is built with turn side 0
    // (clockwise), so its first clockwise turn already counts as the
    // second, whatever turn an earlier dragon left behind.
    dragonPreviousTurnSide = 1;
    h.travelDirection = dir::kUp;
    h.x = h.y = 100;
    h.afterHeadMove(99, 100);  // moved right: a clockwise turn
    EXPECT_EQ(h.turnSide, 0);
    EXPECT_EQ(h.forbiddenDirection, dir::kDown);
    h.afterHeadMove(100, 99);  // moved down: clockwise again
    EXPECT_EQ(h.travelDirection, dir::kDown);
    EXPECT_EQ(h.forbiddenDirection, dir::kLeft);
    EXPECT_TRUE(h.ignoresEnemies);
    EXPECT_EQ(h.trail.size(), 2u);

    // Standing still lifts the ban.
    h.afterHeadMove(100, 100);
    EXPECT_EQ(h.forbiddenDirection, -1);
}

// The cells a moving object marks: under its hitbox, 8 px inside the left
// and top edges and 9 px inside the right and bottom edges.
std::set<std::pair<int, int>> cellsUnder(const Enemy& e) {
    std::set<std::pair<int, int>> out;
    for (int px : {e.x + 8, e.x + 32 - 9})
        for (int py : {e.y + 8, e.y + 32 - 9}) out.emplace(px / 32, py / 32);
    return out;
}

TEST_F(EnemyDragonTest, AFollowingTailLeavesNoMarkBehindInAnyDirection) {
    for (int d = 0; d < dir::kCount; ++d) {
        SCOPED_TRACE(d);
        for (Enemy& e : enemies) e.releaseSounds();
        enemies.clear();
        grid.create(10, 8);
        build(0);
        Enemy& h = part(0);
        Enemy& tail = part(1);
        h.setDirection(d);
        h.directionTick = plat::tickCount();  // no stop on the way
        h.currentInterval = 1000000;

        // The head walks about two cells, the tail follows on its trail.
        for (int frame = 0; frame < 70; ++frame) {
            advance(15);
            drawAll();
        }
        ASSERT_GE(std::abs(tail.x - 96) + std::abs(tail.y - 96), 32) << "the tail did not follow";

        std::set<std::pair<int, int>> expected = cellsUnder(h);
        for (const auto& c : cellsUnder(tail)) expected.insert(c);
        std::set<std::pair<int, int>> marked;
        for (int c = 0; c < 10; ++c)
            for (int r = 0; r < 8; ++r)
                if (at(c, r) == cell::kEnemy) marked.emplace(c, r);
        EXPECT_EQ(marked, expected);
    }
}

TEST_F(EnemyTest, BlocksOfLevel4SpawnLevel4EnemiesAndOfLevel5Level5Ones) {
    // Two sets told apart by their frame counts: 3 for enemy4, 5 for enemy5.
    std::string cfg = testsupport::readFile(filePathsPath);
    gfxtest::writeBmp(dir.file("frame.bmp"), 32, 32, gfxtest::frameColour(0));
    auto section = [&](const std::string& name, int frames) {
        cfg += "[" + name + "]\nframeCount=" + std::to_string(frames) +
               "\nwidth=32\nheight=32\nanimationSpeed=100\n";
        for (int i = 1; i <= frames; ++i) cfg += "frame" + std::to_string(i) + "=frame.bmp\n";
    };
    for (const auto& set : {std::make_pair(std::string("enemy4"), 3),
                            std::make_pair(std::string("enemy5"), 5)}) {
        for (const char* d : {"right", "left", "up", "down"}) {
            section(set.first + d, set.second);
            section(set.first + "hit" + d, set.second);
        }
        section(set.first + "death", set.second);
    }
    testsupport::writeFile(filePathsPath, cfg);
    library.loadEnemy4();
    library.loadEnemy5();
    addEnemy(1, 1);  // a live enemy to take the lists from

    std::list<Powerup> powerups;
    for (const auto& kind : {std::make_pair(BreakableBlock::kSpawnLevel4Kind, 3),
                             std::make_pair(BreakableBlock::kSpawnLevel5Kind, 5)}) {
        BreakableBlock block;
        block.init(cell::kBreakable, kTileSize, 5, 3, 32, 32, layer::kObjects, Bitmap(), &grid,
                   &library, &powerups, true, &enemies, kind.first);
        block.shaking = true;  // the shake has run its course
        block.shakeStart = plat::tickCount();
        advance(2501);
        ASSERT_TRUE(block.spawnEnemy());
        const Enemy& spawned = enemies.front();
        for (int d = 0; d < dir::kCount; ++d) {
            EXPECT_EQ(spawned.directionAnimations[d].getFrameSlots(), kind.second);
            EXPECT_EQ(spawned.hitAnimations[d].getFrameSlots(), kind.second);
        }
        EXPECT_EQ(spawned.deathAnimation.getFrameSlots(), kind.second);
    }
}

TEST_F(EnemyTest, EnemiesBlockEachOtherOnlyWhereAnotherLiveEnemyStands) {
    // The route search crosses players and enemies, never fire, blocks or
    // the cell of another live enemy.
    Enemy& a = addEnemy(2, 2);
    Enemy& b = addEnemy(3, 2);
    put(4, 2, cell::kPlayer);
    put(5, 2, cell::kBreakable);
    put(6, 2, cell::kBomb);
    EXPECT_FALSE(a.canPass(3, 2));
    EXPECT_TRUE(a.canPass(4, 2));
    EXPECT_FALSE(a.canPass(5, 2));
    EXPECT_FALSE(a.canPass(6, 2));  // a bomb
    put(6, 2, cell::kMissile);
    EXPECT_FALSE(a.canPass(6, 2));
    put(6, 2, cell::kBomb);
    burn(4, 2);
    EXPECT_FALSE(a.canPass(4, 2));

    // Walking: only blocks, bombs and another live enemy's cell stop it.
    EXPECT_TRUE(a.isBlocked(3, 2));   // b stands there
    EXPECT_FALSE(a.isBlocked(2, 2));  // its own cell
    EXPECT_FALSE(a.isBlocked(4, 2));  // players do not stop enemies
    EXPECT_TRUE(a.isBlocked(5, 2));
    EXPECT_TRUE(a.isBlocked(6, 2));
    put(7, 2, cell::kEnemy);  // a mark left over, nobody stands there
    EXPECT_FALSE(a.isBlocked(7, 2));

    b.dead = true;
    EXPECT_FALSE(a.isBlocked(3, 2));
    b.dead = false;
    a.moveRefused = true;
    EXPECT_FALSE(a.isBlocked(3, 2));
    a.moveRefused = false;

    // Dragon parts cross breakable blocks; the head, once moving, crosses
    // other enemies.
    a.setDragonHead();
    EXPECT_FALSE(a.isBlocked(5, 2));
    a.ignoresEnemies = true;
    EXPECT_FALSE(a.isBlocked(3, 2));
}

// The test grid has no edge ring: only the rim of the grid stops a walker.
TEST_F(EnemyTest, TheRimOfTheFieldStopsAnEnemyOnEverySide) {
    for (int d = 0; d < dir::kCount; ++d) {
        Enemy& e = addEnemy(1, 1, 100, 3.0f);
        e.setDirection(d);
        for (int i = 0; i < 200; ++i) {
            advance(15);
            e.MovingObject::draw(*target);  // the move alone, without the AI
        }
        // A step is tested from the whole-pixel position, so a mover may
        // end up to a pixel into what stops it, never more.
        EXPECT_GE(e.x, 0) << d;
        EXPECT_GE(e.y, 0) << d;
        EXPECT_LE(e.x, 9 * kTileSize + 1) << d;
        EXPECT_LE(e.y, 7 * kTileSize + 1) << d;
        EXPECT_TRUE(e.blocked) << d;
        e.remove();
    }
}

}  // namespace
}  // namespace enemytest
