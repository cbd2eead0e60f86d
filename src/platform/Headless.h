// Controls of the headless back end, for tests. Calling them on the Sdl back
// end does nothing (queries answer empty).
//
// Time stands still unless a test moves it, except that peekMessage(), when
// it finds nothing to hand out, advances the clock by 1 ms: the stand-in for
// the real back end's short sleep, so a polling loop moves through time
// deterministically.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/KeyboardDevice.h"
#include "platform/MessageBox.h"
#include "platform/Window.h"

namespace plat::headless {

// Back to the start state: clock 0, calendar 1'000'000'000 s, screen
// 1024 x 768, no keys, no messages, no window, no timer, focus on, audio not
// started, no recordings, no injected failures.
void reset();

void setTicks(uint32_t ms);
void advance(uint32_t ms);
void setCalendarSeconds(int64_t seconds);
// What screenSize() answers.
void setScreenSize(int w, int h);

// Keyboard device state (by DIK code) and window messages (by VK code).
void setKeyState(int dik, bool down);
void clearKeyStates();
void postMessage(const Message& msg);
// Both sources at once: sets the device state of `dik` and queues a
// KeyDown/KeyUp message carrying its virtual-key code.
void pressKey(int dik);
void releaseKey(int dik);

// Failure injection for the keyboard device: the named step fails
// ("system" = openInputSystem, "create", "format", "cooperative",
// "acquire", "read"); "" clears it.
void failKeyboardStep(const std::string& step);
// The window gains or loses the keyboard focus (getState fails without it);
// a loss also queues a FocusLost message.
void setFocus(bool focused);
// While set, createWindow fails (Failed), or refuses full screen
// (FullScreenRefused; windowed creation still works).
void failWindowCreate(bool fail);
void refuseFullScreen(bool refuse);
// While set, setTimer fails.
void failTimer(bool fail);
// While set, audioInit fails (no sound card).
void failAudio(bool fail);

struct Box {
    std::string text, caption;
    BoxIcon icon;
};
const std::vector<Box>& boxes();

// Every audio call, one line each, e.g. "init 44100 64", "volume -3 200",
// "load /x/a.wav", "play 5 /x/a.wav", "free /x/a.wav", "open /x/m.wav",
// "loop /x/m.wav 1", "stream 63 /x/m.wav", "stop /x/m.wav", "close /x/m.wav".
// Calls with a null handle are recorded with "null" in place of the path,
// with an already freed (or unknown) handle as "stale";
// volumes are recorded after clamping to 0..255; audioShutdown is
// "shutdown". Calls are recorded whether or not audio started. Loads (and
// opens) return a handle only after a successful audioInit and only when
// the file exists; the file is not decoded.
const std::vector<std::string>& audioLog();
void clearAudioLog();

// Frames shown with presentWindow() so far.
int presentCount();
// The window that createWindow made: its spec.
const WindowSpec* windowSpec();

}  // namespace plat::headless
