#include "world/MovingObject.h"

#include "platform/Clock.h"
#include "world/TileGrid.h"

MovingObject::MovingObject()
    : AnimatedObject(),
      stopWhenIdle(false),
      animateWhenIdle(false),
      directionFlags{false, false, false, false},
      frozen(false),
      speed(0.0f),
      currentStep(0.0f),
      direction(0),
      blocked(false),
      prevCol(0),
      prevRow(0),
      posX(0.0f),
      posY(0.0f),
      lastTick(0),
      moveAttempts(0),
      moveRefused(false) {}

MovingObject::MovingObject(const MovingObject& other) : MovingObject() {
    MovingObject::copy(other);
}

MovingObject::~MovingObject() = default;

void MovingObject::initMoving(int newValue, int newTileSize, int newCol, int newRow, int newWidth,
                              int newHeight, int newLayer, TileGrid* newGrid, bool newFrozen,
                              float newSpeed, const Animation* animations) {
    initAnimated(newValue, newTileSize, newCol, newRow, newWidth, newHeight, newLayer, newGrid,
                 animations ? animations[dir::kDown] : Animation());
    frozen = newFrozen;
    speed = newSpeed;
    currentStep = speed;
    direction = dir::kDown;
    prevCol = col;
    prevRow = row;
    posX = float(x);
    posY = float(y);
    if (animations) {
        for (int d = 0; d < dir::kCount; ++d) directionAnimations[d] = animations[d];
    }
    lastTick = plat::tickCount();
}

void MovingObject::copy(const MovingObject& other) {
    AnimatedObject::copy(other);
    stopWhenIdle = other.stopWhenIdle;
    animateWhenIdle = other.animateWhenIdle;
    for (int d = 0; d < dir::kCount; ++d) directionFlags[d] = other.directionFlags[d];
    frozen = other.frozen;
    speed = other.speed;
    currentStep = other.currentStep;
    for (int d = 0; d < dir::kCount; ++d) directionAnimations[d] = other.directionAnimations[d];
    direction = other.direction;
    blocked = other.blocked;
    prevCol = other.prevCol;
    prevRow = other.prevRow;
    posX = other.posX;
    posY = other.posY;
    lastTick = other.lastTick;
    moveAttempts = other.moveAttempts;
    moveRefused = other.moveRefused;
}

MovingObject MovingObject::operator=(const MovingObject& other) {
    if (this != &other) copy(other);
    return *this;
}

GridObject* MovingObject::clone() { return new MovingObject(*this); }

void MovingObject::draw(plat::Surface& target) {
    const uint32_t now = plat::tickCount();
    // The unsigned difference survives the tick count's wrap.
    const int elapsed = int(now - lastTick);
    lastTick = now;

    float step = float(elapsed) / kStepUnitMs * speed;
    if (step > kMaxStep) step = kMaxStep;
    // A clock that went back or a negative speed gives no step: a step
    // backwards would test the cells on the wrong side and pass walls.
    if (!(step > 0.0f)) step = 0.0f;
    currentStep = step;

    if (frozen)
        holdStill();
    else
        moveByDirection(step);

    Animation& facing = facingAnimation();
    facing.x = x;
    facing.y = y;
    facing.draw(target);
}

void MovingObject::remove() {
    markHitbox(0);
    active = false;
}

void MovingObject::setDirection(int d) {
    clearDirections();
    if (d >= 0 && d < dir::kCount) directionFlags[d] = true;
}

MovingObject::Box MovingObject::getBox() const {
    return Box{x + width - 1, x, y, y + height - 1};
}

MovingObject::Box MovingObject::getHitbox() const {
    return Box{x + width - kHitboxInsetRightBottom, x + kHitboxInsetLeftTop,
               y + kHitboxInsetLeftTop, y + height - kHitboxInsetRightBottom};
}

void MovingObject::markHitbox(int v) {
    const Box hit = getHitbox();
    writeTile(layer, toGrid(hit.right), toGrid(hit.top), v);
    writeTile(layer, toGrid(hit.right), toGrid(hit.bottom), v);
    writeTile(layer, toGrid(hit.left), toGrid(hit.top), v);
    writeTile(layer, toGrid(hit.left), toGrid(hit.bottom), v);

    // The cell under the picture's centre is the object's cell.
    const int newCol = toGrid(x + tileSize / 2);
    const int newRow = toGrid(y + tileSize / 2);
    if (newCol != col) {
        prevCol = col;
        prevRow = row;
        col = newCol;
    }
    if (newRow != row) {
        prevRow = row;
        prevCol = col;
        row = newRow;
    }
}

bool MovingObject::hitboxTouches(int layerIndex, int v) {
    const Box hit = getHitbox();
    return tileAt(layerIndex, toGrid(hit.right), toGrid(hit.top)) == v ||
           tileAt(layerIndex, toGrid(hit.right), toGrid(hit.bottom)) == v ||
           tileAt(layerIndex, toGrid(hit.left), toGrid(hit.top)) == v ||
           tileAt(layerIndex, toGrid(hit.left), toGrid(hit.bottom)) == v;
}

int MovingObject::getPrevCol() { return prevCol; }

int MovingObject::getPrevRow() { return prevRow; }

void MovingObject::clearDirections() {
    for (bool& flag : directionFlags) flag = false;
}

bool MovingObject::isMoving() {
    return directionFlags[0] || directionFlags[1] || directionFlags[2] || directionFlags[3];
}

bool MovingObject::canPass(int, int) { return true; }

void MovingObject::setAnimationSpeed(int ms) {
    // Read as unsigned like every frame time: a missing speed (-1) holds the
    // first frame instead of flickering through the set.
    for (Animation& a : directionAnimations) a.frameTime = uint32_t(ms);
}

