// The base of everything that walks, slides or flies (players, enemies,
// kicked bombs, missiles). It keeps an exact pixel position, moves each
// frame by a step made from the time since the last frame, tests the cells
// ahead of its box, slides around block corners, keeps four direction
// animations and marks the cells under a hitbox smaller than its picture.
//
// Derived classes choose where to go by setting the direction flags and
// what stops them by overriding isBlocked.
//
// Speeds are pixels per 15.38 ms; a frame moves at most 10 px however long
// the gap since the last one, so a pause or a stall cannot carry an object
// through a wall.
#pragma once

#include <cstdint>

#include "world/AnimatedObject.h"
#include "world/CellValues.h"

class MovingObject : public AnimatedObject {
public:
    // Pixel edges, inclusive.
    struct Box {
        int right;
        int left;
        int top;
        int bottom;
    };

    static constexpr float kStepUnitMs = 15.38f;
    static constexpr float kMaxStep = 10.0f;
    // Move operations one frame may run, the corner slides included.
    static constexpr int kMaxMoveAttempts = 4;
    // The hitbox lies this far inside the left/top and right/bottom edges.
    static constexpr int kHitboxInsetLeftTop = 8;
    static constexpr int kHitboxInsetRightBottom = 9;

    MovingObject();
    MovingObject(const MovingObject& other);
    ~MovingObject() override;

    // One frame: the step from the time since the last draw, the moves the
    // direction flags ask for, the hitbox marks, and the facing animation.
    void draw(plat::Surface& target) override;
    GridObject* clone() override;
    // Clears the hitbox cells (through markHitbox) and goes inactive.
    void remove() override;

    // Added after AnimatedObject's operations, in this order.
    // animations: four, right, left, up, down (none: the object has none).
    virtual void initMoving(int value, int tileSize, int col, int row, int width, int height,
                            int layer, TileGrid* grid, bool frozen, float speed,
                            const Animation* animations);
    virtual void copy(const MovingObject& other);
    virtual MovingObject operator=(const MovingObject& other);
    // Only flag d set (none for a number outside 0..3).
    virtual void setDirection(int d);
    // Writes v under the four hitbox corners and follows the cell of the
    // picture's centre (col, row and the previous cell).
    virtual void markHitbox(int v);
    virtual bool hitboxTouches(int layerIndex, int v);
    virtual int getPrevCol();
    virtual int getPrevRow();
    virtual void clearDirections();
    virtual bool isMoving();
    // The path search's passability question; anything may be crossed here.
    virtual bool canPass(int c, int r);
    virtual void setAnimationSpeed(int ms);
    virtual int getDirection();
    // Whether (c, r) stops this object: here, anything non-zero on its layer.
    virtual bool isBlocked(int c, int r);
    virtual void moveRight(float step, Box box, bool slide);
    virtual void moveLeft(float step, Box box, bool slide);
    virtual void moveUp(float step, Box box, bool slide);
    virtual void moveDown(float step, Box box, bool slide);
    // Whether a move that meets (c, r) with one side of its box may slide
    // round it toward the free side; here every obstacle may be slid round.
    virtual bool slidesRound(int c, int r);

    using AnimatedObject::copy;
    using AnimatedObject::operator=;

    // Runs the moves of every set flag with this frame's step, all from the
    // box as it stood at the start of the frame, then updates the facing
    // animation and the hitbox marks.
    void moveByDirection(float step);
    // What a frozen object does instead of moving: nothing.
    void holdStill();
    Box getHitbox() const;
    Box getBox() const;

    bool stopWhenIdle;
    bool animateWhenIdle;
    bool directionFlags[dir::kCount];  // right, left, up, down
    bool frozen;
    float speed;
    float currentStep;  // this frame's step; lowered by corner slides
    Animation directionAnimations[dir::kCount];
    int direction;  // facing
    bool blocked;   // a move was asked for last frame and none succeeded
    int prevCol;
    int prevRow;
    float posX;
    float posY;
    uint32_t lastTick;
    int moveAttempts;
    bool moveRefused;

private:
    // The one move algorithm behind moveRight/Left/Up/Down.
    void move(int d, float step, const Box& box, bool slide);
    // A move through the virtual table.
    void callMove(int d, float step, const Box& box, bool slide);
    Animation& facingAnimation();
};
