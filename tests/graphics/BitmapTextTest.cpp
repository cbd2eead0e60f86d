#include "graphics/BitmapText.h"

#include "GraphicsFixture.h"

using namespace gfxtest;
using plat::headless::setTicks;

namespace {

constexpr int kCell = 6;

class BitmapTextTest : public GraphicsTest {
protected:
    void SetUp() override {
        GraphicsTest::SetUp();
        // Cell k of the strip is filled with frameColour(k).
        auto strip = plat::Surface::create(42 * kCell, 3);
        for (int k = 0; k < 42; ++k) strip->fill(k * kCell, 0, kCell, 3, frameColour(k));
        ASSERT_TRUE(strip->saveBmp(file("font.bmp")));
        text.init(10, 5, file("font.bmp"), 42 * kCell, 3, kCell, 2, 3);
    }

    // The cell drawn for each character: its leftmost column (the next
    // character starts 3 pixels further right and covers the rest).
    std::vector<int> cells(int x, int y, int count) {
        auto target = greyTarget(120, 20);
        text.draw(*target);
        std::vector<int> out;
        for (int i = 0; i < count; ++i) out.push_back(frameOf(target->pixel(x + 3 * i, y)));
        return out;
    }

    BitmapText text;
};

TEST_F(BitmapTextTest, DrawsEachCharacterFromItsCellCloserThanTheCellWidth) {
    text.setText("HI!");
    EXPECT_EQ(cells(10, 5, 3), (std::vector<int>{7, 8, 27}));
    EXPECT_EQ(text.getPixelWidth(), 3 * kCell);
    auto target = greyTarget(120, 20);
    text.draw(*target);
    EXPECT_NE(target->pixel(10 + 3 * kCell - 7, 7), kGrey);
    EXPECT_EQ(target->pixel(10 + 3 * kCell - 6, 5), kGrey) << "3 x cell width - 6 wide";
    EXPECT_EQ(target->pixel(10, 8), kGrey) << "font height high";

    text.setText("Zh?");
    text.appendText(".09:|\xC3 ");
    EXPECT_EQ(cells(10, 5, 10), (std::vector<int>{25, 41, 28, 26, 38, 37, 39, 40, 41, 41}));
    text.setX(40);
    EXPECT_EQ(cells(40, 5, 2), (std::vector<int>{25, 41}));
    text.setPosition(50, 12);
    EXPECT_EQ(cells(50, 12, 2), (std::vector<int>{25, 41}));

    // A copy loads its own strip.
    auto original = std::make_unique<BitmapText>(text);
    BitmapText copied;
    copied = *original;
    original.reset();
    EXPECT_EQ(copied.getText(), "Zh?.09:|\xC3 ");
    target = greyTarget(120, 20);
    copied.draw(*target);
    EXPECT_EQ(frameOf(target->pixel(50, 12)), 25);
}

TEST_F(BitmapTextTest, BlinksInTurnsOfJustOver100Ms) {
    text.setText("A");
    text.setBlink(true);
    std::vector<uint32_t> toggles;
    bool wasHidden = false;
    for (uint32_t now = 1015; now <= 1500; now += 15) {
        setTicks(now);
        bool visible = cells(10, 5, 1)[0] == 0;
        EXPECT_EQ(visible, !text.isHidden());
        if (text.isHidden() != wasHidden) toggles.push_back(now);
        wasHidden = text.isHidden();
    }
    EXPECT_EQ(toggles, (std::vector<uint32_t>{1105, 1210, 1315, 1420}));
    setTicks(1530);
    cells(10, 5, 1);
    ASSERT_TRUE(text.isHidden());
    text.setBlink(false);
    EXPECT_EQ(cells(10, 5, 1)[0], 0) << "switching blink off shows the text at once";

    // An empty text draws nothing, yet its blink state advances.
    text.clearText();
    text.setBlink(true);
    setTicks(1700);
    auto target = greyTarget(120, 20);
    text.draw(*target);
    EXPECT_TRUE(text.isHidden());
    for (int x = 0; x < 120; ++x) ASSERT_EQ(target->pixel(x, 5), kGrey);
}

}  // namespace
