#include "actors/Player.h"

#include <cmath>
#include <limits>
#include <string>

#include "actors/Bomb.h"
#include "actors/DustEffect.h"
#include "actors/Enemy.h"
#include "graphics/AnimationLibrary.h"
#include "platform/Clock.h"
#include "shell/Config.h"
#include "shell/FilePaths.h"
#include "shell/GameWindow.h"
#include "shell/Input.h"
#include "shell/Sound.h"
#include "world/TileGrid.h"

namespace {

// HUD placement. Stages wider than this many cells put the players' blocks
// side by side under the field; narrower ones stack them at its right.
constexpr int kNarrowFieldCells = 15;
constexpr int kWideHudY = 425;
constexpr int kWideLabelX = 10;
constexpr int kWideBarX = 35;
constexpr int kWideStepX = 150;
constexpr int kNarrowX = 500;
constexpr int kNarrowLabelY = 80;
constexpr int kNarrowBarY = 100;
constexpr int kNarrowStepY = 100;
// The HUD's numbers and icons sit this far below the bar and this far left
// of their slot.
constexpr int kHudLineBelowBar = 20;
constexpr int kHudIconShift = 5;

constexpr int opposite(int d) {
    switch (d) {
        case dir::kRight: return dir::kLeft;
        case dir::kLeft: return dir::kRight;
        case dir::kUp: return dir::kDown;
        default: return dir::kUp;
    }
}

// The key slot that moves the player in direction d.
constexpr int keyFor(int d) {
    switch (d) {
        case dir::kRight: return Player::KeyRight;
        case dir::kLeft: return Player::KeyLeft;
        case dir::kUp: return Player::KeyUp;
        default: return Player::KeyDown;
    }
}

void drawIcon(Animation* icon, int x, int y, plat::Surface& target) {
    if (!icon) return;
    icon->x = x;
    icon->y = y;
    icon->draw(target);
}

void initHudText(BitmapText& text, int x, int y) {
    text.initGameFont(x, y);
}

}  // namespace

Player::Player()
    : MovingObject(),
      keys{},
      momentum(0),
      inputTick(0),
      bombKeyTick(0),
      detonationTick(0),
      missileTick(0),
      bombPower(0),
      bombs(nullptr),
      explosions(nullptr),
      blocks(nullptr),
      powerups(nullptr),
      missiles(nullptr),
      homingMissiles(nullptr),
      enemies(nullptr),
      players(nullptr),
      library(nullptr),
      lastBombColumn(0),
      lastBombRow(0),
      lastBombTick(0),
      bombCount(0),
      momentumTick(0),
      missilesFired(0),
      bombsPlaced(0),
      health(0),
      hurtTick(0),
      kick(false),
      dynamite(false),
      hammer(false),
      missile(false),
      homingMissile(false),
      dead(false),
      number(0),
      versus(false),
      baseSpeed(0),
      hammerLatch(false),
      blockSample(nullptr),
      bombDropSample(nullptr),
      deathSample(nullptr),
      healthSample(nullptr),
      kickSample(nullptr),
      missileSample(nullptr),
      powerupSample(nullptr),
      hurtSample(nullptr),
      kickSoundTick(0) {}

Player::Player(const Player& other) : Player() { copy(other); }

Player::~Player() = default;

GridObject* Player::clone() { return new Player(*this); }

