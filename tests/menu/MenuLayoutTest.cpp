// Where the menu puts things on the screen and how its timed parts move:
// the page layouts, the value column and the cursor, the hint marquee, the
// title bounce and the credits scroll. A font of plain white 10 x 8 cells
// makes every text one white strip; the title is yellow and the cursor blue.
#include <memory>
#include <string>
#include <vector>

#include "menu/Menu.h"
#include "menu/MenuItem.h"
#include "platform/Clock.h"
#include "platform/Headless.h"
#include "platform/KeyCodes.h"
#include "platform/Surface.h"
#include "platform/Window.h"
#include "shell/Game.h"
#include "shell/ShellFixture.h"

namespace {

const uint32_t kWhite = plat::rgb(255, 255, 255);
const uint32_t kYellow = plat::rgb(220, 220, 0);
const uint32_t kBlue = plat::rgb(40, 40, 220);

// The top-left corner of the pixels of one colour in the window (above the
// hint line at y 460 unless asked), {-1, -1} when there are none.
struct Corner {
    int x = -1, y = -1;
};
Corner topLeft(uint32_t colour, int bottom = 450) {
    const plat::Surface* s = plat::windowSurface();
    Corner c;
    for (int y = 0; y < bottom; ++y)
        for (int x = 0; x < 640; ++x)
            if (s->pixel(x, y) == colour) {
                if (c.y < 0) c.y = y;
                if (c.x < 0 || x < c.x) c.x = x;
            }
    return c;
}

class MenuLayoutTest : public shelltest::GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        writeStartupImages();
        writeBmp("fontsmall.bmp", 420, 8, kWhite);
        writeBmp("title.bmp", 16, 8, kYellow);
        writeBmp("cursor.bmp", 12, 6, kBlue);
        std::string paths = read("filepaths.cfg");
        replace(paths, "width=336\nheight=8\ncharWidth=8\n", "width=420\nheight=8\ncharWidth=10\n");
        replace(paths, "[menuTitle]\nframeCount=1\nframe1=black.bmp\nwidth=8\nheight=8\nxpos=40\nypos=50\n",
                "[menuTitle]\nframeCount=1\nframe1=title.bmp\nwidth=16\nheight=8\nxpos=40\nypos=250\n");
        replace(paths, "[menuCursor]\nframeCount=1\nframe1=black.bmp\nwidth=8\nheight=8\n",
                "[menuCursor]\nframeCount=1\nframe1=cursor.bmp\nwidth=12\nheight=6\n");
        write("filepaths.cfg", paths);
        write("config.cfg", "[input]\nlastUsedDI=1\n[video]\ndisplayFPS=0\n[audio]\nglobalVolume=200\n");
        startGame();
    }

    static void replace(std::string& text, const std::string& from, const std::string& to) {
        const std::size_t at = text.find(from);
        ASSERT_NE(at, std::string::npos) << from;
        text.replace(at, from.size(), to);
    }

    void drawAt(uint32_t ms) {
        plat::headless::setTicks(ms);
        game->draw();
    }
    // A press and release handled at once, with no time passing.
    void key(int dik) {
        plat::headless::pressKey(dik);
        game->update();
        plat::headless::releaseKey(dik);
        game->update();
    }
    // The title page leaves by itself after 2500 ms; its reveal is over
    // 600 ms later. Returns the time then.
    uint32_t toMainPageByItself() {
        const uint32_t at = plat::tickCount() + 2501;
        drawAt(at);
        EXPECT_EQ(game->menu.page, kPageMain);
        drawAt(at + 600);
        EXPECT_FALSE(transitionRunning);
        return at + 600;
    }
    int titleY() const { return game->menu.title->y; }
};

