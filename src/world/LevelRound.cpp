// The round: Level::draw runs intro, ready, go, play and result while it
// draws the field (every entity does its timed work inside its own draw),
// keeps the clock and the lives row, and Level::checkResult decides how the
// round ends.
#include <algorithm>
#include <cmath>
#include <string>

#include "platform/Clock.h"
#include "world/Level.h"

namespace {

constexpr uint32_t kClockStepMs = 1000;

// The lives row runs right to left from the top-right corner.
constexpr int kLivesRightX = 610;
constexpr int kLifeSpacing = 20;
constexpr int kLivesY = 0;

// The lost life falls 1 px per 4 ms and swings 30 px either side.
constexpr uint32_t kFallStepMs = 4;
constexpr int kFallEndY = 480;
constexpr float kSwingWidth = 30.0f;
constexpr float kSwingRate = 0.05f;

// The tutorial's first rooms (rows 0 to 3, from column 4 on) teach walking
// and powerups: no bombs there.
constexpr int kTutorialNoBombRows = 4;
constexpr int kTutorialNoBombFromCol = 4;

}  // namespace

void Level::draw(plat::Surface& dc) {
    const uint32_t now = plat::tickCount();

    if (now - setUpTick > kIntroTime && !started) {
        started = true;
        playMusicStream(music, true);
        playSample(readySample);
        phaseTick = now;
    }
    if (now - setUpTick > kIntroTransitionTime && !started) introTransitionDue = true;
    if (!started) {
        if (introImage) introImage->draw(dc);
        return;
    }

    liveEnemies = 0;
    livePlayers = 0;
    if (backgroundImage) backgroundImage->draw(dc);

    for (int l = 0; l < layer::kCount; ++l) {
        for (GridObject& tile : tileLists[l])
            if (tile.active) tile.draw(dc);
        if (l == layer::kPowerups) {
            for (Powerup& powerup : powerups)
                if (powerup.active) powerup.draw(dc);
        } else if (l == layer::kObjects) {
            drawLayerThree(dc, now);
        } else if (l == layer::kExplosions) {
            for (Explosion& explosion : explosions)
                if (explosion.active) explosion.draw(dc);
        }
    }

    if (stageNumber == kStageTutorial) drawTutorialHints(dc);

    drawPhaseMessages(dc, now);
    updateClock(now);
    clockText.draw(dc);

    if (secondsLeft <= kHurrySeconds && !hurryPlayed) {
        playSample(hurrySample);
        hurryPlayed = true;
    }

    if (timerIcon) timerIcon->draw(dc);
    if (!versus) drawLives(dc, now);
}

void Level::drawLayerThree(plat::Surface& dc, uint32_t now) {
    // Players are drawn whatever their active flag: a dead one still shows
    // its death.
    for (Player& player : players) {
        player.draw(dc);
        if (player.isDead()) continue;
        ++livePlayers;
        if (stageNumber == kStageTutorial && player.getRow() < kTutorialNoBombRows &&
            player.getCol() >= kTutorialNoBombFromCol)
            player.setBombCount(0);
    }
    if (versus && livePlayers == 1 && !lastOneFlag) {
        lastOneTick = now;
        lastOneFlag = true;
    }

    // The dragon's parts that face up are drawn before the other enemies,
    // head first (a pass backward over the list, which runs tail first), so
    // that each part lies over the one it follows, above it on the screen.
    drawnEarly.clear();
    if (stageNumber == kStageDragon) {
        for (auto it = enemies.rbegin(); it != enemies.rend(); ++it) {
            Enemy& enemy = *it;
            if ((enemy.isHead() || enemy.isSegment()) && enemy.getDirection() == dir::kUp) {
                drawEnemy(enemy, dc);
                drawnEarly.push_back(&enemy);
            }
        }
    }
    for (Enemy& enemy : enemies) {
        if (!drawnEarly.empty() &&
            std::find(drawnEarly.begin(), drawnEarly.end(), &enemy) != drawnEarly.end())
            continue;
        drawEnemy(enemy, dc);
    }

    for (Bomb& bomb : bombs)
        if (bomb.active) bomb.draw(dc);
    for (BreakableBlock& block : blocks)
        if (block.active) block.draw(dc);
    for (Missile& missile : missiles)
        if (missile.active) missile.draw(dc);
    for (HomingMissile& missile : homingMissiles)
        if (missile.active) missile.draw(dc);
}