int MovingObject::getDirection() { return direction; }

bool MovingObject::isBlocked(int c, int r) { return tileAt(layer, c, r) != cell::kEmpty; }

bool MovingObject::slidesRound(int, int) { return true; }

void MovingObject::moveRight(float step, Box box, bool slide) {
    move(dir::kRight, step, box, slide);
}

void MovingObject::moveLeft(float step, Box box, bool slide) { move(dir::kLeft, step, box, slide); }

void MovingObject::moveUp(float step, Box box, bool slide) { move(dir::kUp, step, box, slide); }

void MovingObject::moveDown(float step, Box box, bool slide) { move(dir::kDown, step, box, slide); }

void MovingObject::callMove(int d, float step, const Box& box, bool slide) {
    switch (d) {
        case dir::kRight: moveRight(step, box, slide); break;
        case dir::kLeft: moveLeft(step, box, slide); break;
        case dir::kUp: moveUp(step, box, slide); break;
        default: moveDown(step, box, slide); break;
    }
}

void MovingObject::holdStill() {}

void MovingObject::moveByDirection(float step) {
    const Box box = getBox();
    moveAttempts = 0;
    moveRefused = false;
    blocked = isMoving();

    for (int d = 0; d < dir::kCount; ++d) {
        if (!directionFlags[d]) continue;
        callMove(d, step, box, true);
        direction = d;
    }

    Animation& facing = facingAnimation();
    if (stopWhenIdle) {
        if (!isMoving())
            facing.stop();
        else if (!facing.playing)
            facing.play();
    }
    if (animateWhenIdle) facing.playing = true;

    if (active) markHitbox(value);
}

Animation& MovingObject::facingAnimation() {
    // direction is public; anything outside 0..3 faces down.
    return directionAnimations[direction >= 0 && direction < dir::kCount ? direction : dir::kDown];
}

// The four moves are one algorithm along an axis. For a horizontal move the
// main axis runs along the columns and the two sides are the rows of the
// box's top and bottom; for a vertical one the roles swap. `sign` is +1 for
// right and down.
void MovingObject::move(int d, float step, const Box& box, bool slide) {
    ++moveAttempts;
    if (frozen || moveAttempts > kMaxMoveAttempts) {
        moveRefused = true;
        return;
    }

    const bool horizontal = d == dir::kRight || d == dir::kLeft;
    const int sign = (d == dir::kRight || d == dir::kDown) ? 1 : -1;
    const int lead = horizontal ? (sign > 0 ? box.right : box.left)
                                : (sign > 0 ? box.bottom : box.top);
    const int trail = horizontal ? (sign > 0 ? box.left : box.right)
                                 : (sign > 0 ? box.top : box.bottom);
    // The sides, first and second: top and bottom, or left and right.
    const int firstEdge = horizontal ? box.top : box.left;
    const int secondEdge = horizontal ? box.bottom : box.right;
    const int firstSide = toGrid(firstEdge);
    const int secondSide = toGrid(secondEdge);

    // (main, side) cell in the move's own terms.
    auto blockedAt = [&](int main, int side) {
        return horizontal ? isBlocked(main, side) : isBlocked(side, main);
    };
    auto advance = [&](float by) {
        // Leave 0 where the trailing edge stood, but never take a block's mark.
        const int trailCell = toGrid(trail);
        for (int side : {firstSide, secondSide}) {
            const int c = horizontal ? trailCell : side;
            const int r = horizontal ? side : trailCell;
            if (!cell::isBlock(tileAt(layer, c, r))) writeTile(layer, c, r, cell::kEmpty);
        }
        if (horizontal) {
            posX += float(sign) * by;
            x = int(posX);
        } else {
            posY += float(sign) * by;
            y = int(posY);
        }
        blocked = false;
    };

    const int ahead = toGrid(int(float(lead) + float(sign) * step));
    const bool firstBlocked = blockedAt(ahead, firstSide);
    if (!firstBlocked && !blockedAt(ahead, secondSide)) {
        advance(step);
        return;
    }

    if (slide) {
        // Against a corner with one side free: slide toward the free side,
        // by the largest of currentStep, currentStep - 0.5, ... that fits.
        const bool secondBlocked = !firstBlocked || blockedAt(ahead, secondSide);
        if (firstBlocked == secondBlocked) return;  // both blocked: a wall
        const int obstacleSide = firstBlocked ? firstSide : secondSide;
        if (!(horizontal ? slidesRound(ahead, obstacleSide) : slidesRound(obstacleSide, ahead)))
            return;
        const int towardSign = firstBlocked ? 1 : -1;
        const int towardEdge = firstBlocked ? secondEdge : firstEdge;
        const int slideDir = horizontal ? (firstBlocked ? dir::kDown : dir::kUp)
                                        : (firstBlocked ? dir::kRight : dir::kLeft);
        const int leadCell = toGrid(lead);
        float t = currentStep;
        for (;;) {
            const int side = toGrid(int(float(towardEdge) + float(towardSign) * t));
            if (!blockedAt(ahead, side) && !blockedAt(leadCell, side)) break;
            currentStep -= 0.5f;
            t = currentStep;
            if (!(currentStep > 0.0f)) {
                currentStep = 1.0f;
                break;
            }
        }
        callMove(slideDir, currentStep, box, false);
        return;
    }

    // A sideways move that does not fit whole: one pixel, or a slide of its own.
    const int nextCell = toGrid(lead + sign);
    if (!blockedAt(nextCell, firstSide) && !blockedAt(nextCell, secondSide)) {
        advance(1.0f);
    } else {
        callMove(d, currentStep, box, true);
    }
}