// Each page puts its first label where the layout says, rows 23 px apart;
// values stand 250 px right of their label, and the cursor 4 px left of the
// selected label and 8 px above it.
TEST_F(MenuLayoutTest, PagesPlaceTheirLabelsValuesAndCursorWhereTheLayoutSays) {
    struct Page {
        int page;
        int x, y;     // the first label
        bool cursor;  // at x - 12 - 4, y - 8 for the 12 px cursor
    };
    const Page pages[] = {
        {kPageMain, 265, 290, true},   {kPageOptions, 205, 290, true},  {kPageMultiplayer, 205, 290, true},
        {kPageKeys, 205, 290, true},   {kPagePressUp, 225, 290, false}, {kPagePressSecondary, 225, 290, false},
        {kPagePause, 40, 10, true},    {kPageHelp, 20, 10, false},      {kPageCredits, 205, 290, false},
        {kPagePlayers, 265, 290, true},
    };
    const uint32_t now = toMainPageByItself();
    for (const Page& p : pages) {
        SCOPED_TRACE(p.page);
        game->menu.setPage(p.page);
        drawAt(now + 700);
        const Corner label = topLeft(kWhite);
        EXPECT_EQ(label.x, p.x);
        EXPECT_EQ(label.y, p.y);
        const plat::Surface* s = plat::windowSurface();
        if (p.page != kPagePressUp && p.page != kPagePressSecondary && p.page != kPageCredits) {
            // The second row, and nothing between the two.
            EXPECT_EQ(s->pixel(p.x, p.y + 23), kWhite);
            EXPECT_NE(s->pixel(p.x, p.y + 22), kWhite);
        }
        const Corner cursor = topLeft(kBlue, 480);
        if (p.cursor) {
            EXPECT_EQ(cursor.x, p.x - 16);
            EXPECT_EQ(cursor.y, p.y - 8);
        } else {
            EXPECT_EQ(cursor.x, -1);
        }
    }

    // The volume and the page-8 values: the 25 letters of the label end at
    // 205 + 24 x 7 + 10, the value starts at 205 + 250.
    for (int page : {kPageOptions, kPageMultiplayer}) {
        SCOPED_TRACE(page);
        game->menu.setPage(page);
        drawAt(now + 700);
        const plat::Surface* s = plat::windowSurface();
        EXPECT_EQ(s->pixel(382, 290), kWhite);
        EXPECT_NE(s->pixel(383, 290), kWhite);
        EXPECT_NE(s->pixel(454, 290), kWhite);
        EXPECT_EQ(s->pixel(455, 290), kWhite);
    }

    // The cursor follows the selection down a row.
    game->menu.setPage(kPageOptions);
    key(plat::DIK_DOWN);
    drawAt(now + 700);
    const Corner cursor = topLeft(kBlue, 480);
    EXPECT_EQ(cursor.x, 189);
    EXPECT_EQ(cursor.y, 305);
}

// Where the copies of the hint marquee begin on the hint line.
std::vector<int> hintStarts() {
    const plat::Surface* s = plat::windowSurface();
    std::vector<int> starts;
    for (int x = 0; x < 640; ++x)
        if (s->pixel(x, 462) == kWhite && (x == 0 || s->pixel(x - 1, 462) != kWhite)) starts.push_back(x);
    return starts;
}

