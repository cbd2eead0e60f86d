#include <sys/stat.h>

#include "ShellFixture.h"
#include "platform/Headless.h"
#include "platform/KeyCodes.h"
#include "platform/Surface.h"

namespace shelltest {
namespace {

using GameWindowTest = ShellTest;

TEST_F(GameWindowTest, WindowedCreationLogsItsStepsAndHasA640x480Client) {
    GameWindow window;
    ASSERT_TRUE(window.create("Title", 640, 480, 16, false));
    EXPECT_EQ(read("windowlog.txt"), "-Window class registered\n-Window created\n-Got device context\n");
    EXPECT_TRUE(plat::headless::boxes().empty());

    const plat::WindowSpec* spec = plat::headless::windowSpec();
    ASSERT_NE(spec, nullptr);
    EXPECT_EQ(spec->title, "Title");
    EXPECT_EQ(spec->width, 640);
    EXPECT_EQ(spec->height, 480);
    EXPECT_FALSE(spec->fullScreen);
    EXPECT_EQ(spec->iconPath, "Emberhaunt.ico");  // by plain name, in the working folder

    ASSERT_NE(window.getDC(), nullptr);
    EXPECT_EQ(window.getDC()->width(), 640);
    EXPECT_EQ(window.getDC()->height(), 480);
    EXPECT_EQ(window.getClientWidth(), 640);
    EXPECT_EQ(window.getClientHeight(), 480);
    // The outer rectangle: the frame lies outside the client area.
    WindowRect r;
    window.getClientRect(&r);
    EXPECT_LT(r.left, 0);
    EXPECT_LT(r.top, 0);
    EXPECT_GT(r.right, 640);
    EXPECT_GT(r.bottom, 480);
    EXPECT_TRUE(window.isActive());
}

TEST_F(GameWindowTest, FullScreenUsesTheBareRectangleAndARefusalFallsBackToAWindow) {
    {
        GameWindow window;
        ASSERT_TRUE(window.create("T", 640, 480, 16, true));
        EXPECT_TRUE(window.isFullScreen());
        const WindowRect r = window.getClientRect();
        EXPECT_EQ(r.left, 0);
        EXPECT_EQ(r.top, 0);
        EXPECT_EQ(r.right, 640);
        EXPECT_EQ(r.bottom, 480);
        EXPECT_EQ(read("windowlog.txt"),
                  "-Window class registered\n-Going fullscreen...\n-Window created\n-Got device context\n");
    }
    plat::headless::reset();
    plat::headless::refuseFullScreen(true);
    GameWindow window;
    ASSERT_TRUE(window.create("T", 640, 480, 16, true));
    EXPECT_FALSE(window.isFullScreen());
    EXPECT_FALSE(plat::headless::windowSpec()->fullScreen);
    EXPECT_LT(window.getClientRect().top, 0);
    EXPECT_EQ(read("windowlog.txt"),
              "-Window class registered\n-Going fullscreen...\n-Fullscreen mode failed\n"
              "-Window created\n-Got device context\n");
    ASSERT_EQ(plat::headless::boxes().size(), 1u);
    EXPECT_EQ(plat::headless::boxes()[0].text, "Fullscreen mode failed");
    EXPECT_EQ(plat::headless::boxes()[0].caption, "ERROR!");
    EXPECT_EQ(plat::headless::boxes()[0].icon, plat::BoxIcon::Information);
}

TEST_F(GameWindowTest, AnUnwritableLogIsSkippedAndTheWindowIsStillMade) {
    ASSERT_EQ(mkdir(path("windowlog.txt").c_str(), 0755), 0);  // a folder cannot be opened as the log
    GameWindow window;
    ASSERT_TRUE(window.create("T", 640, 480, 16, false));
    EXPECT_NE(window.getDC(), nullptr);
    EXPECT_TRUE(plat::headless::boxes().empty());
}

TEST_F(GameWindowTest, AFailedCreationIsLoggedAndShown) {
    plat::headless::failWindowCreate(true);
    GameWindow window;
    EXPECT_FALSE(window.create("T", 640, 480, 16, false));
    EXPECT_EQ(window.getDC(), nullptr);
    EXPECT_EQ(read("windowlog.txt"), "-Window class registered\n-Error creating window\n");
    ASSERT_EQ(plat::headless::boxes().size(), 1u);
    EXPECT_EQ(plat::headless::boxes()[0].text, "Could not create window");
    EXPECT_EQ(plat::headless::boxes()[0].caption, "ERROR!");
}

TEST_F(GameWindowTest, MessagesDriveActivityQuitAndTheKeyTable) {
    GameWindow window;
    ASSERT_TRUE(window.create("T", 640, 480, 16, false));
    auto send = [](plat::MsgType type, uint32_t wParam) {
        plat::headless::postMessage({type, wParam, 0});
        plat::Message msg;
        ASSERT_TRUE(plat::peekMessage(&msg));
        plat::dispatchMessage(msg);
    };

    send(plat::MsgType::Activate, 1);
    EXPECT_FALSE(window.isActive());
    send(plat::MsgType::Activate, 0);
    EXPECT_TRUE(window.isActive());

    // Keys are recorded only in window-message mode.
    send(plat::MsgType::KeyDown, plat::VK_ESCAPE);
    EXPECT_FALSE(windowKeyDown(plat::VK_ESCAPE));
    windowInput = true;
    send(plat::MsgType::KeyDown, plat::VK_ESCAPE);
    send(plat::MsgType::KeyDown, 255);
    EXPECT_TRUE(windowKeyDown(plat::VK_ESCAPE));
    EXPECT_TRUE(windowKeyDown(255));
    send(plat::MsgType::KeyUp, plat::VK_ESCAPE);
    EXPECT_FALSE(windowKeyDown(plat::VK_ESCAPE));
    // Codes beyond the table are dropped, not written past it.
    send(plat::MsgType::KeyDown, 256);
    send(plat::MsgType::KeyDown, 0xFFFFFFFFu);
    EXPECT_FALSE(windowKeyDown(256));
    EXPECT_FALSE(windowKeyDown(-1));

    send(plat::MsgType::Close, 0);
    plat::Message quit;
    ASSERT_TRUE(plat::peekMessage(&quit));
    EXPECT_EQ(quit.type, plat::MsgType::Quit);
    EXPECT_EQ(quit.wParam, 0u);
}

// Keys released while another window has the focus never reach this one:
// losing the focus releases every key of the table. Only minimising stops
// the game's updates.
TEST_F(GameWindowTest, LosingTheFocusReleasesEveryKeyOfTheTable) {
    GameWindow window;
    ASSERT_TRUE(window.create("T", 640, 480, 16, false));
    windowInput = true;
    auto dispatchAll = [] {
        int count = 0;
        plat::Message msg;
        while (plat::peekMessage(&msg)) {
            if (msg.type == plat::MsgType::Timer) continue;
            plat::dispatchMessage(msg);
            ++count;
        }
        return count;
    };
    plat::headless::pressKey(plat::DIK_DOWN);
    plat::headless::pressKey(plat::DIK_RETURN);
    dispatchAll();
    ASSERT_TRUE(windowKeyDown(plat::VK_DOWN));
    ASSERT_TRUE(windowKeyDown(plat::VK_RETURN));

    plat::headless::setFocus(false);
    EXPECT_EQ(dispatchAll(), 1);
    EXPECT_FALSE(windowKeyDown(plat::VK_DOWN));
    EXPECT_FALSE(windowKeyDown(plat::VK_RETURN));
    EXPECT_TRUE(window.isActive());

    plat::headless::setFocus(false);  // already without focus: no second message
    EXPECT_EQ(dispatchAll(), 0);
    plat::headless::setFocus(true);
    plat::headless::pressKey(plat::DIK_UP);
    dispatchAll();
    EXPECT_TRUE(windowKeyDown(plat::VK_UP));
}

}  // namespace
}  // namespace shelltest
