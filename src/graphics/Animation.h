// A timed sequence of Bitmap frames drawn at one position. The frame shown
// is chosen from the time since the run started, so the speed does not
// depend on the draw rate; a playing animation loops and sets `finished`
// once it has passed its last frame. A stopped one shows its still frame.
//
// Frames are either owned (set up with setup(), or copied from an owned
// animation: every copy loads its own) or shared (setupShared(): the array
// belongs to someone else, usually the AnimationLibrary, and only
// freeFrames() frees it).
//
// The frame array may be longer than the frames cycled through: a walk set
// can cycle all frames but the last and stand on the last one.
//
// Safe with odd data: a frame time of 0 runs as 1 ms per frame; a current or
// still frame outside the array shows frame 0; an animation without frames
// draws nothing.
#pragma once

#include <cstdint>

#include "graphics/Bitmap.h"

namespace plat {
class Surface;
}

class Animation {
public:
    Animation();
    Animation(const Animation& other);
    ~Animation();

    // Takes its own copy of frames[0 .. length-1] (each frame loads its file
    // again); the caller keeps its array. length defaults to count, the
    // number of frames cycled; a longer array holds frames that are shown
    // only as the still frame.
    void setup(int x, int y, const Bitmap* frames, int count, int stillFrame, uint32_t frameTime,
               int length = -1);
    // The same on the caller's array, without copying; the caller frees it.
    void setupShared(int x, int y, Bitmap* frames, int count, int stillFrame, uint32_t frameTime,
                     int length = -1);

    // Restarts the run now; the frame changes at the next draw.
    void play();
    // Back to the still frame, not advancing.
    void stop();

    // Draws the current frame at (x, y), then, while playing, picks the frame
    // for the next draw from the elapsed time.
    void draw(plat::Surface& target);

    bool isFinished() const { return finished; }
    void clearFinished() { finished = false; }
    int getFrameCount() const { return frameCount; }

    // Frees the frame array whether or not it is shared.
    void freeFrames();

    void copy(const Animation& other);
    Animation operator=(const Animation& other);

    int getCurrentFrame() const { return currentFrame; }
    // The frame the next draw shows (one outside the array shows frame 0).
    void setCurrentFrame(int frame) { currentFrame = frame; }
    int getStillFrame() const { return stillFrame; }
    bool isShared() const { return shared; }
    const Bitmap* getFrames() const { return frames; }
    int getFrameSlots() const { return frameSlots; }

    // Written directly by the users.
    int x;
    int y;
    uint32_t frameTime;
    bool playing;
    uint32_t startTick;

private:
    // The common tail of both set-ups: stopped on the still frame, from now.
    void restart(int px, int py, int count, int still, uint32_t time);
    void freeOwnedFrames();
    static Bitmap* copyFrames(const Bitmap* source, int length);

    bool shared;
    int currentFrame;
    Bitmap* frames;
    int frameCount;
    int stillFrame;
    bool finished;
    int frameSlots;  // length of the frame array
};