void Player::copy(const Player& other) {
    MovingObject::copy(other);
    for (int k = 0; k < KeyCount; ++k) keys[k] = other.keys[k];
    momentum = other.momentum;
    inputTick = other.inputTick;
    bombKeyTick = other.bombKeyTick;
    detonationTick = other.detonationTick;
    missileTick = other.missileTick;
    bombPower = other.bombPower;
    bombs = other.bombs;
    explosions = other.explosions;
    blocks = other.blocks;
    powerups = other.powerups;
    missiles = other.missiles;
    homingMissiles = other.homingMissiles;
    enemies = other.enemies;
    players = other.players;
    dustEffects = other.dustEffects;
    library = other.library;
    lastBombColumn = other.lastBombColumn;
    lastBombRow = other.lastBombRow;
    lastBombTick = other.lastBombTick;
    bombCount = other.bombCount;
    momentumTick = other.momentumTick;
    missilesFired = other.missilesFired;
    bombsPlaced = other.bombsPlaced;
    health = other.health;
    hurtTick = other.hurtTick;
    kick = other.kick;
    dynamite = other.dynamite;
    hammer = other.hammer;
    missile = other.missile;
    homingMissile = other.homingMissile;
    dead = other.dead;
    deathAnimation = other.deathAnimation;
    healthBar = other.healthBar;
    number = other.number;
    label = other.label;
    versus = other.versus;
    baseSpeed = other.baseSpeed;
    for (int d = 0; d < dir::kCount; ++d) hitAnimations[d] = other.hitAnimations[d];
    hammerLatch = other.hammerLatch;
    // The sample handles are shared by every copy; releaseSounds frees them
    // once, on the copy that lives in the Level.
    blockSample = other.blockSample;
    bombDropSample = other.bombDropSample;
    deathSample = other.deathSample;
    healthSample = other.healthSample;
    kickSample = other.kickSample;
    missileSample = other.missileSample;
    powerupSample = other.powerupSample;
    hurtSample = other.hurtSample;
    kickSoundTick = other.kickSoundTick;
    bombCountText = other.bombCountText;
    bombPowerText = other.bombPowerText;
    missilesLeftText = other.missilesLeftText;
}

Player Player::operator=(const Player& other) {
    if (this != &other) copy(other);
    return *this;
}

void Player::init(int newValue, int newTileSize, int newCol, int newRow, int newWidth,
                  int newHeight, int newLayer, TileGrid* newGrid, bool newFrozen, float newSpeed,
                  const Animation* walkAnimations, Animation death,
                  const Animation* hitAnimationSet, const int* playerKeys,
                  std::list<Bomb>* bombList, std::list<Explosion>* explosionList,
                  std::list<BreakableBlock>* blockList, std::list<Powerup>* powerupList,
                  std::list<Missile>* missileList, std::list<HomingMissile>* homingMissileList,
                  std::list<Enemy>* enemyList, std::list<Player>* playerList,
                  AnimationLibrary* animationLibrary, bool versusFlag, int playerNumber) {
    initMoving(newValue, newTileSize, newCol, newRow, newWidth, newHeight, newLayer, newGrid,
               newFrozen, newSpeed, walkAnimations);

    blockSample = loadSample(getPathString("audio", "block"));
    bombDropSample = loadSample(getPathString("audio", "bombDrop"));
    deathSample = loadSample(getPathString("audio", "death"));
    healthSample = loadSample(getPathString("audio", "health"));
    kickSample = loadSample(getPathString("audio", "kick"));
    powerupSample = loadSample(getPathString("audio", "powerup"));
    missileSample = loadSample(getPathString("audio", "missile"));
    hurtSample = loadSample(getPathString("audio", "hurt"));

    deathAnimation = death;
    deathAnimation.frameTime = kDeathFrameMs;

    bombs = bombList;
    explosions = explosionList;
    blocks = blockList;
    powerups = powerupList;
    missiles = missileList;
    homingMissiles = homingMissileList;
    enemies = enemyList;
    players = playerList;
    library = animationLibrary;
    kick = dynamite = hammer = missile = homingMissile = false;
    momentum = playerMomentum > 0 ? uint32_t(playerMomentum) : 0;
    bombsPlaced = 0;
    missilesFired = 0;
    stopWhenIdle = true;
    for (int k = 0; k < KeyCount; ++k) keys[k] = playerKeys ? playerKeys[k] : 0;
    number = playerNumber;
    versus = versusFlag;

    // Walking uses whole speeds; the animations below keep the exact one.
    baseSpeed = int(newSpeed);

    // Frames are timed for the speed: at 2.0 as configured, at 4.0 twice as
    // fast. A speed that is not positive leaves the configured times (the
    // division would give nothing sensible).
    const float factor = newSpeed / 2.0f;
    for (int d = 0; d < dir::kCount; ++d) {
        if (hitAnimationSet) hitAnimations[d] = hitAnimationSet[d];
        if (!(factor > 0.0f)) continue;
        const double t = std::trunc(double(directionAnimations[d].frameTime) / double(factor));
        const uint32_t frameTime =
            t >= double(std::numeric_limits<uint32_t>::max()) ? std::numeric_limits<uint32_t>::max()
                                                               : uint32_t(t);
        directionAnimations[d].frameTime = frameTime;
        hitAnimations[d].frameTime = frameTime;
    }

    if (versus) {
        health = multiplayerMaxHealth;
        bombPower = multiplayerBombPower;
        bombCount = multiplayerBombCount;
    } else {
        health = maxHealth;
        bombPower = 1;
        bombCount = 1;
    }

    try {
        setUpHud(number);
    } catch (...) {
        // A missing HUD image ends the set-up; the samples would go with
        // this prototype unfreed.
        releaseSounds();
        throw;
    }

    const uint32_t now = plat::tickCount();
    inputTick = bombKeyTick = lastBombTick = momentumTick = detonationTick = missileTick = now;
    hurtTick = kickSoundTick = now;
}

