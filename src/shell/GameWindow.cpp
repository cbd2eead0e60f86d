#include "shell/GameWindow.h"

#include <cstring>

#include "platform/MessageBox.h"

uint8_t windowKeys[256] = {};
bool windowInput = false;

namespace {

// Nominal frame of a fixed-size window with a caption: the window system
// draws the real one around the client area. Only getClientRect reports it;
// everything is drawn at the client size.
constexpr int kFrameBorder = 3;
constexpr int kCaptionHeight = 19;

}  // namespace

bool windowKeyDown(int vk) { return vk >= 0 && vk < 256 && windowKeys[vk] != 0; }

GameWindow::GameWindow() = default;

GameWindow::~GameWindow() {
    // The window itself lives until the process ends; only an unclosed log
    // (left by a failed create) is released here.
    if (log) std::fclose(log);
}

// Each line reaches the disk at once: the log is for finding out why a start
// failed, and a failed start may never close it.
void GameWindow::writeLog(const char* line) {
    if (!log) return;
    std::fputs(line, log);
    std::fflush(log);
}

bool GameWindow::create(const std::string& title, int width, int height, int /*bitsPerPixel*/,
                        bool wantFullScreen) {
    if (log) std::fclose(log);
    log = std::fopen("windowlog.txt", "w");
    rect = {0, 0, width, height};
    clientWidth = width;
    clientHeight = height;
    fullScreen = wantFullScreen;

    // The platform needs no window class; the line stays so the log reads
    // the same on every system.
    writeLog("-Window class registered\n");

    plat::WindowSpec spec;
    spec.title = title;
    spec.width = width;
    spec.height = height;
    spec.iconPath = "Emberhaunt.ico";

    plat::WindowResult result = plat::WindowResult::Failed;
    if (fullScreen) {
        writeLog("-Going fullscreen...\n");
        spec.fullScreen = true;
        result = plat::createWindow(spec, &GameWindow::staticWndProc, this);
        if (result == plat::WindowResult::FullScreenRefused) {
            writeLog("-Fullscreen mode failed\n");
            plat::messageBox("Fullscreen mode failed", "ERROR!", plat::BoxIcon::Information);
            fullScreen = false;
        }
    }
    if (!fullScreen) {
        rect.left -= kFrameBorder;
        rect.top -= kFrameBorder + kCaptionHeight;
        rect.right += kFrameBorder;
        rect.bottom += kFrameBorder;
        spec.fullScreen = false;
        result = plat::createWindow(spec, &GameWindow::staticWndProc, this);
    }
    if (result != plat::WindowResult::Ok) {
        destroy();
        writeLog("-Error creating window\n");
        plat::messageBox("Could not create window", "ERROR!", plat::BoxIcon::Information);
        return false;
    }
    window = true;
    writeLog("-Window created\n");

    if (!plat::windowSurface()) {
        writeLog("-Error getting DC\n");
        destroy();
        plat::messageBox("Can't Create A Device Context.", "ERROR", plat::BoxIcon::Exclamation);
        return false;
    }
    writeLog("-Got device context\n");

    // The platform centres, shows and focuses the window it creates.
    if (log) std::fclose(log);
    log = nullptr;
    return true;
}

void GameWindow::destroy() {
    // The platform restores the display mode and the cursor with the window.
    if (window) plat::destroyWindow();
    window = false;
}

void GameWindow::staticWndProc(const plat::Message& msg, void* user) {
    if (user) static_cast<GameWindow*>(user)->wndProc(msg);
}

void GameWindow::wndProc(const plat::Message& msg) {
    switch (msg.type) {
    case plat::MsgType::Activate:
        active = msg.wParam == 0;
        break;
    case plat::MsgType::Close:
        plat::postQuit(0);
        break;
    case plat::MsgType::FocusLost:
        // Keys let go in another window never send their release here.
        std::memset(windowKeys, 0, sizeof windowKeys);
        break;
    case plat::MsgType::KeyDown:
    case plat::MsgType::KeyUp:
        // An odd code must never write outside the table.
        if (windowInput && msg.wParam < 256) windowKeys[msg.wParam] = msg.type == plat::MsgType::KeyDown;
        break;
    default:
        break;
    }
}

plat::Surface* GameWindow::getDC() const { return window ? plat::windowSurface() : nullptr; }

WindowRect GameWindow::getClientRect(WindowRect* out) const {
    if (out) *out = rect;
    return rect;
}
