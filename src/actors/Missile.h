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

protected:
    // Step 1 of every frame: after the burst, wait and then go. True when the
    // missile has burst (nothing else runs in that frame).
    bool afterBurst();
    // Bursts once, as explode() does, but on (c, r) instead of the cell ahead.
    void explodeOn(int c, int r);

private:
    // The start of every burst: the missile takes the cell under its centre,
    // clears its marks and stays in its list, invisible. False when it had
    // burst already.
    bool beginBurst();
    // The explosion on (c, r) and the sound.
    void burst(int c, int r);
};
