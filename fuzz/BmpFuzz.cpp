// The .bmp loader on any bytes: a file either loads as an image of a sane
// size (a large one in proportion to its bytes) that draws, plainly and
// keyed, without reading outside it, or is refused with a reason.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "FuzzSupport.h"
#include "platform/Surface.h"

using fuzzsupport::check;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    static const std::string path = fuzzsupport::scratchFile("image.bmp");
    fuzzsupport::writeFile(path, fuzzsupport::bytesOf(data, size));

    std::string error;
    std::unique_ptr<plat::Surface> image = plat::Surface::loadBmp(path, &error);
    if (!image) {
        check(!error.empty(), "a refused image gives no reason");
        return 0;
    }
    check(image->width() >= 1 && image->width() <= 16384 && image->height() >= 1 &&
              image->height() <= 16384,
          "an image of impossible size loaded");
    // Loading costs time and memory in proportion to the picture: beyond
    // 2048 x 2048 pixels, a file must not promise one far beyond what its
    // bytes can describe.
    const uint64_t pixels = uint64_t(image->width()) * uint64_t(image->height());
    check(pixels <= plat::kMaxSparseRlePixels || pixels <= uint64_t(size) * 256,
          "an image far larger than its file loaded");

    // Drawn around the corners of a small target, as sprites are.
    auto target = plat::Surface::create(16, 16);
    check(target != nullptr, "no target surface");
    const int w = image->width(), h = image->height();
    target->copyFrom(*image, 0, 0, w, h, -w / 2, -h / 2);
    target->copyKeyedFrom(*image, w / 3, h / 3, w, h, 8, 8);
    uint32_t seen = image->pixel(w - 1, h - 1) | image->pixel(0, 0);
    check((seen & 0xFF000000u) == 0, "a pixel carries bits above the colour");
    return 0;
}
