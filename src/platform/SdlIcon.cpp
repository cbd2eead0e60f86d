#include "platform/SdlIcon.h"

#include <utility>

#include "platform/IniFileIo.h"

namespace plat::internal {
namespace {

constexpr int kSide = 32;
constexpr std::size_t kMaxFile = 4 * 1024 * 1024;  // icons are small; refuse anything huge

uint32_t u16(const uint8_t* p) { return uint32_t(p[0]) | uint32_t(p[1]) << 8; }
uint32_t u32(const uint8_t* p) { return u16(p) | u16(p + 2) << 16; }
int32_t s32(const uint8_t* p) { return static_cast<int32_t>(u32(p)); }

// Decodes one directory entry's image (a headerless-file DIB: info header,
// colour bits bottom-up, then the 1-bit transparency mask).
bool decodeEntry(const uint8_t* img, std::size_t size, int* depth, IconImage* out) {
    if (size < 40) return false;
    uint32_t headerSize = u32(img);
    int32_t w = s32(img + 4);
    int32_t h = s32(img + 8);
    uint32_t planes = u16(img + 12);
    uint32_t bpp = u16(img + 14);
    uint32_t compression = u32(img + 16);
    uint32_t coloursUsed = u32(img + 32);
    if (headerSize < 40 || headerSize > size || planes != 1 || compression != 0) return false;
    if (w != kSide || (h != 2 * kSide && h != kSide)) return false;
    if (bpp != 24 && bpp != 32) return false;
    if (coloursUsed > 256) return false;

    std::size_t pos = headerSize + std::size_t(coloursUsed) * 4;
    std::size_t colourRow = ((kSide * bpp + 31) / 32) * 4;
    std::size_t maskRow = ((kSide + 31) / 32) * 4;
    if (pos > size || size - pos < colourRow * kSide) return false;
    const uint8_t* colours = img + pos;
    const uint8_t* mask = nullptr;
    if (size - pos >= colourRow * kSide + maskRow * kSide) mask = colours + colourRow * kSide;

    IconImage result;
    result.width = kSide;
    result.height = kSide;
    result.argb.assign(kSide * kSide, 0);
    bool anyAlpha = false;
    for (int row = 0; row < kSide; ++row) {
        const uint8_t* src = colours + colourRow * row;
        uint32_t* dst = &result.argb[std::size_t(kSide - 1 - row) * kSide];
        for (int x = 0; x < kSide; ++x) {
            const uint8_t* p = src + x * (bpp / 8);
            uint32_t a = bpp == 32 ? p[3] : 0;
            anyAlpha = anyAlpha || a != 0;
            dst[x] = a << 24 | uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0];
        }
    }
    // Without an alpha channel (24 bits, or 32 bits all zero) the mask decides:
    // a set bit is transparent.
    if (!anyAlpha) {
        for (int row = 0; row < kSide; ++row) {
            uint32_t* dst = &result.argb[std::size_t(kSide - 1 - row) * kSide];
            for (int x = 0; x < kSide; ++x) {
                bool clear = mask && (mask[maskRow * row + x / 8] >> (7 - x % 8) & 1);
                dst[x] = (dst[x] & 0x00FFFFFF) | (clear ? 0u : 0xFF000000u);
            }
        }
    }
    *depth = int(bpp);
    *out = std::move(result);
    return true;
}

}  // namespace

bool parseIcon(const uint8_t* data, std::size_t size, IconImage* out) {
    if (!data || size < 6 || size > kMaxFile) return false;
    if (u16(data) != 0 || u16(data + 2) != 1) return false;
    std::size_t count = u16(data + 4);
    if (count == 0 || 6 + count * 16 > size) return false;

    IconImage best;
    int bestDepth = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const uint8_t* e = data + 6 + i * 16;
        if (e[0] != kSide || e[1] != kSide) continue;
        uint64_t bytes = u32(e + 8);
        uint64_t offset = u32(e + 12);
        if (offset + bytes > size) continue;
        IconImage candidate;
        int depth = 0;
        if (!decodeEntry(data + offset, std::size_t(bytes), &depth, &candidate)) continue;
        if (depth > bestDepth) {
            best = std::move(candidate);
            bestDepth = depth;
        }
    }
    if (bestDepth == 0) return false;
    *out = std::move(best);
    return true;
}

bool readIconFile(const std::string& path, IconImage* out) {
    std::string bytes;
    FileStamp stamp;
    if (readWholeFile(path, kMaxFile, &bytes, &stamp) != ReadResult::Ok) return false;
    return parseIcon(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), out);
}

}  // namespace plat::internal
