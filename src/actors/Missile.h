// A shot flying straight in one direction (value 7 on layer 3) until
// something stops it; then it bursts into one explosion on the cell ahead
// (or on its own cell in front of a solid wall) and stays, invisible, for
// 700 ms while its sound plays out.
#pragma once

#include <cstdint>
#include <list>

#include "platform/Audio.h"
#include "world/MovingObject.h"

class AnimationLibrary;
class Explosion;

class Missile : public MovingObject {
public:
    // Cells held by players and enemies do not stop a missile this young,
    // so the shooter's own marks around the launch cell let it out.
    static constexpr uint32_t kLaunchGraceMs = 90;
    // Time from the burst until the missile frees its sound and goes.
    static constexpr uint32_t kAfterBurstMs = 700;

    Missile();
    Missile(const Missile& other);
    ~Missile() override;

    // One frame: flight, then the burst when blocked or touching an explosion.
    void draw(plat::Surface& target) override;
    GridObject* clone() override;
    bool isBlocked(int col, int row) override;
    // A missile slides round the corners of blocks like every mover, but
    // never round a player, an enemy or a bomb: the move stops and the
    // missile bursts on that cell. Sliding past a target one cell off its
    // line would let a homing missile circle a standing target for ever.
    void moveRight(float step, Box box, bool slide) override;
    void moveLeft(float step, Box box, bool slide) override;
    void moveUp(float step, Box box, bool slide) override;
    void moveDown(float step, Box box, bool slide) override;

    // Added after MovingObject's operations, in this order.
    // The moving object's eleven values, then where its burst goes, the
    // library and the direction (0 right, 1 left, 2 up, 3 down) it flies in.
    virtual void initMissile(int value, int tileSize, int col, int row, int width, int height,
                             int layer, TileGrid* grid, bool frozen, float speed,
                             const Animation* animations, std::list<Explosion>* explosions,
                             AnimationLibrary* library, int direction);
    // Bursts once; later calls do nothing.
    virtual void explode();
    virtual void copy(const Missile& other);
    virtual Missile operator=(const Missile& other);

    using MovingObject::copy;
    using MovingObject::operator=;

    // Only the 700 ms after the burst stand still during a pause.
    void pause();
    void resume();

    // Frees the sound if the missile still holds it (a missile still in
    // flight when the stage ends); safe to call more than once.
    void releaseSound();

    std::list<Explosion>* explosions;  // the Level's; not owned
    AnimationLibrary* library;         // source of the burst animation; not owned
    plat::AudioSample* explosionSound;
    bool exploded;
    uint32_t explodedAt;
    uint32_t pausedElapsed;
    uint32_t launchedAt;
    // The cell of the player, enemy or bomb that stopped the missile in this
    // frame; the burst goes there.
    bool struck;
    int struckCol;
    int struckRow;

protected:
    // Step 1 of every frame: after the burst, wait and then go. True when the
    // missile has burst (nothing else runs in that frame).
    bool afterBurst();
    // Called before every frame's move: forget last frame's hit.
    void clearStrike() { struck = false; }

private:
    // True (and the cell noted) when the move in direction d would run into
    // something that stops a missile and is not a block.
    bool strikes(int d, float step, const Box& box);
};
