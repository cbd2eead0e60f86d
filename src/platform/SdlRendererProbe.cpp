#include "platform/SdlRendererProbe.h"

#include <SDL.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <thread>

#include "platform/PresentPath.h"

#ifdef __linux__
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace plat::internal {
namespace {

bool decided = false;
RendererKind kind = RendererKind::Unknown;

// The GL_RENDERER string of the current GL context.
const char* glRendererName() {
    constexpr unsigned kGlRenderer = 0x1F01;
    using GetString = const unsigned char* (*)(unsigned);
    if (!SDL_GL_GetCurrentContext()) return nullptr;
    auto getString = reinterpret_cast<GetString>(SDL_GL_GetProcAddress("glGetString"));
    return getString ? reinterpret_cast<const char*>(getString(kGlRenderer)) : nullptr;
}

#ifdef __linux__
constexpr int kHardwareExit = 0;
constexpr auto kProbeLimit = std::chrono::seconds(3);

// In the child: a hidden window and a renderer on a display connection of
// its own; only the exit code leaves it.
[[noreturn]] void probeAndExit() {
    int code = 1;
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) == 0) {
        SDL_Window* window = SDL_CreateWindow("", 0, 0, 64, 64, SDL_WINDOW_HIDDEN);
        SDL_Renderer* renderer = window ? SDL_CreateRenderer(window, -1, 0) : nullptr;
        if (renderer && !drawsInSoftware(renderer)) code = kHardwareExit;
    }
    _exit(code);  // nothing of the parent's (buffers, destructors) runs here
}

RendererKind probeInChild() {
    // The child inherits every stdio buffer, and a library it starts may
    // flush them all (D-Bus does before it launches its daemon): the log
    // lines buffered so far would then be written twice.
    std::fflush(nullptr);
    const pid_t child = fork();
    if (child < 0) return RendererKind::Unknown;
    if (child == 0) probeAndExit();
    const auto giveUp = std::chrono::steady_clock::now() + kProbeLimit;
    int status = 0;
    pid_t done = 0;
    while ((done = waitpid(child, &status, WNOHANG)) == 0 && std::chrono::steady_clock::now() < giveUp)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    if (done == 0) {
        kill(child, SIGKILL);
        waitpid(child, &status, 0);
        return RendererKind::Software;
    }
    const bool hardware = done == child && WIFEXITED(status) && WEXITSTATUS(status) == kHardwareExit;
    return hardware ? RendererKind::Hardware : RendererKind::Software;
}
#endif

}  // namespace

RendererKind probeRenderer() {
    if (decided) return kind;
    decided = true;
    const char* asked = SDL_GetHint(SDL_HINT_RENDER_DRIVER);
    if (asked && *asked) {
        kind = RendererKind::Asked;
    } else {
#ifdef __linux__
        // Without a GPU device node any GL on offer is a software one.
        kind = gpuDeviceNodes("/dev") ? probeInChild() : RendererKind::Software;
#else
        kind = RendererKind::Unknown;
#endif
    }
    return kind;
}

void forgetRenderer() {
    decided = false;
    kind = RendererKind::Unknown;
}

bool drawsInSoftware(SDL_Renderer* renderer) {
    SDL_RendererInfo info;
    if (!renderer || SDL_GetRendererInfo(renderer, &info) != 0) return true;
    const bool gl = std::strncmp(info.name, "opengl", 6) == 0;
    return softwareRenderer(info.name, gl ? glRendererName() : nullptr);
}

}  // namespace plat::internal
