#include "world/LevelFixture.h"

#include <algorithm>

namespace leveltest {
namespace {

constexpr int kLivesY = 0;

TEST_F(LevelTest, TheRoundRunsIntroReadyAndGoOnTime) {
    setUpStage();
    addPlayer(1, 1);
    Enemy& enemy = addEnemy(8, 6);

    auto s = after(Level::kIntroTransitionTime);
    EXPECT_FALSE(level.introTransitionDue);
    EXPECT_EQ(s->pixel(1, 1), kIntroColour);
    s = after(1);
    EXPECT_TRUE(level.introTransitionDue);
    EXPECT_FALSE(level.started);
    EXPECT_EQ(played("ready"), 0);

    after(Level::kIntroTime - Level::kIntroTransitionTime - 1);
    EXPECT_FALSE(level.started);
    s = after(1);
    EXPECT_TRUE(level.started);
    const auto& log = plat::headless::audioLog();
    EXPECT_NE(std::find(log.begin(), log.end(), "loop " + dir.file("music.wav") + " 1"), log.end());
    EXPECT_EQ(audioCount("stream", "music"), 1);
    EXPECT_EQ(played("ready"), 1);
    EXPECT_EQ(s->pixel(1, 1), kBackColour);
    EXPECT_EQ(s->pixel(kReadyX, kMessageY), kReadyColour);
    EXPECT_TRUE(enemy.held);

    after(Level::kReadyTime);
    EXPECT_FALSE(level.running);
    s = after(1);
    EXPECT_TRUE(level.running);
    EXPECT_EQ(played("start"), 1);
    s = after(Level::kGoTime - 1);
    EXPECT_FALSE(enemy.held);
    EXPECT_EQ(s->pixel(kGoX, kMessageY), kGoColour);
    EXPECT_EQ(s->pixel(kReadyX, kMessageY), 0u);
    EXPECT_EQ(level.hintPeriodTick, plat::tickCount());  // the first hint waits for "go" to go
    s = after(1);
    EXPECT_EQ(s->pixel(kGoX, kMessageY), 0u);
    EXPECT_NE(level.hintPeriodTick, plat::tickCount());
}

TEST_F(LevelTest, TheClockCountsWholeSecondsAndHurriesOnceAtThirty) {
    setUpStage();
    after(Level::kIntroTime + 1);  // the intro costs one second
    EXPECT_EQ(level.clockText.getText(), "2:59");
    after(999);
    EXPECT_EQ(level.secondsLeft, 179);
    after(1);
    EXPECT_EQ(level.clockText.getText(), "2:58");

    level.secondsLeft = 66;
    after(1000);
    EXPECT_EQ(level.clockText.getText(), "1:05");

    level.secondsLeft = 32;
    after(1000);
    EXPECT_EQ(played("hurry"), 0);
    after(1000);
    EXPECT_EQ(played("hurry"), 1);
    after(1000);
    EXPECT_EQ(played("hurry"), 1);

    after(60000);
    EXPECT_EQ(level.secondsLeft, 0);
    EXPECT_EQ(level.clockText.getText(), "0:00");
}

struct LifeCase {
    const char* name;
    int lives;
    bool playerDies, enemyGoes, clockRunsOut;
    int state, livesAfter;
    const char* sound;
    uint32_t delay;
    bool falls;
};

TEST_F(LevelTest, ResultsOfTheLevelsAndTheTutorial) {
    const LifeCase cases[] = {
        {"last enemy gone", 3, false, true, false, kLevelWon, 3, "win", 5000, false},
        {"life lost", 4, true, false, false, kLevelLifeLost, 3, "lose", 5000, true},
        {"clock out", 4, false, false, true, kLevelLifeLost, 3, "lose", 5000, true},
        {"last life", 1, true, false, false, kLevelLifeLost, 0, "gameover", 7000, true},
        {"practice", -1, true, false, false, kLevelLifeLost, -2, "gameover", 7000, false},
        {"both at once", 2, true, true, false, kLevelWon, 1, "lose", 5000, true},
    };
    for (const LifeCase& c : cases) {
        SCOPED_TRACE(c.name);
        level.lives = c.lives;
        setUpStage();
        Player& player = addPlayer(1, 1);
        Enemy& enemy = addEnemy(8, 6);
        startRound();
        plat::headless::clearAudioLog();

        player.dead = c.playerDies;
        if (c.enemyGoes) enemy.remove();
        if (c.clockRunsOut) {
            level.secondsLeft = 1;
            after(1000);  // the clock reaches 0 after this frame's check
        }
        auto s = after(10);
        EXPECT_EQ(level.state, c.state);
        EXPECT_EQ(level.lives, c.livesAfter);
        EXPECT_EQ(played(c.sound), 1);
        EXPECT_EQ(played("win"), c.enemyGoes ? 1 : 0);
        EXPECT_EQ(level.resultDelay, c.delay);
        EXPECT_EQ(audioCount("stop", "music"), c.livesAfter < 1 ? 1 : 0);
        EXPECT_EQ(level.fallingLife, c.falls);
        // One icon per life left, right to left from 610; the lost one
        // falls from the next slot.
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(s->pixel(610 - 20 * i, kLivesY) == kLifeColour, i < c.livesAfter) << i;
        if (c.falls) {
            EXPECT_EQ(level.fallingLifeX, 610.0f - 20.0f * float(c.livesAfter));
        }

        after(c.delay);
        EXPECT_FALSE(level.isLevelOver());
        after(1);
        EXPECT_TRUE(level.isLevelOver());
        level.cleanup();
    }
}

TEST_F(LevelTest, VersusEndsWithTheLastOneStandingOrADraw) {
    enum End { SurvivorWins, SurvivorDiesToo, ClockRunsOut };
    for (End end : {SurvivorWins, SurvivorDiesToo, ClockRunsOut}) {
        SCOPED_TRACE(int(end));
        level.lives = 4;
        setUpStage(2, true, 6);
        Player& first = addPlayer(1, 1);
        Player& second = addPlayer(8, 6);
        startRound();
        plat::headless::clearAudioLog();

        if (end == ClockRunsOut) {
            level.secondsLeft = 1;
            after(1000);  // the clock reaches 0 after this frame's check
            after(1);
        } else {
            second.dead = true;
            after(10);
            after(Level::kLastOneTime);
            EXPECT_EQ(level.state, kLevelRunning);
            if (end == SurvivorDiesToo) first.dead = true;
            after(1);
        }
        EXPECT_EQ(level.state, end == SurvivorWins ? kLevelWon : kLevelDraw);
        EXPECT_EQ(played(end == SurvivorWins ? "win" : "draw"), 1);
        EXPECT_EQ(level.lives, 4);
        EXPECT_FALSE(level.fallingLife);
        level.cleanup();
    }
}

TEST_F(LevelTest, TheTutorialTakesTheBombsInItsFirstRooms) {
    setUpStage(2, false, kStageTutorial);
    Player& inside = addPlayer(4, 3);
    Player& below = addPlayer(4, 4);
    inside.bombCount = below.bombCount = 1;
    after(Level::kIntroTime + 1);
    EXPECT_EQ(inside.bombCount, 0);
    EXPECT_EQ(below.bombCount, 1);
}

// The dragon's parts that face up are drawn first, tail end first; a part
// that turns while it is drawn must not be drawn (and counted) again.
TEST_F(LevelTest, EveryEnemyIsDrawnOnceAlsoWhenADragonPartTurns) {
    setUpStage(1, false, kStageDragon);
    addPlayer(1, 1);
    level.enemies.push_back(makeEnemy(6, 2));
    Enemy& head = level.enemies.back();
    head.setDragonHead();
    head.direction = dir::kRight;
    head.active = false;
    PathNode point;
    point.x = 96;
    point.y = 64;
    head.trail.push_back(point);
    Enemy& part = addEnemy(2, 2);
    part.followSegment(&head);
    part.clearDirections();
    part.direction = dir::kUp;
    addEnemy(8, 6);

    after(Level::kIntroTime + 1);
    EXPECT_EQ(part.x, 96);
    EXPECT_EQ(part.getDirection(), dir::kRight);  // turned while drawn
    EXPECT_EQ(level.liveEnemies, 2);
}

}  // namespace
}  // namespace leveltest
