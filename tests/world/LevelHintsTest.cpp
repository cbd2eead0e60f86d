#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "world/LevelFixture.h"

namespace leveltest {
namespace {

// Every lesson's line by hint index, leading blanks included (they centre
// the line); an index past the end keeps the last entry. "" shows nothing.
const std::vector<std::string> kLessons[6] = {
    {"",
     "     THE BOMB POWERUP LETS YOU LAY AN EXTRA BOMB AT A TIME",
     "      THE FLAME POWERUP INCREASES THE POWER OF YOUR BOMB",
     "           PRESS THE PRIMARY KEY TO DROP A BOMB",
     "         THE DEFAULT PLAYER 1 PRIMARY KEY IS ENTER"},
    {"            THE KICK POWERUP LETS YOU KICK BOMBS",
     "            KICK THE DYNAMITE BY RUNNING INTO IT"},
    {"   DYNAMITES DONT EXPLODE UNTIL YOU PRESS THE SECONDARY KEY",
     "THE DEFAULT PLAYER 1 SECONDARY FUNCTION KEY IS RIGHT CONTROL"},
    {"USE THE SECONDARY KEY TO PLACE A BLOCK WITH THE HAMMER POWERUP",
     "       NOTE THAT YOU NO LONGER HAVE THE DYNAMITE POWERUP",
     "     SECONDARY FUNCTION POWERUPS REPLACE THE PREVIOUS ONE",
     "        THE HAMMER POWERUP ALSO DESTROYS EXISTING BLOCKS",
     "STAND IN FRONT OF A BLOCK AND PRESS THE SECONDARY KEY TO DO SO"},
    {"       RESTORING HEALTH REMOVES YOUR SECONDARY FUNCTION",
     "   THE MISSILE POWERUP GIVES YOU A FINITE NUMBER OF MISSILES",
     "              RED MISSILES ARE HOMING MISSILES",
     "            PRESS THE SECONDARY KEY TO FIRE A MISSILE"},
    {"   POWERUP ABILITIES ARE DISPLAYED UNDERNEATH THE HEALTH BAR",
     "                   DESTROY THE ENEMIES!",
     ""},
};
const std::string& kLesson1Step1 = kLessons[0][1];
const std::string& kLesson1Step2 = kLessons[0][2];
const std::string& kLesson1Last = kLessons[0][4];
const std::string& kLesson2First = kLessons[1][0];
const std::string& kLesson2Last = kLessons[1][1];
const std::string& kLesson3First = kLessons[2][0];
const std::string& kLesson4First = kLessons[3][0];
const std::string& kLesson4Last = kLessons[3][4];
const std::string& kLesson5First = kLessons[4][0];
const std::string& kLesson6First = kLessons[5][0];
const std::string& kLesson6Second = kLessons[5][1];

constexpr int kFps = 10;  // ms between frames in these tests

class LevelHintsTest : public LevelTest {
protected:
    void SetUp() override {
        LevelTest::SetUp();
        setUpStage(1, false, kStageTutorial);
        // The tutorial field with its doorways and room powerups in place.
        level.grid.create(20, 13);
        for (const auto& c : kStart) level.grid.setTile(c.layer, c.col, c.row, c.value);
        level.hintText.init(10, 200, getFrameFile("fontsmall", 1), getWidth("fontsmall"),
                            getHeight("fontsmall"), 8, 8, 3);
        level.hintPeriodTick = level.hintChangeTick = plat::tickCount();
        level.started = level.running = true;  // the round is in play
    }

    struct Start {
        int layer, col, row, value;
    };
    static constexpr Start kStart[] = {
        {layer::kObjects, 4, 2, cell::kBreakable},      {layer::kPowerups, 1, 3, cell::kBombPowerup},
        {layer::kObjects, 8, 2, cell::kBomb},           {layer::kPowerups, 5, 2, cell::kKickPowerup},
        {layer::kPowerups, 9, 1, cell::kDynamitePowerup}, {layer::kObjects, 13, 2, cell::kBomb},
        {layer::kPowerups, 14, 1, cell::kHammerPowerup}, {layer::kObjects, 16, 4, cell::kBreakable},
        {layer::kPowerups, 16, 5, cell::kHealthPowerup}, {layer::kObjects, 12, 8, cell::kBreakable},
        {layer::kPowerups, 11, 8, cell::kBombPowerup},
    };

