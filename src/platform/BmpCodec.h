// The Windows .bmp format: a header check that runs before any decoder sees
// the bytes, and a 24-bit writer. Never included outside src/platform/.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace plat::internal {

constexpr int kMaxBmpSide = 16384;

struct BmpInfo {
    int width = 0;
    int height = 0;  // always positive; topDown tells the row order
    bool topDown = false;
    int bitsPerPixel = 0;
    uint32_t compression = 0;
};

// True when the file's headers describe an image that a decoder can read
// without running past the data: known header and compression, sane sizes
// (a run-length canvas beyond kMaxSparseRlePixels in proportion to its data),
// palette and pixel data inside the file. Otherwise *error says why.
bool checkBmp(const uint8_t* data, std::size_t size, BmpInfo* info, std::string* error);

// A 24-bit bottom-up .bmp file of w x h pixels 0x00RRGGBB, rows pitchBytes apart.
std::string encodeBmp24(const uint32_t* pixels, int pitchBytes, int w, int h);

}  // namespace plat::internal
