#include "actors/Bomb.h"

#include <map>

#include "actors/Explosion.h"
#include "actors/Player.h"
#include "graphics/AnimationLibrary.h"
#include "platform/Clock.h"
#include "shell/Config.h"
#include "shell/FilePaths.h"
#include "shell/Sound.h"
#include "world/TileGrid.h"

namespace {

// Holders of each loaded explosion sound. A bomb is set up as a local
// prototype and copied into the Level's list, so several objects carry one
// handle; the sound is freed when the last of them lets go, whether that is
// the bomb 700 ms after its explosion or a stage cleared while it burned.
// Never destroyed: a Level held by a global may free its bombs after the
// other statics have gone.
std::map<plat::AudioSample*, int>& soundHolders() {
    static auto* holders = new std::map<plat::AudioSample*, int>;
    return *holders;
}

void holdSound(plat::AudioSample* sound) {
    if (sound) ++soundHolders()[sound];
}

void letGoOfSound(plat::AudioSample* sound) {
    if (!sound) return;
    auto& holders = soundHolders();
    auto it = holders.find(sound);
    if (it == holders.end()) return;  // never ours to free
    if (--it->second > 0) return;
    holders.erase(it);
    freeSample(sound);
}

// One arm of the cross: its step and the pictures of its pieces.
struct Arm {
    int dx;
    int dy;
    Animation* AnimationLibrary::*middle;
    Animation* AnimationLibrary::*tip;
};

const Arm kArms[dir::kCount] = {
    {1, 0, &AnimationLibrary::explosionhorizontal, &AnimationLibrary::explosiontipright},
    {-1, 0, &AnimationLibrary::explosionhorizontal, &AnimationLibrary::explosiontipleft},
    {0, -1, &AnimationLibrary::explosionvertical, &AnimationLibrary::explosiontipup},
    {0, 1, &AnimationLibrary::explosionvertical, &AnimationLibrary::explosiontipdown},
};

}  // namespace

Bomb::Bomb()
    : MovingObject(),
      power(0),
      owner(nullptr),
      ownerless(false),
      explosions(nullptr),
      placedAt(0),
      library(nullptr),
      isDynamite(false),
      explosionSound(nullptr),
      exploded(false),
      explodedAt(0),
      pausedElapsed(0) {}

Bomb::Bomb(const Bomb& other) : Bomb() { Bomb::copy(other); }

Bomb::~Bomb() { releaseSound(); }

void Bomb::copy(const Bomb& other) {
    MovingObject::copy(other);
    power = other.power;
    owner = other.owner;
    ownerless = other.ownerless;
    explosions = other.explosions;
    placedAt = other.placedAt;
    library = other.library;
    isDynamite = other.isDynamite;
    if (explosionSound != other.explosionSound) {
        holdSound(other.explosionSound);
        releaseSound();
        explosionSound = other.explosionSound;
    }
    exploded = other.exploded;
    explodedAt = other.explodedAt;
    pausedElapsed = other.pausedElapsed;
}

Bomb Bomb::operator=(const Bomb& other) {
    if (this != &other) copy(other);
    return *this;
}

GridObject* Bomb::clone() { return new Bomb(*this); }

void Bomb::releaseSound() {
    letGoOfSound(explosionSound);
    explosionSound = nullptr;
}

void Bomb::init(int newValue, int newTileSize, int newCol, int newRow, int newWidth,
                int newHeight, int newLayer, TileGrid* newGrid, bool newFrozen, float newSpeed,
                const Animation* anims, std::list<Explosion>* explosionList,
                AnimationLibrary* animationLibrary, int newPower, Player* newOwner,
                bool dynamite) {
    initMoving(newValue, newTileSize, newCol, newRow, newWidth, newHeight, newLayer, newGrid,
               newFrozen, newSpeed, anims);

    releaseSound();  // a bomb set up twice keeps only its newest sound
    explosionSound = loadSample(getPathString("audio", "explosion"));
    holdSound(explosionSound);

    library = animationLibrary;
    explosions = explosionList;
    power = newPower;
    owner = newOwner;
    placedAt = plat::tickCount();
    isDynamite = dynamite;
    ownerless = owner == nullptr;
    exploded = false;
    explodedAt = 0;
    pausedElapsed = 0;

    for (Animation& a : directionAnimations) {
        a.play();
        a.frameTime = kSlowFrameMs;
    }
}

