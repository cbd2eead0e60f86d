// A player's missile that steers itself: every frame it picks the nearest
// target (an enemy, or in versus play another live player), searches a route
// to it and turns onto the route. It never reverses, so a target behind it
// is reached only round a block; it bursts on the target's cell, when
// blocked, or when an explosion touches it.
#pragma once

#include <list>

#include "actors/Missile.h"
#include "actors/PathNode.h"

class Enemy;
class Player;

class HomingMissile : public Missile {
public:
    HomingMissile();
    HomingMissile(const HomingMissile& other);
    ~HomingMissile() override;

    void draw(plat::Surface& target) override;
    GridObject* clone() override;
    // Route cells a homing missile may cross: missiles, bombs and its
    // targets' marks.
    bool canPass(int col, int row) override;
    // Not round the cell of the target it hunts (in co-op, of any enemy): it
    // bursts there. Sliding past a target one cell off its line would let it
    // circle a standing target for ever. Round anything else it slides like
    // any mover, and with no target at all it is a plain missile.
    bool slidesRound(int col, int row) override;

    // Added after Missile's operations, in this order.
    // Missile's fourteen values, then the candidate lists, whether it hunts
    // players (versus) and the shooter's number (never its own target).
    virtual void initHomingMissile(int value, int tileSize, int col, int row, int width,
                                   int height, int layer, TileGrid* grid, bool frozen,
                                   float speed, const Animation* animations,
                                   std::list<Explosion>* explosions, AnimationLibrary* library,
                                   int direction, std::list<Player>* players,
                                   std::list<Enemy>* enemies, bool targetsPlayers,
                                   int shooterNumber);
    virtual void copy(const HomingMissile& other);
    virtual HomingMissile operator=(const HomingMissile& other);

    using Missile::copy;
    using Missile::operator=;

    std::list<Player>* players;  // the Level's; not owned
    std::list<Enemy>* enemies;   // the Level's; not owned
    int shooterNumber;
    std::list<PathNode> path;  // the route of the last search
    PathNode nextStep;         // the cell it steers to (x column, y row)
    bool targetsPlayers;
    bool noTarget;  // no target this frame: it flies straight on
    // This frame's move was stopped beside its line by its target's cell:
    // the burst goes there.
    bool stoppedAtTarget;
    int stopCol;
    int stopRow;

private:
    // The mark its targets leave: players' in versus play, else enemies'.
    int targetMark() const;
    // Whether (c, r) is a cell of the target it hunts, which it bursts on
    // rather than slide round.
    bool isQuarryCell(int c, int r) const;
    // Bursts on the cell it was stopped at, else as a missile does.
    void burstHere();
    // The nearest target; null when there is none.
    const MovingObject* chooseTarget() const;

    // The target as this frame's move begins (the move runs before the
    // frame's own choice); null outside the move and when there is none.
    const MovingObject* quarry;
};
