// A small reader of Windows .ico files: takes the 32 x 32 image of 32 or 24
// bits per pixel (the size and depths the game's icon uses). No SDL types,
// so tests can feed it files directly.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace plat::internal {

struct IconImage {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> argb;  // top row first, 0xAARRGGBB
};

// False (and *out untouched) when the data holds no usable 32 x 32 entry or
// is malformed in any way; never reads outside the data.
bool parseIcon(const uint8_t* data, std::size_t size, IconImage* out);
bool readIconFile(const std::string& path, IconImage* out);

}  // namespace plat::internal