void Player::setUpHud(int playerNumber) {
    if (playerNumber < 1 || playerNumber > AnimationLibrary::kPlayerCount) return;
    const int slot = playerNumber - 1;
    const bool wide = grid && grid->getWidth() > kNarrowFieldCells;
    int labelX, labelY, barX, barY;
    if (wide) {
        labelX = kWideLabelX + slot * kWideStepX;
        barX = kWideBarX + slot * kWideStepX;
        labelY = barY = kWideHudY;
    } else {
        labelX = barX = kNarrowX;
        labelY = kNarrowLabelY + slot * kNarrowStepY;
        barY = kNarrowBarY + slot * kNarrowStepY;
    }

    const std::string n = std::to_string(playerNumber);
    const std::string back = "healthbarback" + n;
    const std::string top = "healthbartop" + n;
    healthBar.init(::getWidth(back.c_str()), ::getHeight(back.c_str()), getFrameFile(back.c_str(), 1),
                   getFrameFile(top.c_str(), 1), barX, barY, health);

    initHudText(label, labelX, labelY);
    label.setText(wide ? "P" + n : "PLAYER " + n);

    const int lineY = barY + kHudLineBelowBar;
    initHudText(bombCountText, barX - kHudIconShift, lineY);
    initHudText(bombPowerText, barX + tileSize - kHudIconShift, lineY);
    initHudText(missilesLeftText, barX + 2 * tileSize - kHudIconShift, lineY);
}

bool Player::isBlocked(int c, int r) {
    // The rim of the grid stops a player like a wall would.
    if (!onGrid(c, r)) return true;
    const int v = grid->getTile(layer, c, r);
    return !(v == cell::kEmpty || v == cell::kPlayer || v == cell::kEnemy);
}

bool Player::touchesEnemy() {
    if (!enemies) return false;
    const int cornersX[2] = {x + 1, x + width - 1};
    const int cornersY[2] = {y + 1, y + height - 1};
    for (Enemy& enemy : *enemies) {
        if (enemy.isDead()) continue;
        for (int cx : cornersX) {
            for (int cy : cornersY) {
                if (enemy.x < cx && cx < enemy.x + enemy.width && enemy.y < cy &&
                    cy < enemy.y + enemy.height)
                    return true;
            }
        }
    }
    return false;
}

