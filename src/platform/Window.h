// The game's one window, its message queue and its draw timer.
//
// Messages mirror the few Win32 window messages the game reacts to. They
// queue in arrival order; peekMessage() takes at most one. The draw timer
// behaves like a Win32 timer: at most one tick is ever pending, and it is
// synthesised only when it is due and nothing else waits in the queue.
#pragma once

#include <cstdint>
#include <string>

namespace plat {

class Surface;

enum class MsgType {
    Quit,      // wParam: exit code (posted by postQuit)
    Close,     // the user asked to close the window
    Activate,  // wParam: 1 when the window was minimised, 0 when restored/shown
    FocusLost, // another window took the keyboard focus (WM_KILLFOCUS)
    KeyDown,   // wParam: Windows virtual-key code (1..254), lParam: 1 on auto-repeat
    KeyUp,     // wParam: virtual-key code
    Timer,     // wParam: timer id
};

struct Message {
    MsgType type = MsgType::Quit;
    uint32_t wParam = 0;
    int32_t lParam = 0;
};

using WindowProc = void (*)(const Message& msg, void* user);
using TimerProc = void (*)();

struct WindowSpec {
    std::string title;
    int width = 640;   // client area in pixels
    int height = 480;
    bool fullScreen = false;
    std::string iconPath;  // .ico file; the window simply has no icon when it fails to load
};

enum class WindowResult { Ok, FullScreenRefused, Failed };

// Creates and shows the window (windowed: fixed size, centred; full screen:
// the picture scaled to the display with nearest-neighbour pixels, as large
// as it fits whole, black bars round it). FullScreenRefused: the window was
// not made; the caller may try again windowed. Keeps the screen saver away
// while it exists. proc receives every message that dispatchMessage() hands
// to the window. Only one window exists; a second call fails.
//
// On Sdl, frames go through SDL's renderer where a graphics card draws for
// it, and straight to the window's own surface where only a software
// renderer would (on Linux GL then never enters the game's process; a
// short-lived child process asks where a GPU may exist); a renderer named
// in the SDL_RENDER_DRIVER environment variable is used whatever it is.
WindowResult createWindow(const WindowSpec& spec, WindowProc proc, void* user);
void destroyWindow();
bool windowExists();

// Screen size in pixels (0 x 0 when unknown).
void screenSize(int* w, int* h);

// The window's picture: draw into it, then presentWindow() shows it. It holds
// the last frame drawn, so it can be read back (the pause snapshot).
Surface* windowSurface();
void presentWindow();

// Starts (or restarts) timer `id` with the given period in ms (values below
// 1 become 1). When its ticks are dispatched, proc runs. One timer only.
bool setTimer(uint32_t id, int periodMs, TimerProc proc);
void killTimer(uint32_t id);

// Takes at most one message without waiting for input. When nothing waits
// and no timer tick is due it returns false; the Sdl back end first sleeps,
// so that a polling loop does not keep a core busy: at most 4 ms, and never
// past the timer's next tick, handing out that tick at most 1 ms late.
bool peekMessage(Message* out);

// Timer ticks go to their TimerProc, everything else to the WindowProc.
void dispatchMessage(const Message& msg);

// Queues a Quit message carrying the exit code.
void postQuit(int exitCode);

}  // namespace plat
