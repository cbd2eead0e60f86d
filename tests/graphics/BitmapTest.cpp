#include "graphics/Bitmap.h"

#include <cstdio>

#include "GraphicsFixture.h"

using namespace gfxtest;

namespace {

constexpr uint32_t kRed = 0x00FF0000;
constexpr uint32_t kBlue = 0x000000FF;

class BitmapTest : public GraphicsTest {
protected:
    // 8 x 4: left half red, right half blue, one key-green pixel at (5, 1).
    std::string sheet() {
        auto s = plat::Surface::create(8, 4);
        s->fill(0, 0, 4, 4, kRed);
        s->fill(4, 0, 4, 4, kBlue);
        s->setPixel(5, 1, plat::kKeyColour);
        EXPECT_TRUE(s->saveBmp(file("sheet.bmp")));
        return file("sheet.bmp");
    }
};

TEST_F(BitmapTest, DrawsTheSelectedPartUnscaledSkippingKeyGreen) {
    Bitmap b;
    b.load(sheet(), 2, 2);
    b.srcX = 4;
    b.x = 10;
    b.y = 20;
    auto target = greyTarget();
    b.draw(*target);
    EXPECT_EQ(target->pixel(10, 20), kBlue);
    EXPECT_EQ(target->pixel(11, 21), kGrey) << "key green leaves the target unchanged";
    EXPECT_EQ(target->pixel(12, 20), kGrey);
    EXPECT_EQ(target->pixel(10, 22), kGrey);

    // A size larger than the image is not stretched.
    b.load(sheet(), 20, 20);
    b.srcX = 0;
    b.x = 30;
    b.draw(*target);
    EXPECT_EQ(target->pixel(37, 23), kBlue);
    EXPECT_EQ(target->pixel(38, 20), kGrey);
    EXPECT_EQ(target->pixel(30, 24), kGrey);
}

TEST_F(BitmapTest, CopiesOwnTheirPictureAndOutliveTheOriginal) {
    std::string path = sheet();
    auto original = std::make_unique<Bitmap>();
    original->load(path, 4, 4);
    original->x = 3;
    original->srcY = 1;
    Bitmap copied(*original);
    Bitmap assigned;
    assigned = *original;
    original.reset();
    std::remove(path.c_str());
    for (Bitmap* b : {&copied, &assigned}) {
        EXPECT_EQ(b->getImageFile(), path);
        EXPECT_EQ(b->srcY, 1);
        EXPECT_EQ(b->getWidth(), 4);
        auto target = greyTarget();
        b->draw(*target);
        EXPECT_EQ(target->pixel(3, 0), kRed);
    }
    // A copy loads the file again, so with the file gone it fails.
    EXPECT_EQ(thrownMessage([&] { Bitmap again(copied); }), "Error loading bitmap! ");

    // An empty bitmap copies position, source and size and loads nothing;
    // the image the receiver held stays.
    Bitmap empty;
    empty.x = 7;
    empty.srcX = 9;
    empty.height = 11;
    copied.copy(empty);
    EXPECT_EQ(copied.x, 7);
    EXPECT_EQ(copied.srcX, 9);
    EXPECT_EQ(copied.height, 11);
    EXPECT_TRUE(copied.isLoaded());
    EXPECT_FALSE(Bitmap(empty).isLoaded());
}

TEST_F(BitmapTest, FailedLoadThrowsAndKeepsTheNewNameAndSize) {
    Bitmap b;
    b.load(sheet(), 8, 4);
    std::string missing = file("missing.bmp");
    EXPECT_EQ(thrownMessage([&] { b.load(missing, 5, 6); }), "Error loading bitmap! ");
    EXPECT_EQ(b.getImageFile(), missing);
    EXPECT_EQ(b.width, 5);
    EXPECT_EQ(b.height, 6);
    EXPECT_FALSE(b.isLoaded()) << "the previous image was freed before the load";
    auto target = greyTarget();
    b.draw(*target);
    EXPECT_EQ(target->pixel(0, 0), kGrey);

    writeFile(file("text.bmp"), "not an image");
    EXPECT_EQ(thrownMessage([&] { b.load(file("text.bmp"), 1, 1); }), "Error loading bitmap! ");
    EXPECT_EQ(thrownMessage([&] { b.load("00", 1, 1); }), "Error loading bitmap! ");
}

}  // namespace
