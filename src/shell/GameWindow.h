// The game's one window: creation (windowed or full screen, with its start-up
// log "windowlog.txt"), its window procedure and the window-message key
// table used when the keyboard device is not available.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "platform/Window.h"

namespace plat {
class Surface;
}

// 1 while the key with that virtual-key code is down; written by the window
// procedure only while windowInput is set, and all cleared when the window
// loses the keyboard focus.
extern uint8_t windowKeys[256];
// The game reads the keyboard through window messages (no keyboard device).
extern bool windowInput;

// windowKeys[vk] for any code; codes outside 0..255 are never down.
bool windowKeyDown(int vk);

struct WindowRect {
    int left = 0, top = 0, right = 0, bottom = 0;
};

class GameWindow {
public:
    GameWindow();
    ~GameWindow();
    GameWindow(const GameWindow&) = delete;
    GameWindow& operator=(const GameWindow&) = delete;

    // Creates and shows the window with a client area of width x height;
    // a refused full-screen mode falls back to a window. False on failure,
    // after the box and the log line.
    bool create(const std::string& title, int width, int height, int bitsPerPixel, bool fullScreen);

    static void staticWndProc(const plat::Message& msg, void* user);
    void wndProc(const plat::Message& msg);

    // The window's picture (null before create).
    plat::Surface* getDC() const;
    bool getWindow() const { return window; }
    // The outer window rectangle for the client area: (0, 0, width, height)
    // full screen, widened by the frame and caption when windowed.
    WindowRect getClientRect(WindowRect* out = nullptr) const;
    // The client area's size: what the frame is drawn at.
    int getClientWidth() const { return clientWidth; }
    int getClientHeight() const { return clientHeight; }
    bool isActive() const { return active; }
    bool isFullScreen() const { return fullScreen; }

private:
    void destroy();
    void writeLog(const char* line);

    bool window = false;
    WindowRect rect;
    int clientWidth = 0;
    int clientHeight = 0;
    bool active = true;
    bool fullScreen = false;
    std::FILE* log = nullptr;
};
