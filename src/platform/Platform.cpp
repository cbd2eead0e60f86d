#include "platform/Platform.h"

#include <SDL.h>

#include <string>

#include "platform/InternalState.h"
#include "platform/SdlRendererProbe.h"

namespace plat {
namespace {

Backend current = Backend::Headless;

// 0 = not tried yet, 1 = running, -1 = failed to start.
int videoState = 0;
int audioState = 0;

int startSubsystem(Uint32 flag) {
    if (SDL_WasInit(flag) != 0) return 1;
    return SDL_InitSubSystem(flag) == 0 ? 1 : -1;
}

// SDL falls back to drivers that show nothing when there is no display; a
// game window there could never be seen or closed. They count only when
// asked for by name.
bool invisibleVideoDriver() {
    const char* driver = SDL_GetCurrentVideoDriver();
    if (!driver) return true;
    std::string name = driver;
    if (name != "offscreen" && name != "dummy" && name != "evdev") return false;
    const char* wanted = SDL_getenv("SDL_VIDEODRIVER");
    return !(wanted && name == wanted);
}

}  // namespace

namespace internal {

bool sdlVideo() {
    if (!onSdl()) return false;
    if (videoState == 0) {
        // The game asks for the screen saver to stay away for the whole run.
        SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "0");
        // A probe process must start before this one talks to the display.
        if (SDL_WasInit(SDL_INIT_VIDEO) == 0) probeRenderer();
        videoState = startSubsystem(SDL_INIT_VIDEO);
        if (videoState == 1 && invisibleVideoDriver()) {
            SDL_QuitSubSystem(SDL_INIT_VIDEO);
            videoState = -1;
        }
    }
    return videoState == 1;
}

bool sdlAudio() {
    if (!onSdl()) return false;
    if (audioState == 0) audioState = startSubsystem(SDL_INIT_AUDIO);
    return audioState == 1;
}

void sdlForget() {
    videoState = 0;
    audioState = 0;
    forgetRenderer();
}

}  // namespace internal

void init(Backend backend) {
    if (backend != current) shutdown();
    current = backend;
}

void shutdown() {
    internal::resetWindowState();
    internal::resetAudioState();
    if (SDL_WasInit(0) != 0) SDL_Quit();
    internal::sdlForget();
    current = Backend::Headless;
}

Backend backend() { return current; }

}  // namespace plat
