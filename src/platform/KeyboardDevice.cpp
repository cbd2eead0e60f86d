#include "platform/KeyboardDevice.h"

#include <SDL.h>

#include <cstring>

#include "platform/InternalState.h"
#include "platform/SdlKeys.h"
#include "platform/Window.h"

namespace plat {
namespace {

using internal::hs;
using internal::onSdl;

// A set-up step fails when the test injected a failure for it.
bool injected(const char* step) { return !onSdl() && hs().failStep == step; }

}  // namespace

bool openInputSystem() {
    if (!onSdl()) return !injected("system");
    // The keyboard is read through the window system, so it needs a window.
    return SDL_WasInit(SDL_INIT_VIDEO) != 0 && internal::sdlWindow() != nullptr;
}

KeyboardDevice::~KeyboardDevice() { release(); }

bool KeyboardDevice::create() {
    if (injected("create")) return false;
    if (onSdl() && !openInputSystem()) return false;
    created_ = true;
    return true;
}

bool KeyboardDevice::setFormat() { return created_ && !injected("format"); }

bool KeyboardDevice::setCooperative() { return created_ && !injected("cooperative"); }

bool KeyboardDevice::acquire() {
    if (!created_ || injected("acquire")) return false;
    acquired_ = true;
    return true;
}

bool KeyboardDevice::unacquire() {
    acquired_ = false;
    return created_;
}

bool KeyboardDevice::getState(uint8_t state[256]) {
    if (!state || !acquired_ || injected("read")) return false;
    if (onSdl() && SDL_WasInit(SDL_INIT_VIDEO) != 0) SDL_PumpEvents();
    // A foreground device reads nothing while another window has the keyboard.
    if (!internal::windowHasFocus()) return false;
    if (!onSdl()) {
        std::memcpy(state, hs().keys, 256);
        return true;
    }
    int count = 0;
    const Uint8* keys = SDL_GetKeyboardState(&count);
    std::memset(state, 0, 256);
    for (int sc = 0; sc < count && sc < internal::sdlScancodeCount(); ++sc) {
        if (!keys[sc]) continue;
        if (int dik = internal::dikFromSdlScancode(sc)) state[dik] = 0x80;
    }
    return true;
}

void KeyboardDevice::release() {
    acquired_ = false;
    created_ = false;
}

}  // namespace plat
