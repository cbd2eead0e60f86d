// The tutorial's hint line. The tutorial keeps no record of the player's
// progress: every frame the lesson is read off the map itself, from which
// doorway blocks, dynamites and room powerups are still there.
#include <string>

#include "platform/Clock.h"
#include "world/Level.h"

namespace {

constexpr uint32_t kHintPeriodMs = 4000;
constexpr uint32_t kHintBlinkMs = 400;

// Cells of the tutorial map that tell the lessons apart (column, row).
struct Cell {
    int layer;
    int col;
    int row;
    int startValue;  // what the cell holds before the player touches it
};
constexpr Cell kFirstBlock{layer::kObjects, 4, 2, cell::kBreakable};
constexpr Cell kFirstBomb{layer::kPowerups, 1, 3, cell::kBombPowerup};
constexpr Cell kSecondDynamite{layer::kObjects, 8, 2, cell::kBomb};
constexpr Cell kKick{layer::kPowerups, 5, 2, cell::kKickPowerup};
constexpr Cell kDynamitePowerup{layer::kPowerups, 9, 1, cell::kDynamitePowerup};
constexpr Cell kThirdDynamite{layer::kObjects, 13, 2, cell::kBomb};
constexpr Cell kHammer{layer::kPowerups, 14, 1, cell::kHammerPowerup};
constexpr Cell kFourthBlock{layer::kObjects, 16, 4, cell::kBreakable};
constexpr Cell kHealth{layer::kPowerups, 16, 5, cell::kHealthPowerup};
constexpr Cell kLastBlock{layer::kObjects, 12, 8, cell::kBreakable};
constexpr Cell kLastBomb{layer::kPowerups, 11, 8, cell::kBombPowerup};

// Each lesson's texts by hint index; an index past the end shows the last
// entry. Null: no text.
const char* const kLesson1[] = {
    nullptr,
    "     THE BOMB POWERUP LETS YOU LAY AN EXTRA BOMB AT A TIME",
    "      THE FLAME POWERUP INCREASES THE POWER OF YOUR BOMB",
    "           PRESS THE PRIMARY KEY TO DROP A BOMB",
    "         THE DEFAULT PLAYER 1 PRIMARY KEY IS ENTER",
};
const char* const kLesson2[] = {
    "            THE KICK POWERUP LETS YOU KICK BOMBS",
    "            KICK THE DYNAMITE BY RUNNING INTO IT",
};
const char* const kLesson3[] = {
    "   DYNAMITES DONT EXPLODE UNTIL YOU PRESS THE SECONDARY KEY",
    "THE DEFAULT PLAYER 1 SECONDARY FUNCTION KEY IS RIGHT CONTROL",
};
const char* const kLesson4[] = {
    "USE THE SECONDARY KEY TO PLACE A BLOCK WITH THE HAMMER POWERUP",
    "       NOTE THAT YOU NO LONGER HAVE THE DYNAMITE POWERUP",
    "     SECONDARY FUNCTION POWERUPS REPLACE THE PREVIOUS ONE",
    "        THE HAMMER POWERUP ALSO DESTROYS EXISTING BLOCKS",
    "STAND IN FRONT OF A BLOCK AND PRESS THE SECONDARY KEY TO DO SO",
};
const char* const kLesson5[] = {
    "       RESTORING HEALTH REMOVES YOUR SECONDARY FUNCTION",
    "   THE MISSILE POWERUP GIVES YOU A FINITE NUMBER OF MISSILES",
    "              RED MISSILES ARE HOMING MISSILES",
    "            PRESS THE SECONDARY KEY TO FIRE A MISSILE",
};
const char* const kLesson6[] = {
    "   POWERUP ABILITIES ARE DISPLAYED UNDERNEATH THE HEALTH BAR",
    "                   DESTROY THE ENEMIES!",
    nullptr,
};

template <std::size_t N>
const char* lessonText(const char* const (&texts)[N], int index) {
    if (index < 0) index = 0;
    if (index >= int(N)) index = int(N) - 1;
    return texts[index];
}

}  // namespace

void Level::drawTutorialHints(plat::Surface& dc) {
    const uint32_t now = plat::tickCount();
    // The first period starts with play: during the ready message the clock
    // is held, or a period tick still zero from the set-up (long ago on the
    // system clock) would step the index before the player can move.
    if (!running) {
        hintPeriodTick = now;
        hintChangeTick = now;
    }
    if (now - hintPeriodTick > kHintPeriodMs) {
        ++hintIndex;
        hintChangeTick = now;
        hintPeriodTick = now;
    }
    hintText.setBlink(now - hintChangeTick < kHintBlinkMs);
    hintText.clearText();

    auto is = [this](const Cell& c) { return grid.getTile(c.layer, c.col, c.row) == c.startValue; };
    const char* text = nullptr;
    bool reset = false;
    // The first rule that holds decides; a room whose powerup still lies
    // there holds the lesson back (reset) until it is taken.
    if (is(kFirstBlock) && !is(kFirstBomb))
        text = lessonText(kLesson1, hintIndex);
    else if (is(kSecondDynamite) && is(kKick) && !is(kFirstBomb))
        reset = true;
    else if (is(kSecondDynamite) && !is(kKick))
        text = lessonText(kLesson2, hintIndex);
    else if (!is(kSecondDynamite) && is(kDynamitePowerup))
        reset = true;
    else if (!is(kSecondDynamite) && !is(kDynamitePowerup) && is(kThirdDynamite))
        text = lessonText(kLesson3, hintIndex);
    else if (!is(kThirdDynamite) && is(kHammer))
        reset = true;
    else if (!is(kThirdDynamite) && !is(kHammer) && is(kFourthBlock))
        text = lessonText(kLesson4, hintIndex);
    else if (!is(kFourthBlock) && is(kHealth))
        reset = true;
    else if (!is(kFourthBlock) && !is(kHealth) && is(kLastBlock))
        text = lessonText(kLesson5, hintIndex);
    else if (!is(kLastBlock) && is(kLastBomb))
        reset = true;
    else if (!is(kLastBlock) && !is(kLastBomb))
        text = lessonText(kLesson6, hintIndex);

    if (reset) {
        hintIndex = 0;
        hintPeriodTick = now;
        hintChangeTick = now;
    }
    if (text) hintText.setText(text);
    hintText.draw(dc);
}