void Bomb::draw(plat::Surface& target) {
    const uint32_t now = plat::tickCount();
    if (exploded) {
        // Invisible now; kept only until its sound has had time to play.
        if (now - explodedAt > kSoundLingerMs) {
            releaseSound();
            active = false;
        }
        return;
    }

    MovingObject::draw(target);

    if (!isDynamite) {
        const uint32_t burnt = now - placedAt;
        if (burnt > kFastBlinkMs) {
            directionAnimations[direction >= 0 && direction < dir::kCount ? direction : dir::kDown]
                .frameTime = kFastFrameMs;
            // Compared wide: a negative bombTime from a bad config goes off
            // with the fast blink rather than never.
            if (int64_t(burnt) > int64_t(bombTime)) explode();
        }
    }

    // Chain reaction: any explosion under the bomb sets it off, kicked or not.
    if (hitboxTouches(layer::kExplosions, cell::kExplosion)) explode();

    // A sliding bomb stops at the first thing in its way.
    if (blocked) clearDirections();
}

void Bomb::explode() {
    if (exploded) return;

    remove();
    // Stays in the list, invisible, until its sound has played.
    exploded = true;
    active = true;

    if (owner) owner->bombExploded();

    col = toGrid(x + tileSize / 2);
    row = toGrid(y + tileSize / 2);

    addPiece(col, row, library ? library->explosioncentre : nullptr);

    // Power is how many cells each arm reaches: 0 burns the centre alone.
    if (grid && power != 0) {
        for (const Arm& arm : kArms) {
            for (int i = 1;; ++i) {
                const int c = col + i * arm.dx;
                const int r = row + i * arm.dy;
                const int beyondCol = col + (i + 1) * arm.dx;
                const int beyondRow = row + (i + 1) * arm.dy;
                // No arm reaches the outermost ring: it needs a cell beyond.
                if (arm.dx != 0 ? !grid->isValidX(beyondCol) : !grid->isValidY(beyondRow)) break;

                const int here = tileAt(layer, c, r);
                const int beyond = tileAt(layer, beyondCol, beyondRow);
                if (here == cell::kSolid) break;
                // A negative reach (a bad config) still burns the first cell
                // rather than running on to the walls.
                if (here == cell::kBreakable || beyond == cell::kSolid || i >= power) {
                    addPiece(c, r, library ? library->*arm.tip : nullptr);
                    break;
                }
                addPiece(c, r, library ? library->*arm.middle : nullptr);
            }
        }
    }

    playSample(explosionSound);
    explodedAt = plat::tickCount();
}

void Bomb::addPiece(int c, int r, const Animation* anim) {
    if (!explosions) return;
    Explosion piece;
    piece.initAnimated(cell::kExplosion, tileSize, c, r, width, height, layer::kExplosions, grid,
                       anim ? *anim : Animation());
    explosions->push_front(piece);
}

void Bomb::remove() {
    // The base marking on purpose: the cells are cleared even under a player.
    MovingObject::markHitbox(cell::kEmpty);
    active = false;
}

void Bomb::markHitbox(int v) {
    if (hitboxTouches(layer, cell::kPlayer) || hitboxTouches(layer, cell::kEnemy)) return;
    MovingObject::markHitbox(v);
}

bool Bomb::isBlocked(int c, int r) {
    const int v = tileAt(layer, c, r);
    if (v == cell::kEmpty) return false;
    if (v != cell::kBomb) return true;
    // A 6 just ahead of the edge the bomb slides with is its own mark.
    const Box hit = getHitbox();
    if (directionFlags[dir::kRight] && c == toGrid(hit.right)) return false;
    if (directionFlags[dir::kLeft] && c == toGrid(hit.left)) return false;
    if (directionFlags[dir::kUp] && r == toGrid(hit.top)) return false;
    if (directionFlags[dir::kDown] && r == toGrid(hit.bottom)) return false;
    return true;
}

void Bomb::pause() {
    const uint32_t now = plat::tickCount();
    pausedElapsed = exploded ? now - explodedAt : now - placedAt;
}

void Bomb::resume() {
    const uint32_t now = plat::tickCount();
    if (exploded)
        explodedAt = now - pausedElapsed;
    else
        placedAt = now - pausedElapsed;
}
