#include "shell/FilePaths.h"

#include "graphics/GraphicsFixture.h"

using namespace gfxtest;

namespace {

class FilePathsTest : public GraphicsTest {};

TEST_F(FilePathsTest, MissingFileSectionOrKeyGivesTheDefaults) {
    // No file yet.
    EXPECT_EQ(getFrameCount("bomb"), -1);
    EXPECT_EQ(getFrameFile("bomb", 1), "00");
    EXPECT_EQ(getFrameFile("bomb", 2), "");
    EXPECT_EQ(getPathString("audio", "draw"), "00");
    EXPECT_EQ(getPathInt("bomb", "animationSpeed"), -1);

    config("[bomb]\nframeCount=2\nwidth=32\nheight=30\nxpos=7\nframe1=b1.bmp\n");
    EXPECT_EQ(getFrameCount("BOMB"), 2) << "names match without regard to case";
    EXPECT_EQ(getWidth("bomb"), 32);
    EXPECT_EQ(getHeight("bomb"), 30);
    EXPECT_EQ(getXPos("bomb"), 7);
    EXPECT_EQ(getYPos("bomb"), -1);
    EXPECT_EQ(getFrameFile("bomb", 2), "00") << "a missing frame key stays exactly 00";
    EXPECT_EQ(getFrameFile("bomb", 3), "") << "past frameCount";
    EXPECT_EQ(getWidth("nothing"), -1);
    EXPECT_EQ(getFrameCount("nothing"), -1);
}

TEST_F(FilePathsTest, RelativeFilesAreFoundBesideTheConfiguration) {
    config("[checker]\nframe1=art/checker.bmp\nframe2=/abs/two.bmp\n"
           "[audio]\ndraw=sound/draw.wav\nlose=/abs/lose.wav\nwin=\n");
    // Without frameCount one frame is assumed.
    EXPECT_EQ(getFrameFile("checker", 1), dir + "/art/checker.bmp");
    EXPECT_EQ(getFrameFile("checker", 2), "");
    EXPECT_EQ(getPathString("audio", "draw"), dir + "/sound/draw.wav");
    EXPECT_EQ(getPathString("audio", "lose"), "/abs/lose.wav");
    EXPECT_EQ(getPathString("audio", "win"), "");
    EXPECT_EQ(getPathString("audio", "hurry"), "00");
}

}  // namespace
