#include "world/LevelFixture.h"

#include <algorithm>
#include <memory>
#include <string>
#include <utility>

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

// Where the 4 x 4 life icon's top-left corner is in a frame, or (-1, -1)
// when no life icon lies below the lives row.
std::pair<int, int> fallingIcon(const plat::Surface& s) {
    for (int y = 4; y < 480; ++y)
        for (int x = 0; x < 640; ++x)
            if (s.pixel(x, y) == kLifeColour && s.pixel(x, y - 1) != kLifeColour &&
                (x == 0 || s.pixel(x - 1, y) != kLifeColour))
                return {x, y};
    return {-1, -1};
}

// The life just lost falls from its slot 1 px per 4 ms (the remainder of a
// frame's time is dropped) and swings 30 px either side: x = slot +
// 30 cos(0.05 x steps), truncated.
TEST_F(LevelTest, TheLostLifeFallsAndSwingsOffTheScreen) {
    level.lives = 4;
    setUpStage();
    Player& player = addPlayer(1, 1);
    addEnemy(8, 6);
    startRound();

    player.dead = true;
    auto s = after(10);
    ASSERT_EQ(level.state, kLevelLifeLost);
    // 550 + 30 between the slots at 570 and 590, still on the lives row.
    EXPECT_EQ(s->pixel(580, 0), kLifeColour);
    EXPECT_EQ(s->pixel(579, 0), 0u);
    EXPECT_EQ(s->pixel(584, 0), 0u);
    s = after(4);  // not more than 4 ms: no step
    EXPECT_EQ(s->pixel(580, 0), kLifeColour);

    const struct {
        uint32_t ms;  // after the frame before
        int x, y;
    } path[] = {
        {96, 559, 25},     // 100 ms after the loss: 25 steps; 550 + 30 cos(1.25) = 559.46
        {6, 558, 26},      // one step, 2 ms dropped; 558.02
        {6, 556, 27},      // 556.57
        {1800, 558, 477},  // 450 steps; 550 + 30 cos(23.85) = 558.52
    };
    for (const auto& step : path) {
        s = after(step.ms);
        EXPECT_EQ(fallingIcon(*s), std::make_pair(step.x, step.y)) << "y " << step.y;
        EXPECT_TRUE(level.fallingLife);
    }
    s = after(16);  // y 481: gone
    EXPECT_FALSE(level.fallingLife);
    EXPECT_EQ(fallingIcon(*s), std::make_pair(-1, -1));
    s = after(100);
    EXPECT_EQ(fallingIcon(*s), std::make_pair(-1, -1));
    for (int x : {610, 590, 570}) EXPECT_EQ(s->pixel(x, 0), kLifeColour) << x;
}

// Versus keeps no lives: none are shown or lost. In the frame in which the
// survivor's 2000 ms are up and the clock runs out too, the draw wins out
// (both sounds play).
TEST_F(LevelTest, VersusEndsWithTheLastOneStandingOrADraw) {
    enum End { SurvivorWins, SurvivorDiesToo, ClockRunsOut, WinAndClockTogether };
    for (End end : {SurvivorWins, SurvivorDiesToo, ClockRunsOut, WinAndClockTogether}) {
        SCOPED_TRACE(int(end));
        level.lives = 4;
        setUpStage(2, true, 6);
        Player& first = addPlayer(1, 1);
        Player& second = addPlayer(8, 6);
        startRound();
        plat::headless::clearAudioLog();

        std::unique_ptr<plat::Surface> s;
        if (end == ClockRunsOut) {
            level.secondsLeft = 1;
            after(1000);  // the clock reaches 0 after this frame's check
            s = after(1);
        } else {
            second.dead = true;
            after(10);
            after(Level::kLastOneTime);
            EXPECT_EQ(level.state, kLevelRunning);
            if (end == SurvivorDiesToo) first.dead = true;
            if (end == WinAndClockTogether) level.secondsLeft = 0;
            s = after(1);
        }
        EXPECT_EQ(level.state, end == SurvivorWins ? kLevelWon : kLevelDraw);
        EXPECT_EQ(played("win"), end == SurvivorWins || end == WinAndClockTogether ? 1 : 0);
        EXPECT_EQ(played("draw"), end == SurvivorWins ? 0 : 1);
        EXPECT_EQ(level.lives, 4);
        EXPECT_FALSE(level.fallingLife);
        for (int x = 550; x <= 613; ++x) ASSERT_NE(s->pixel(x, 0), kLifeColour) << x;
        level.cleanup();
    }
}

