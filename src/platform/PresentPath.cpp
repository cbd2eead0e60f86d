#include "platform/PresentPath.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

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

void scaleNearest(const uint32_t* src, int srcW, int srcH, int srcPitch, uint32_t* dst, int dstW, int dstH,
                  int dstPitch) {
    if (srcW <= 0 || srcH <= 0 || dstW <= 0 || dstH <= 0) return;
    // The source column under each target column's centre.
    std::vector<int> column(static_cast<std::size_t>(dstW));
    for (int x = 0; x < dstW; ++x) column[std::size_t(x)] = int((int64_t(2 * x + 1) * srcW) / (int64_t(2) * dstW));
    const auto* srcBytes = reinterpret_cast<const uint8_t*>(src);
    auto* dstBytes = reinterpret_cast<uint8_t*>(dst);
    int lastRow = -1;
    for (int y = 0; y < dstH; ++y) {
        const int row = int((int64_t(2 * y + 1) * srcH) / (int64_t(2) * dstH));
        auto* out = reinterpret_cast<uint32_t*>(dstBytes + std::size_t(y) * dstPitch);
        if (row == lastRow) {
            std::memcpy(out, dstBytes + std::size_t(y - 1) * dstPitch, std::size_t(dstW) * 4);
            continue;
        }
        const auto* in = reinterpret_cast<const uint32_t*>(srcBytes + std::size_t(row) * srcPitch);
        for (int x = 0; x < dstW; ++x) out[x] = in[column[std::size_t(x)]];
        lastRow = row;
    }
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
    // Only drivers that can render get a render node; a display controller
    // alone (the plain adapters of virtual machines, say) has a card node.
    for (fs::directory_iterator it(fs::path(devDir) / "dri", ec), end; !ec && it != end; it.increment(ec))
        if (it->path().filename().string().rfind("renderD", 0) == 0) return true;
    // The NVIDIA driver may run without DRM nodes.
    return fs::exists(fs::path(devDir) / "nvidiactl", ec);
}

}  // namespace plat::internal
