#include "platform/BmpCodec.h"

#include "platform/Surface.h"

namespace plat::internal {
namespace {

constexpr uint32_t kRgb = 0, kRle8 = 1, kRle4 = 2, kBitfields = 3;

uint32_t le16(const uint8_t* p) { return uint32_t(p[0]) | uint32_t(p[1]) << 8; }
uint32_t le32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

void put16(std::string& s, uint32_t v) {
    s.push_back(char(v & 255));
    s.push_back(char((v >> 8) & 255));
}
void put32(std::string& s, uint32_t v) {
    put16(s, v & 0xFFFF);
    put16(s, v >> 16);
}

bool fail(std::string* error, const char* why) {
    if (error) *error = why;
    return false;
}

}  // namespace

bool checkBmp(const uint8_t* data, std::size_t size, BmpInfo* info, std::string* error) {
    if (size == 0) return fail(error, "empty file");
    if (size < 2 || data[0] != 'B' || data[1] != 'M') return fail(error, "not a BMP file");
    if (size < 18) return fail(error, "truncated");

    const uint64_t fileSize = size;
    const uint64_t pixelOffset = le32(data + 10);
    const uint32_t headerSize = le32(data + 14);
    const bool core = headerSize == 12;
    if (!core && headerSize != 40 && headerSize != 52 && headerSize != 56 && headerSize != 108 &&
        headerSize != 124)
        return fail(error, "unsupported BMP header");
    if (14 + uint64_t(headerSize) > fileSize) return fail(error, "truncated");

    int64_t width, height;
    uint32_t planes, bpp, compression = kRgb, coloursUsed = 0;
    if (core) {
        width = le16(data + 18);
        height = le16(data + 20);
        planes = le16(data + 22);
        bpp = le16(data + 24);
    } else {
        width = int32_t(le32(data + 18));
        height = int32_t(le32(data + 22));
        planes = le16(data + 26);
        bpp = le16(data + 28);
        compression = le32(data + 30);
        coloursUsed = le32(data + 46);
    }
    const bool topDown = height < 0;
    if (topDown) height = -height;
    if (width < 1 || width > kMaxBmpSide || height < 1 || height > kMaxBmpSide)
        return fail(error, "bad size");
    if (planes != 1) return fail(error, "bad BMP header");
    if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32)
        return fail(error, "unsupported bit depth");
    if (core && bpp == 16) return fail(error, "unsupported bit depth");

    const bool rle = compression == kRle8 || compression == kRle4;
    const bool known = compression == kRgb || (compression == kRle8 && bpp == 8) ||
                       (compression == kRle4 && bpp == 4) ||
                       (compression == kBitfields && (bpp == 16 || bpp == 32));
    if (!known) return fail(error, "unsupported compression");
    // Run-length data is always stored bottom-up.
    if (rle && topDown) return fail(error, "bad BMP header");

    uint64_t headerEnd = 14 + uint64_t(headerSize);
    if (headerSize == 40 && compression == kBitfields) headerEnd += 12;  // the three masks
    if (bpp <= 8) {
        const uint64_t maxColours = uint64_t(1) << bpp;
        const uint64_t colours = coloursUsed ? coloursUsed : maxColours;
        if (colours > maxColours) return fail(error, "bad palette");
        headerEnd += colours * (core ? 3 : 4);
    }
    if (headerEnd > fileSize) return fail(error, "truncated");
    if (pixelOffset < 14 + uint64_t(headerSize)) return fail(error, "bad BMP header");
    if (pixelOffset >= fileSize) return fail(error, "truncated");
    if (!rle) {
        const uint64_t rowBytes = (uint64_t(width) * bpp + 31) / 32 * 4;
        if (pixelOffset + rowBytes * uint64_t(height) > fileSize) return fail(error, "truncated");
    } else if (const uint64_t pixels = uint64_t(width) * uint64_t(height);
               pixels > kMaxSparseRlePixels && pixels > (fileSize - pixelOffset) * 256) {
        // Line ends, image ends and deltas may leave any part of a canvas
        // blank, so a few bytes can describe a whole screen. But the decoder
        // allocates and fills every pixel of it: a hundred bytes claiming
        // 16384 x 16384 would cost a gigabyte and seconds. Beyond a size the
        // game could draw, a canvas must be in proportion to its data (two
        // bytes of runs give at most 255 pixels).
        return fail(error, "run-length canvas far larger than its data");
    }

    if (info) {
        info->width = int(width);
        info->height = int(height);
        info->topDown = topDown;
        info->bitsPerPixel = int(bpp);
        info->compression = compression;
    }
    return true;
}

std::string encodeBmp24(const uint32_t* pixels, int pitchBytes, int w, int h) {
    const uint32_t rowBytes = (uint32_t(w) * 3 + 3) & ~3u;
    const uint32_t dataSize = rowBytes * uint32_t(h);
    std::string out;
    out.reserve(54 + dataSize);
    out += "BM";
    put32(out, 54 + dataSize);
    put32(out, 0);
    put32(out, 54);
    put32(out, 40);
    put32(out, uint32_t(w));
    put32(out, uint32_t(h));
    put16(out, 1);
    put16(out, 24);
    put32(out, kRgb);
    put32(out, dataSize);
    put32(out, 2835);  // 72 dpi
    put32(out, 2835);
    put32(out, 0);
    put32(out, 0);
    const auto* base = reinterpret_cast<const uint8_t*>(pixels);
    for (int y = h - 1; y >= 0; --y) {
        const auto* row = reinterpret_cast<const uint32_t*>(base + std::size_t(y) * pitchBytes);
        for (int x = 0; x < w; ++x) {
            const uint32_t p = row[x];
            out.push_back(char(p & 255));
            out.push_back(char((p >> 8) & 255));
            out.push_back(char((p >> 16) & 255));
        }
        for (uint32_t pad = uint32_t(w) * 3; pad < rowBytes; ++pad) out.push_back(0);
    }
    return out;
}

}  // namespace plat::internal
