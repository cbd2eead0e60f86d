// State shared between the platform layer's source files. Never included
// outside src/platform/.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/Headless.h"
#include "platform/Platform.h"

struct SDL_Window;

namespace plat::internal {

inline bool onSdl() { return backend() == Backend::Sdl; }

// SDL subsystems, started on first use. False when the subsystem cannot
// start (no display, no sound card); a failed start is not retried until
// the platform is shut down.
bool sdlVideo();
bool sdlAudio();
// Forgets the remembered start results (after SDL_Quit).
void sdlForget();

// Everything the headless back end simulates or records.
struct HeadlessState {
    uint32_t ticks = 0;
    int64_t calendar = 1'000'000'000;
    int screenW = 1024, screenH = 768;
    uint8_t keys[256] = {};
    bool focus = true;
    std::string failStep;
    bool failWindow = false;
    bool refuseFullScreen = false;
    bool failTimer = false;
    bool failAudio = false;
    std::vector<headless::Box> boxes;
    std::vector<std::string> audioLog;
    int presents = 0;
};
HeadlessState& hs();

// Window.cpp
void queueMessage(const Message& msg);
void resetWindowState();  // no window, no timer, empty queue
bool windowHasFocus();
SDL_Window* sdlWindow();

// Audio.cpp
void resetAudioState();

// Surface.cpp: the SDL pixel format (SDL_PixelFormatEnum) every Surface
// keeps its pixels in.
uint32_t surfacePixelFormat();

}  // namespace plat::internal