void Player::drawDust(plat::Surface& target) {
    for (auto it = dustEffects.begin(); it != dustEffects.end();) {
        if (it->active) {
            it->draw(target);
            ++it;
        } else {
            // A finished puff never draws again; dropping it keeps a long
            // round from piling them up.
            it = dustEffects.erase(it);
        }
    }
}

void Player::draw(plat::Surface& target) {
    drawHud(target);
    if (!active) return;

    if (!dead) {
        const bool hurt = hitboxTouches(layer::kExplosions, cell::kExplosion) || touchesEnemy();
        if (hurt) {
            const uint32_t now = plat::tickCount();
            // One step of damage whatever touches the player, explosion,
            // enemy or both.
            if (now - hurtTick > kDamageIntervalMs) {
                hurtTick = now;
                health -= kDamagePerStep;
                playSample(hurtSample);
            }
            if (health < 1) {
                playSample(deathSample);
                dead = true;
                deathAnimation.play();
            }
        }

        // Dust below the player when it walks down over it, above otherwise.
        if (direction == dir::kDown) drawDust(target);
        MovingObject::draw(target);
        if (hurt && direction >= 0 && direction < dir::kCount) {
            Animation& hit = hitAnimations[direction];
            hit.playing = true;
            hit.x = x;
            hit.y = y;
            hit.draw(target);
        }
        if (direction != dir::kDown) drawDust(target);

        if (kick) kickBombs();
        collectPowerups();
    } else if (deathAnimation.isFinished()) {
        remove();
    } else {
        deathAnimation.x = x;
        deathAnimation.y = y;
        deathAnimation.draw(target);
    }
}

void Player::drawHud(plat::Surface& target) {
    if (number < 1 || number > AnimationLibrary::kPlayerCount) return;

    healthBar.draw(target, health);
    label.draw(target);

    const int lineY = healthBar.y + kHudLineBelowBar;
    int iconX = healthBar.x - kHudIconShift;
    if (library) {
        drawIcon(library->bombpowerup, iconX, lineY, target);
        drawIcon(library->explosionpowerup, iconX + tileSize, lineY, target);
    }

    iconX = healthBar.x + 2 * tileSize - kHudIconShift;
    auto icon = [&](bool held, Animation* picture) {
        if (!held) return;
        drawIcon(picture, iconX, lineY, target);
        iconX += tileSize;
    };
    icon(kick, library ? library->kickpowerup : nullptr);
    icon(missile, library ? library->missilepowerup : nullptr);
    icon(homingMissile, library ? library->homingmissilepowerup : nullptr);
    if (missile || homingMissile) {
        // The shots left, over the missile icon just drawn.
        missilesLeftText.setText(std::to_string(maxMissileCount() - missilesFired));
        missilesLeftText.setX(iconX - tileSize - 2);
        missilesLeftText.draw(target);
    }
    icon(dynamite, library ? library->dynamitepowerup : nullptr);
    icon(hammer, library ? library->hammerpowerup : nullptr);

    bombCountText.setText(std::to_string(bombCount));
    bombPowerText.setText(std::to_string(bombPower));
    bombCountText.draw(target);
    bombPowerText.draw(target);
}

bool Player::KeySource::down(int code) const {
    if (input) return input->isKeyDown(code);
    return windowKeyDown(code);
}

void Player::handleInput(Input* input) {
    if (!input || !input->getKeyboard()) {
        handleWindowInput();
        return;
    }
    readKeys(KeySource{input});
}

void Player::handleWindowInput() { readKeys(KeySource{nullptr}); }

void Player::readKeys(const KeySource& source) {
    if (dead || !active) return;
    const uint32_t now = plat::tickCount();

    if (now - inputTick > kDirectionPollMs) {
        inputTick = now;
        readDirectionKeys(source);
    }

    // Level-triggered: a held key asks again on every poll; dropBomb's own
    // rules keep it from stacking bombs.
    if (now - bombKeyTick > kBombKeyPollMs) {
        bombKeyTick = now;
        if (source.down(keys[KeyPrimary])) dropBomb();
    }

    readSecondaryKey(source);
}

