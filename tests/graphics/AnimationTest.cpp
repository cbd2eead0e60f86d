#include "graphics/Animation.h"

#include <cstdio>
#include <vector>

#include "GraphicsFixture.h"

using namespace gfxtest;
using plat::headless::setTicks;

namespace {

class AnimationTest : public GraphicsTest {
protected:
    // n frames of 2 x 2, frame i in frameColour(i), in an array the test owns.
    std::vector<Bitmap> makeFrames(int n) {
        std::vector<Bitmap> frames(n);
        for (int i = 0; i < n; ++i) {
            std::string path = file("f" + std::to_string(i) + ".bmp");
            writeBmp(path, 2, 2, frameColour(i));
            frames[i].load(path, 2, 2);
        }
        return frames;
    }
};

TEST_F(AnimationTest, ChoosesFramesFromElapsedTimeAndLoops) {
    auto frames = makeFrames(4);
    Animation a;
    a.setupShared(0, 0, frames.data(), 4, 2, 100);
    EXPECT_EQ(drawnFrame(a), 2) << "a new animation shows its still frame";
    a.play();
    EXPECT_EQ(drawnFrame(a), 2) << "the first draw after play shows the frame current before";
    setTicks(1250);
    EXPECT_EQ(drawnFrame(a), 0);
    setTicks(1399);
    EXPECT_EQ(drawnFrame(a), 2);
    EXPECT_FALSE(a.isFinished());
    setTicks(1400);
    EXPECT_EQ(drawnFrame(a), 3);
    EXPECT_TRUE(a.isFinished());
    EXPECT_EQ(a.startTick, 1400u) << "the next run starts at once";
    setTicks(1510);
    EXPECT_EQ(drawnFrame(a), 0);
    EXPECT_EQ(a.getCurrentFrame(), 1);
    EXPECT_TRUE(a.isFinished()) << "finished stays set while looping";

    a.stop();
    setTicks(9000);
    EXPECT_EQ(drawnFrame(a), 2);
    EXPECT_EQ(drawnFrame(a), 2);
    a.clearFinished();
    EXPECT_EQ(drawnFrame(a), 2);
    EXPECT_FALSE(a.isFinished()) << "a stopped animation neither advances nor finishes";

    // One frame: every draw at or after frameTime finishes a run.
    Animation one;
    one.setupShared(0, 0, frames.data(), 1, 0, 50);
    one.play();
    setTicks(9049);
    drawnFrame(one);
    EXPECT_FALSE(one.isFinished());
    setTicks(9050);
    EXPECT_EQ(drawnFrame(one), 0);
    EXPECT_TRUE(one.isFinished());
}

TEST_F(AnimationTest, ElapsedTimeIsUnsignedAcrossTheTickWrapAndLongGaps) {
    auto frames = makeFrames(4);
    Animation a;
    a.setupShared(0, 0, frames.data(), 4, 0, 100);
    setTicks(0xFFFFFFF0u);
    a.play();
    setTicks(0x000000B0u);  // 192 ms later
    drawnFrame(a);
    EXPECT_EQ(a.getCurrentFrame(), 1);

    // Billions of frames later the run loops instead of indexing past the
    // array.
    a.frameTime = 1;
    a.play();
    setTicks(0x000000B0u + 3000000000u);
    drawnFrame(a);
    EXPECT_EQ(a.getCurrentFrame(), 0);
    EXPECT_TRUE(a.isFinished());
}

TEST_F(AnimationTest, OddDataIsDrawnSafely) {
    auto frames = makeFrames(3);
    Animation zero;  // frame time 0 runs as 1 ms per frame
    zero.setupShared(0, 0, frames.data(), 3, 0, 0);
    zero.play();
    setTicks(1002);
    drawnFrame(zero);
    EXPECT_EQ(zero.getCurrentFrame(), 2);
    setTicks(1003);
    drawnFrame(zero);
    EXPECT_TRUE(zero.isFinished());

    for (int still : {-1, 3, 1000}) {  // outside the frames: the first frame
        Animation a;
        a.setup(0, 0, frames.data(), 3, still, 100);
        EXPECT_EQ(drawnFrame(a), 0) << still;
    }

    Animation none;  // no frames: nothing drawn, no crash
    EXPECT_EQ(drawnFrame(none), -1);
    none.setupShared(0, 0, nullptr, -1, -1, 100);
    none.play();
    setTicks(5000);
    EXPECT_EQ(drawnFrame(none), -1);
    EXPECT_EQ(drawnFrame(none), -1);
}

TEST_F(AnimationTest, SharedFramesStayWithTheirOwnerOwnedFramesWithEachCopy) {
    auto frames = makeFrames(2);
    Bitmap* array = new Bitmap[2];
    array[0].copy(frames[0]);
    array[1].copy(frames[1]);
    Animation owner;
    owner.setupShared(0, 0, array, 2, 1, 100);
    {
        Animation copied(owner);
        Animation assigned;
        assigned.setup(0, 0, frames.data(), 2, 0, 100);
        assigned = owner;  // its owned frames are freed (LeakSanitizer checks)
        EXPECT_EQ(copied.getFrames(), array);
        EXPECT_EQ(assigned.getFrames(), array);
    }
    EXPECT_EQ(drawnFrame(owner), 1) << "the frames outlive the sharing copies";
    owner.freeFrames();
    EXPECT_EQ(drawnFrame(owner), -1);

    auto original = std::make_unique<Animation>();
    original->setup(0, 0, frames.data(), 2, 1, 80);
    EXPECT_NE(original->getFrames(), frames.data()) << "setup takes its own copy";
    original->play();
    setTicks(1090);
    drawnFrame(*original);
    Animation copied(*original);
    EXPECT_NE(copied.getFrames(), original->getFrames());
    EXPECT_EQ(copied.getCurrentFrame(), 1);
    EXPECT_TRUE(copied.playing);
    original.reset();
    EXPECT_EQ(drawnFrame(copied), 1);

    // With a file gone the copy throws, and the animation it was meant to
    // replace stays as it was.
    std::remove(file("f1.bmp").c_str());
    Animation target;
    target.setupShared(0, 0, frames.data(), 2, 0, 100);
    EXPECT_EQ(thrownMessage([&] { target.copy(copied); }), "Error loading bitmap! ");
    EXPECT_TRUE(target.isShared());
    EXPECT_EQ(target.getFrames(), frames.data());
}

}  // namespace