// EXIT's hint "THANK YOU COME AGAIN" is 20 letters of 10 px: 200 px wide,
// so its copies stand 200 + (640 / 200) x 100 = 500 px apart. The marquee
// moves 2 px for every whole 25 ms, only once more than 25 ms have passed,
// and starts again from the right edge once it is 200 px or more left of
// the screen.
TEST_F(MenuLayoutTest, TheHintMarqueeStepsTwoPixelsPer25MsWithCopies500PxApart) {
    uint32_t now = toMainPageByItself();
    key(plat::DIK_UP);  // EXIT, the marquee back at the right edge
    ASSERT_EQ(game->menu.current()->label.getText(), "EXIT");
    drawAt(now += 7000);  // 280 steps from 640
    EXPECT_EQ(hintStarts(), (std::vector<int>{80, 580}));

    drawAt(now += 25);  // not more than 25 ms: no step
    EXPECT_EQ(hintStarts(), (std::vector<int>{80, 580}));
    drawAt(now += 1);
    EXPECT_EQ(hintStarts(), (std::vector<int>{78, 578}));
    drawAt(now += 99);  // three whole steps, the rest is dropped
    EXPECT_EQ(hintStarts(), (std::vector<int>{72, 572}));
    drawAt(now += 24);
    EXPECT_EQ(hintStarts(), (std::vector<int>{72, 572}));

    // To 198 px left of the screen: only the copy 500 px on shows.
    drawAt(now += 135 * 25);
    EXPECT_EQ(hintStarts(), std::vector<int>{302});
    // One step more reaches -200: the marquee is back at 640, and only the
    // copy 500 px before it shows.
    drawAt(now += 26);
    EXPECT_EQ(hintStarts(), std::vector<int>{140});

    // A page without a cursor shows no hint.
    game->menu.setPage(kPageHelp);
    drawAt(now += 100);
    EXPECT_TRUE(hintStarts().empty());
}

// The title falls in from 300 px below its place and settles: offset
// A x e^(-0.03 t) x cos(0.5 t), t counting whole 20 ms, truncated toward
// zero; Enter starts a small bounce of 70.
TEST_F(MenuLayoutTest, TheTitleBouncesByTheDampedCosineInWhole20MsSteps) {
    const uint32_t t0 = plat::tickCount() + 2501;
    drawAt(t0);  // the title page leaves by itself and starts the big bounce
    ASSERT_EQ(game->menu.page, kPageMain);
    EXPECT_EQ(titleY(), 250 + 300);
    drawAt(t0 + 40);  // t = 2
    EXPECT_EQ(titleY(), 250 + 152);
    drawAt(t0 + 70);  // t = 3
    EXPECT_EQ(titleY(), 250 + 19);
    drawAt(t0 + 90);  // t = 4; 20 ms are less than the 21 that restart the count
    EXPECT_EQ(titleY(), 250 - 110);
    drawAt(t0 + 91);  // so 21 ms since t0 + 70 count once more: t = 5
    EXPECT_EQ(titleY(), 250 - 206);

    key(plat::DIK_RETURN);  // START GAME
    ASSERT_EQ(game->menu.page, kPagePlayers);
    drawAt(t0 + 131);  // t = 2 of the small bounce
    EXPECT_EQ(titleY(), 250 + 35);

    // Long after, it rests at its place.
    drawAt(t0 + 60000);
    EXPECT_EQ(titleY(), 250);
}

// The credits rise 1 px per whole 50 ms, only once more than 50 ms have
// passed, and hand back to the main page once the title is above y -690.
TEST_F(MenuLayoutTest, TheCreditsRiseOnePixelPer50MsUntilTheTitleIsAbove690) {
    uint32_t now = toMainPageByItself();
    for (int i = 0; i < 3; ++i) key(plat::DIK_DOWN);
    key(plat::DIK_RETURN);  // CREDITS
    ASSERT_EQ(game->menu.page, kPageCredits);
    EXPECT_EQ(titleY(), 250);

    drawAt(now += 50);
    EXPECT_EQ(topLeft(kWhite).y, 290);
    EXPECT_EQ(titleY(), 250);
    drawAt(now += 1);
    EXPECT_EQ(topLeft(kWhite).y, 289);
    EXPECT_EQ(titleY(), 249);
    drawAt(now += 149);  // two whole steps
    EXPECT_EQ(topLeft(kWhite).y, 287);
    EXPECT_EQ(topLeft(kYellow).y, 247);

    drawAt(now += 937 * 50);  // the title at -690: still the credits
    EXPECT_EQ(titleY(), -690);
    EXPECT_EQ(game->menu.page, kPageCredits);
    drawAt(now += 51);
    EXPECT_EQ(game->menu.page, kPageMain);
}

}  // namespace