    void clear(int layerIndex, int c, int r) { level.grid.setTile(layerIndex, c, r, cell::kEmpty); }

    // One hint frame ms after the last; the target it drew on.
    std::unique_ptr<plat::Surface> hints(uint32_t ms = kFps) {
        plat::headless::advance(ms);
        auto s = plat::Surface::create(640, 480);
        level.drawTutorialHints(*s);
        return s;
    }
    const std::string& text() const { return level.hintText.getText(); }
};

// Walks the whole tutorial in the order a player meets it: each room's
// powerup taken and doorway cleared moves the line to the next lesson, with a
// reset (no text, index 0) while a room's powerup still lies there.
TEST_F(LevelHintsTest, TheLessonFollowsWhatIsLeftOnTheMap) {
    hints();
    EXPECT_EQ(text(), "");  // nothing before the first bomb powerup is taken

    clear(layer::kPowerups, 1, 3);
    hints();
    EXPECT_EQ(text(), "");  // lesson 1 starts with an empty line at index 0
    level.hintIndex = 1;
    hints();
    EXPECT_EQ(text(), kLesson1Step1);
    level.hintIndex = 40;
    hints();
    EXPECT_EQ(text(), kLesson1Last);

    // First block broken, kick still there: reset.
    clear(layer::kObjects, 4, 2);
    hints();
    EXPECT_EQ(text(), "");
    EXPECT_EQ(level.hintIndex, 0);
    clear(layer::kPowerups, 5, 2);
    auto shown = hints();
    EXPECT_EQ(text(), kLesson2First);
    EXPECT_EQ(shown->pixel(10, 200), 0x00FFFFFFu);  // drawn at (10, 200)
    level.hintIndex = 7;
    hints();
    EXPECT_EQ(text(), kLesson2Last);

    // Second room's dynamite cleared (an explosion counts like a pick-up).
    clear(layer::kObjects, 8, 2);
    hints();
    EXPECT_EQ(text(), "");
    EXPECT_EQ(level.hintIndex, 0);
    clear(layer::kPowerups, 9, 1);
    hints();
    EXPECT_EQ(text(), kLesson3First);

    clear(layer::kObjects, 13, 2);
    hints();
    EXPECT_EQ(text(), "");
    clear(layer::kPowerups, 14, 1);
    hints();
    EXPECT_EQ(text(), kLesson4First);
    level.hintIndex = 4;
    hints();
    EXPECT_EQ(text(), kLesson4Last);

    clear(layer::kObjects, 16, 4);
    hints();
    EXPECT_EQ(text(), "");
    clear(layer::kPowerups, 16, 5);
    hints();
    EXPECT_EQ(text(), kLesson5First);

    // A block hammered back onto a tested cell takes the lesson back.
    level.grid.setTile(layer::kObjects, 16, 4, cell::kBreakable);
    hints();
    EXPECT_EQ(text(), kLesson4First);
    clear(layer::kObjects, 16, 4);

    clear(layer::kObjects, 12, 8);
    hints();
    EXPECT_EQ(text(), "");
    clear(layer::kPowerups, 11, 8);
    hints();
    EXPECT_EQ(text(), kLesson6First);
    level.hintIndex = 1;
    hints();
    EXPECT_EQ(text(), kLesson6Second);
    level.hintIndex = 2;
    auto empty = hints();
    EXPECT_EQ(text(), "");  // the last lesson ends with an empty line
    EXPECT_EQ(empty->pixel(10, 200), 0u);
}

// Each lesson in turn, every index up to one past its last line.
TEST_F(LevelHintsTest, EveryLessonShowsItsLinesByIndex) {
    struct Cleared {
        int layer, col, row;
    };
    // What the player has taken or broken to reach each lesson.
    const std::vector<Cleared> reach[6] = {
        {{layer::kPowerups, 1, 3}},
        {{layer::kObjects, 4, 2}, {layer::kPowerups, 5, 2}},
        {{layer::kObjects, 8, 2}, {layer::kPowerups, 9, 1}},
        {{layer::kObjects, 13, 2}, {layer::kPowerups, 14, 1}},
        {{layer::kObjects, 16, 4}, {layer::kPowerups, 16, 5}},
        {{layer::kObjects, 12, 8}, {layer::kPowerups, 11, 8}},
    };
    for (int lesson = 0; lesson < 6; ++lesson) {
        for (const Cleared& c : reach[lesson]) clear(c.layer, c.col, c.row);
        const std::vector<std::string>& lines = kLessons[lesson];
        for (std::size_t index = 0; index <= lines.size(); ++index) {
            level.hintIndex = int(index);
            hints();
            EXPECT_EQ(text(), lines[std::min(index, lines.size() - 1)])
                << "lesson " << lesson + 1 << ", index " << index;
        }
    }
}

// The index steps when more than 4000 ms have passed and keeps stepping
// while no rule resets it, so a slow first pick-up starts further on.
TEST_F(LevelHintsTest, TheIndexStepsEveryFourSecondsStrictly) {
    const uint32_t start = plat::tickCount();
    hints(4000);
    EXPECT_EQ(level.hintIndex, 0);
    hints(1);
    EXPECT_EQ(level.hintIndex, 1);
    EXPECT_EQ(level.hintPeriodTick, plat::tickCount());

    // 9 s in, the bomb powerup is taken: the line starts at index 2.
    while (plat::tickCount() - start < 9000) hints();
    EXPECT_EQ(level.hintIndex, 2);
    clear(layer::kPowerups, 1, 3);
    hints();
    EXPECT_EQ(text(), kLesson1Step2);
}

// Before play the hint clock is held, however long ago its tick was set
// (zero after the set-up): the player starts at index 0.
TEST_F(LevelHintsTest, TheIndexWaitsForPlayToBegin) {
    level.running = false;
    level.hintPeriodTick = level.hintChangeTick = 0;
    for (int i = 0; i < 150; ++i) hints();  // the ready message
    EXPECT_EQ(level.hintIndex, 0);
    level.running = true;
    hints(4000);
    EXPECT_EQ(level.hintIndex, 0);
    hints(20);
    EXPECT_EQ(level.hintIndex, 1);
}

// Every new text blinks for less than 400 ms, the first text after a reset
// too; then it stays steady.
TEST_F(LevelHintsTest, ANewTextBlinksForItsFirst400Milliseconds) {
    clear(layer::kPowerups, 1, 3);
    clear(layer::kObjects, 4, 2);
    hints();  // reset: the kick powerup is still there
    EXPECT_EQ(text(), "");
    clear(layer::kPowerups, 5, 2);

    int hidden = 0;
    const uint32_t reset = level.hintChangeTick;
    while (plat::tickCount() + kFps - reset < 400) {
        hints();
        EXPECT_EQ(text(), kLesson2First);
        hidden += level.hintText.isHidden();
    }
    EXPECT_GT(hidden, 0);
    for (int i = 0; i < 300; ++i) {  // up to the next step, 3 s on
        auto s = hints();
        ASSERT_FALSE(level.hintText.isHidden()) << plat::tickCount() - reset;
        ASSERT_EQ(s->pixel(10, 200), 0x00FFFFFFu);
    }
    EXPECT_EQ(level.hintIndex, 0);
}

// A stepped text blinks (hidden and shown in turns of just over 100 ms)
// while less than 400 ms have passed since the step, and is steady from
// 400 ms on.
TEST_F(LevelHintsTest, TheBlinkEndsAt400Milliseconds) {
    clear(layer::kPowerups, 1, 3);
    hints(4000);
    EXPECT_EQ(text(), "");
    const struct {
        uint32_t ms;  // after the frame before
        bool shown;
    } frames[] = {
        {1, false},    // the step to index 1: hidden at once
        {101, true},   //
        {199, false},  // 300 ms after the step
        {99, false},   // 399: still blinking, no turn yet
        {1, true},     // 400: steady
    };
    uint32_t since = 0;
    for (const auto& f : frames) {
        auto s = hints(f.ms);
        since += f.ms;
        EXPECT_EQ(text(), kLesson1Step1);
        EXPECT_EQ(s->pixel(10, 200) == 0x00FFFFFFu, f.shown) << since - 1 << " ms after the step";
    }
    while (since < 4000) {
        auto s = hints(50);
        since += 50;
        ASSERT_EQ(s->pixel(10, 200), 0x00FFFFFFu) << since - 1 << " ms after the step";
    }
}

}  // namespace
}  // namespace leveltest
