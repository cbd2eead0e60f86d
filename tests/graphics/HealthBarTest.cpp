#include "graphics/HealthBar.h"

#include "GraphicsFixture.h"

using namespace gfxtest;
using plat::headless::setTicks;

namespace {

constexpr uint32_t kBack = 0x000000FF;
constexpr uint32_t kTopLeft = 0x00FF0000;
constexpr uint32_t kTopRight = 0x00FFFF00;

class HealthBarTest : public GraphicsTest {
protected:
    void SetUp() override {
        GraphicsTest::SetUp();
        writeBmp(file("back.bmp"), 50, 4, kBack);
        auto top = plat::Surface::create(50, 4);
        top->fill(0, 0, 25, 4, kTopLeft);
        top->fill(25, 0, 25, 4, kTopRight);
        ASSERT_TRUE(top->saveBmp(file("top.bmp")));
    }

    void init(HealthBar& bar, int maxValue = 100) {
        bar.init(50, 4, file("back.bmp"), file("top.bmp"), 5, 7, maxValue);
    }

    std::unique_ptr<plat::Surface> draw(HealthBar& bar, int value) {
        auto target = greyTarget();
        bar.draw(*target, value);
        return target;
    }
};

TEST_F(HealthBarTest, TopIsCutNotScaledToTheShownValue) {
    HealthBar bar;
    init(bar);
    // The first draw's tick is 0, so the whole tick count is one step.
    auto target = draw(bar, 37);
    EXPECT_EQ(bar.getShownValue(), 37);
    EXPECT_EQ(bar.getVisibleWidth(), 18) << "18.5 truncated";
    EXPECT_EQ(target->pixel(5 + 17, 7), kTopLeft);
    EXPECT_EQ(target->pixel(5 + 18, 7), kBack);
    EXPECT_EQ(target->pixel(5 + 49, 10), kBack);
    EXPECT_EQ(target->pixel(5 + 50, 7), kGrey);

    setTicks(3000);
    target = draw(bar, 100);
    EXPECT_EQ(target->pixel(5 + 30, 7), kTopRight);

    HealthBar zero;  // nothing to measure against: only the back
    init(zero, 0);
    target = draw(zero, 80);
    EXPECT_EQ(zero.getVisibleWidth(), 0);
    EXPECT_EQ(target->pixel(5, 7), kBack);
}

TEST_F(HealthBarTest, EasesByOneUnitPerWhole10Ms) {
    HealthBar bar;
    init(bar);
    draw(bar, 100);
    uint32_t now = 1000;
    for (int i = 1; i <= 40; ++i) {
        now += 15;
        setTicks(now);
        draw(bar, 60);
        ASSERT_EQ(bar.getShownValue(), 100 - i) << "one unit per draw every 15 ms";
    }
    for (int i = 0; i < 5; ++i) {  // healing, two units per draw every 20 ms
        now += 20;
        setTicks(now);
        draw(bar, 100);
    }
    EXPECT_EQ(bar.getShownValue(), 70);
    now += 10;
    setTicks(now);
    draw(bar, 100);
    EXPECT_EQ(bar.getShownValue(), 70) << "10 ms is no step";
    now += 5000;
    setTicks(now);
    draw(bar, 95);
    EXPECT_EQ(bar.getShownValue(), 95) << "never past the target";
    // Easing toward a new value counts from the last draw, not the last step.
    now += 3000;
    setTicks(now);
    draw(bar, 95);
    setTicks(now + 15);
    draw(bar, 0);
    EXPECT_EQ(bar.getShownValue(), 94);
}

}  // namespace