// Enemies are drawn active or not (an inactive one may be revived by a
// replicating neighbour); they hold still until the round runs.
void Level::drawEnemy(Enemy& enemy, plat::Surface& dc) {
    enemy.held = !running;
    enemy.draw(dc);
    if (enemy.active) ++liveEnemies;
}

void Level::drawPhaseMessages(plat::Surface& dc, uint32_t now) {
    if (!running) {
        if (readyMessage) readyMessage->draw(dc);
        if (now - phaseTick > kReadyTime) {
            phaseTick = now;
            running = true;
            playSample(startSample);
        }
    } else if (state == kLevelRunning) {
        if (now - phaseTick < kGoTime) {
            if (goMessage) goMessage->draw(dc);
            // The first tutorial hint period starts when "go" disappears.
            hintPeriodTick = now;
            hintChangeTick = now;
        }
        checkResult();
    } else if (now - phaseTick > resultDelay) {
        finished = true;
    }
}

// Whole seconds only: the part of a second left over at each step is
// dropped, so the first step after the intro takes the intro's time too.
void Level::updateClock(uint32_t now) {
    const uint32_t elapsed = now - clockBase;
    if (elapsed >= kClockStepMs) {
        const uint32_t seconds = elapsed / kClockStepMs;
        if (secondsLeft < 0 || seconds >= static_cast<uint32_t>(secondsLeft))
            secondsLeft = 0;
        else
            secondsLeft -= static_cast<int>(seconds);
        clockBase = now;
    }
    const int seconds = secondsLeft % 60;
    clockText.setText(std::to_string(secondsLeft / 60));
    clockText.appendText(":");
    if (seconds < 10) clockText.appendText("0");
    clockText.appendText(std::to_string(seconds));
}

void Level::drawLives(plat::Surface& dc, uint32_t now) {
    if (!lifeIcon) return;
    // Icons left of the screen would not show; a huge count must not make
    // the row a long loop.
    int x = kLivesRightX;
    for (int i = 0; i < lives && x > -kLifeSpacing; ++i, x -= kLifeSpacing) {
        lifeIcon->x = x;
        lifeIcon->y = kLivesY;
        lifeIcon->draw(dc);
    }
    // The slot of the life just lost (lives has already been decremented).
    fallingLifeX = static_cast<float>(kLivesRightX) - static_cast<float>(kLifeSpacing) * static_cast<float>(lives);

    if (!fallingLife) return;
    const uint32_t elapsed = now - fallingLifeTick;
    if (elapsed > kFallStepMs) {
        const uint32_t steps = elapsed / kFallStepMs;
        fallingLifePhase += static_cast<float>(steps);
        fallingLifeY += static_cast<int>(steps);  // steps < 2^30: no overflow
        fallingLifeTick = now;
        if (fallingLifeY > kFallEndY) fallingLife = false;
    }
    lifeIcon->x = static_cast<int>(fallingLifeX + kSwingWidth * std::cos(kSwingRate * fallingLifePhase));
    lifeIcon->y = fallingLifeY;
    lifeIcon->draw(dc);
}

void Level::checkResult() {
    const uint32_t now = plat::tickCount();
    resultDelay = kResultDelay;

    if (versus) {
        if (livePlayers == 1 && now - lastOneTick > kLastOneTime) {
            playSample(winSample);
            state = kLevelWon;
            phaseTick = now;
        }
        // Nobody left, or the clock ran out: no winner, whatever the line
        // above found in this same frame.
        if (livePlayers == 0 || secondsLeft == 0) {
            playSample(drawSample);
            state = kLevelDraw;
            phaseTick = now;
        }
        return;
    }

    if (livePlayers == 0 || secondsLeft == 0) {
        state = kLevelLifeLost;
        // No life falls in practice (lives -1): there is no icon to lose.
        if (lives >= 0) fallingLife = true;
        --lives;
        if (lives < 1) {
            stopMusicStream(music);
            playSample(gameoverSample);
            resultDelay = kGameOverDelay;
        } else {
            playSample(loseSample);
        }
        fallingLifePhase = 0.0f;
        fallingLifeY = 0;
        fallingLifeTick = now;
        phaseTick = now;
    }
    // Checked after the life: when the last player and the last enemy go in
    // the same frame the life is lost and the level still counts as cleared.
    if (liveEnemies == 0) {
        playSample(winSample);
        state = kLevelWon;
        phaseTick = now;
    }
}
