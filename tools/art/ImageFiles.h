// The two file formats the generator writes: 24-bit Windows bitmaps and a
// one-entry 32 x 32 icon.
#pragma once

#include <string>
#include <vector>

#include "art/Image.h"

namespace art {

// A bottom-up 24-bit BMP with rows padded to four bytes.
std::vector<unsigned char> encodeBmp(const Image& img);

// A .ico with one 32-bit BGRA image and its AND mask; key pixels become
// fully transparent. The image must be 32 x 32.
std::vector<unsigned char> encodeIco(const Image& img);

// Writes bytes to path, creating the folders on the way. A file that
// already holds exactly these bytes is left untouched. False on failure.
bool writeFileIfChanged(const std::string& path, const std::vector<unsigned char>& bytes);

}  // namespace art
