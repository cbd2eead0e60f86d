#include "platform/PresentPath.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <filesystem>
#include <string>

namespace plat::internal {

ScreenRect letterbox(int srcW, int srcH, int outW, int outH) {
    ScreenRect r;
    if (srcW <= 0 || srcH <= 0 || outW <= 0 || outH <= 0) return r;
    // Compared as cross products in 64 bits: exact, where a ratio of floats
    // could put a bar of one pixel on an output of exactly the right shape.
    const int64_t wide = int64_t(outW) * srcH;
    const int64_t tall = int64_t(outH) * srcW;
    if (wide >= tall) {
        // Wider than the picture (or the same shape): bars at the sides.
        r.h = outH;
        r.w = int(tall / srcH);
    } else {
        r.w = outW;
        r.h = int(wide / srcW);
    }
    r.x = (outW - r.w) / 2;
    r.y = (outH - r.h) / 2;
    return r;
}

bool softwareRenderer(const char* rendererName, const char* glRenderer) {
    if (!rendererName || !*rendererName) return true;
    const std::string name = rendererName;
    if (name == "software") return true;
    if (name.rfind("opengl", 0) != 0 || !glRenderer) return false;
    std::string gl = glRenderer;
    std::transform(gl.begin(), gl.end(), gl.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    for (const char* rasteriser : {"llvmpipe", "softpipe", "swrast", "software rasterizer"})
        if (gl.find(rasteriser) != std::string::npos) return true;
    return false;
}

bool gpuDeviceNodes(const std::string& devDir) {
    namespace fs = std::filesystem;
    std::error_code ec;
    // card* and renderD* are the DRM nodes every open driver uses.
    for (fs::directory_iterator it(fs::path(devDir) / "dri", ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.rfind("card", 0) == 0 || name.rfind("renderD", 0) == 0) return true;
    }
    // The NVIDIA driver may run without DRM nodes.
    return fs::exists(fs::path(devDir) / "nvidiactl", ec);
}

}  // namespace plat::internal
