#include "graphics/Animation.h"

#include <memory>

#include "platform/Clock.h"

Animation::Animation()
    : x(0),
      y(0),
      frameTime(0),
      playing(false),
      startTick(0),
      shared(false),
      currentFrame(0),
      frames(nullptr),
      frameCount(0),
      stillFrame(0),
      finished(false),
      frameSlots(0) {}

Animation::Animation(const Animation& other) : Animation() { copy(other); }

Animation::~Animation() { freeOwnedFrames(); }

void Animation::freeOwnedFrames() {
    if (!shared) delete[] frames;
    frames = nullptr;
    frameSlots = 0;
}

Bitmap* Animation::copyFrames(const Bitmap* source, int length) {
    if (!source || length <= 0) return nullptr;
    // Held by a smart pointer until complete, so a frame whose file has gone
    // (the copy throws) leaks nothing.
    std::unique_ptr<Bitmap[]> copies(new Bitmap[length]);
    for (int i = 0; i < length; ++i) copies[i].copy(source[i]);
    return copies.release();
}

void Animation::setup(int px, int py, const Bitmap* source, int count, int still, uint32_t time,
                      int length) {
    if (count < 0) count = 0;
    if (length < count) length = count;
    Bitmap* own = copyFrames(source, length);
    freeOwnedFrames();
    frames = own;
    frameSlots = own ? length : 0;
    shared = false;
    restart(px, py, count, still, time);
}

void Animation::setupShared(int px, int py, Bitmap* source, int count, int still, uint32_t time,
                            int length) {
    if (count < 0) count = 0;
    if (length < count) length = count;
    freeOwnedFrames();
    frames = source;
    frameSlots = source ? length : 0;
    shared = true;
    restart(px, py, count, still, time);
}

void Animation::restart(int px, int py, int count, int still, uint32_t time) {
    x = px;
    y = py;
    frameCount = count;
    stillFrame = still;
    currentFrame = still;
    frameTime = time;
    playing = false;
    finished = false;
    startTick = plat::tickCount();
}

void Animation::play() {
    startTick = plat::tickCount();
    finished = false;
    playing = true;
}

void Animation::stop() {
    currentFrame = stillFrame;
    playing = false;
}

void Animation::draw(plat::Surface& target) {
    if (frames && frameSlots > 0) {
        // A still frame from a missing key (-1) or past a short set shows the
        // first frame rather than reading outside the array.
        int shown = (currentFrame >= 0 && currentFrame < frameSlots) ? currentFrame : 0;
        Bitmap& frame = frames[shown];
        frame.x = x;
        frame.y = y;
        frame.draw(target);
    }
    if (!playing) return;

    uint32_t now = plat::tickCount();
    uint32_t perFrame = frameTime ? frameTime : 1;
    // Compared unsigned: a run left for a very long time must loop, not
    // turn into a negative frame index.
    uint32_t frame = (now - startTick) / perFrame;
    if (frame >= static_cast<uint32_t>(frameCount)) {
        finished = true;
        startTick = now;
        currentFrame = 0;
    } else {
        currentFrame = static_cast<int>(frame);
    }
}

void Animation::freeFrames() {
    delete[] frames;
    frames = nullptr;
    frameSlots = 0;
}

void Animation::copy(const Animation& other) {
    // The new frames come first: if one fails to load, this animation is
    // left as it was.
    Bitmap* newFrames = other.shared ? other.frames : copyFrames(other.frames, other.frameSlots);
    int newSlots = newFrames ? other.frameSlots : 0;
    Bitmap* oldOwned = (shared || frames == newFrames) ? nullptr : frames;

    x = other.x;
    y = other.y;
    frameCount = other.frameCount;
    currentFrame = other.currentFrame;
    startTick = other.startTick;
    frameTime = other.frameTime;
    playing = other.playing;
    stillFrame = other.stillFrame;
    finished = other.finished;
    shared = other.shared;
    frames = newFrames;
    frameSlots = newSlots;
    delete[] oldOwned;
}

Animation Animation::operator=(const Animation& other) {
    if (&other != this) copy(other);
    return *this;
}