void Player::readDirectionKeys(const KeySource& source) {
    const uint32_t now = plat::tickCount();
    bool before[dir::kCount];
    for (int d = 0; d < dir::kCount; ++d) before[d] = directionFlags[d];

    for (int d = 0; d < dir::kCount; ++d) {
        if (source.down(keys[keyFor(d)])) {
            speed = float(baseSpeed);
            // Of several held keys the last one in this order wins.
            setDirection(d);
            // Dust only on a reversal, not on a turn.
            if (before[opposite(d)]) spawnDust();
            momentumTick = now;
            continue;
        }
        if (!directionFlags[d]) continue;
        bool othersUp = true;
        for (int o = 0; o < dir::kCount; ++o) {
            if (o != d && !source.up(keys[keyFor(o)])) othersUp = false;
        }
        if (!othersUp) continue;

        // Released with nothing else held: the player glides on, losing one
        // speed unit per `momentum` ms.
        const uint32_t elapsed = now - momentumTick;
        if (elapsed > momentum) {
            if (momentum == 0) {
                speed = 0.0f;
            } else {
                speed -= float(elapsed / momentum);
                momentumTick = now;
            }
        }
        if (speed <= 0.0f) {
            directionFlags[d] = false;
            speed = float(baseSpeed);
        }
    }
}

void Player::readSecondaryKey(const KeySource& source) {
    const int key = keys[KeySecondary];
    if (source.up(key)) {
        hammerLatch = false;
        return;
    }

    // Dynamite left lying after the ability was given up still counts
    // against the bomb count, so its owner can still set it off: a player
    // must never be left with no bomb to drop.
    if (dynamite || ownsDynamiteOnField()) {
        const uint32_t now = plat::tickCount();
        if (now - detonationTick > kDetonationPollMs) {
            detonationTick = now;
            // With the keyboard device the detonator also sets off dynamite
            // that belongs to nobody; through window messages only its own.
            detonate(source.input != nullptr);
        }
    }
    if (hammer && !hammerLatch) {
        useHammer();
        hammerLatch = true;
    }
    if (missile || homingMissile)
        shootMissile();
    else
        missilesFired = 0;
}

void Player::detonate(bool includeOwnerless) {
    if (!bombs) return;
    for (Bomb& bomb : *bombs) {
        if (!bomb.active) continue;
        // Without the ability only its own sticks left lying go off.
        const bool mine = bomb.owner == this && (dynamite || bomb.isDynamite);
        const bool nobodys = dynamite && includeOwnerless && bomb.ownerless;
        if (mine || nobodys) bomb.explode();
    }
}

bool Player::ownsDynamiteOnField() const {
    if (!bombs) return false;
    for (const Bomb& bomb : *bombs) {
        if (bomb.active && !bomb.exploded && bomb.isDynamite && bomb.owner == this) return true;
    }
    return false;
}

void Player::releaseSounds() {
    plat::AudioSample** samples[] = {&blockSample, &bombDropSample, &deathSample, &healthSample,
                                     &kickSample,  &missileSample,  &powerupSample, &hurtSample};
    for (plat::AudioSample** sample : samples) {
        if (*sample) freeSample(*sample);
        *sample = nullptr;
    }
}

int Player::maxMissileCount() const { return versus ? multiplayerMaxMissiles : maxMissiles; }

int Player::startingHealth() const { return versus ? multiplayerMaxHealth : maxHealth; }

int Player::aheadColumn() const {
    if (direction == dir::kRight) return col + 1;
    if (direction == dir::kLeft) return col - 1;
    return col;
}

int Player::aheadRow() const {
    if (direction == dir::kUp) return row - 1;
    if (direction == dir::kDown) return row + 1;
    return row;
}