// With three or four players the last-one clock starts only when one player
// is left, however long ago the first fell; two left never win.
TEST_F(LevelTest, VersusWithThreeOrFourPlayersWaitsForTheLastOne) {
    for (int count : {3, 4}) {
        SCOPED_TRACE(count);
        setUpStage(count, true, 6);
        Player* p[4] = {};
        for (int i = 0; i < count; ++i) p[i] = &addPlayer(1 + 2 * i, 1 + i);
        startRound();
        plat::headless::clearAudioLog();

        for (int i = 0; i < count - 2; ++i) p[i]->dead = true;
        after(10);
        after(3000);
        EXPECT_EQ(level.state, kLevelRunning) << "two left";
        p[count - 2]->dead = true;
        after(10);
        after(Level::kLastOneTime);
        EXPECT_EQ(level.state, kLevelRunning) << "the last one's 2000 ms";
        after(1);
        EXPECT_EQ(level.state, kLevelWon);
        EXPECT_EQ(played("win"), 1);
        level.cleanup();

        // The last two fall in one frame: nobody is left, a draw.
        setUpStage(count, true, 6);
        for (int i = 0; i < count; ++i) p[i] = &addPlayer(1 + 2 * i, 1 + i);
        startRound();
        plat::headless::clearAudioLog();
        for (int i = 0; i < count - 2; ++i) p[i]->dead = true;
        after(3000);
        p[count - 2]->dead = p[count - 1]->dead = true;
        after(10);
        EXPECT_EQ(level.state, kLevelDraw);
        EXPECT_EQ(played("win"), 0);
        level.cleanup();
    }
}

// Co-op players share the lives: the round goes on while any of them lives
// (whichever fell first), one life is lost when the last one falls, and the
// level is cleared with teammates down.
TEST_F(LevelTest, CoopLosesALifeOnlyWhenEveryPlayerIsDown) {
    for (int count : {2, 3}) {
        for (bool cleared : {false, true}) {
            SCOPED_TRACE(std::to_string(count) + (cleared ? " cleared" : " lost"));
            level.lives = 4;
            setUpStage(count);
            Player* p[3] = {};
            for (int i = 0; i < count; ++i) p[i] = &addPlayer(1 + 2 * i, 1);
            Enemy& enemy = addEnemy(8, 6);
            startRound();

            // The newest player heads the list: it falls first.
            for (int i = count - 1; i > 0; --i) {
                p[i]->dead = true;
                after(1000);
                EXPECT_EQ(level.state, kLevelRunning) << i;
                EXPECT_EQ(level.livePlayers, i);
            }
            if (cleared) {
                enemy.remove();
            } else {
                p[0]->dead = true;
            }
            after(10);
            EXPECT_EQ(level.state, cleared ? kLevelWon : kLevelLifeLost);
            EXPECT_EQ(level.lives, cleared ? 4 : 3);
            level.cleanup();
        }
    }
}

// Rows 0 to 3 from column 4 on: bombs are taken on every frame there.
TEST_F(LevelTest, TheTutorialTakesTheBombsInItsFirstRooms) {
    setUpStage(3, false, kStageTutorial);
    Player& inside = addPlayer(4, 3);
    Player& below = addPlayer(4, 4);
    Player& left = addPlayer(3, 3);
    inside.bombCount = below.bombCount = left.bombCount = 1;
    after(Level::kIntroTime + 1);
    EXPECT_EQ(inside.bombCount, 0);
    EXPECT_EQ(below.bombCount, 1);
    EXPECT_EQ(left.bombCount, 1);
    inside.bombCount = 2;  // a bomb powerup taken in there
    after(10);
    EXPECT_EQ(inside.bombCount, 0);
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
