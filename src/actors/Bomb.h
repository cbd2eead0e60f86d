// A bomb or a stick of dynamite lying on the play field (value 6 on layer 3).
// A bomb burns a fuse of bombTime ms and blinks faster in its last part;
// dynamite has no fuse and goes off only by remote detonation or when an
// explosion reaches it. Either way explode() lays a cross of Explosion pieces
// on the bomb's cell and along the four arms, up to the bomb's power.
//
// A kicked bomb slides in the kick's direction (setDirection) until the
// first obstacle. Once exploded, a bomb stays active but invisible for
// 700 ms so that its sound can finish, then goes inactive; it stays in the
// Level's list until the stage is cleaned up.
#pragma once

#include <cstdint>
#include <list>

#include "platform/Audio.h"
#include "world/MovingObject.h"

class AnimationLibrary;
class Explosion;
class Player;

class Bomb : public MovingObject {
public:
    // A bomb that has blinked this long blinks faster; the fuse is tested
    // only from then on.
    static constexpr uint32_t kFastBlinkMs = 1400;
    static constexpr uint32_t kSlowFrameMs = 200;
    static constexpr uint32_t kFastFrameMs = 80;
    // How long an exploded bomb keeps its sound before it goes.
    static constexpr uint32_t kSoundLingerMs = 700;

    Bomb();
    Bomb(const Bomb& other);
    ~Bomb() override;

    // One frame: the fuse, the slide of a kicked bomb, the chain reaction.
    void draw(plat::Surface& target) override;
    GridObject* clone() override;
    // Clears the hitbox cells whoever stands there, and goes inactive.
    void remove() override;
    // Marks only while nobody (player or enemy) overlaps the bomb, so a bomb
    // dropped under a player leaves the player's marks in place.
    void markHitbox(int v) override;
    // Anything but the bomb's own mark in the direction it slides stops it.
    bool isBlocked(int c, int r) override;

    // anims: four, right, left, up, down (all the same bomb or dynamite set).
    // owner may be null (a bomb that belongs to nobody).
    void init(int value, int tileSize, int col, int row, int width, int height, int layer,
              TileGrid* grid, bool frozen, float speed, const Animation* anims,
              std::list<Explosion>* explosions, AnimationLibrary* library, int power,
              Player* owner, bool isDynamite);
    // Lays the explosion cross; does nothing the second time.
    void explode();
    // Keep the fuse (or the sound's 700 ms) still across the pause screen.
    void pause();
    void resume();

    void copy(const Bomb& other);
    Bomb operator=(const Bomb& other);
    using MovingObject::copy;
    using MovingObject::operator=;

    int power;  // cells each arm may reach
    Player* owner;  // null for a bomb nobody placed; not owned
    bool ownerless;
    std::list<Explosion>* explosions;  // the Level's list; not owned
    uint32_t placedAt;                 // start of the fuse
    AnimationLibrary* library;         // not owned
    bool isDynamite;
    // This bomb's own load of the "explosion" sample. Copies of one bomb
    // share it by reference count; the last holder frees it.
    plat::AudioSample* explosionSound;
    bool exploded;
    uint32_t explodedAt;
    uint32_t pausedElapsed;

private:
    // Drops this object's hold on explosionSound (freed with the last one).
    void releaseSound();
    // One explosion piece on (c, r), added at the front of the list.
    void addPiece(int c, int r, const Animation* anim);
};
