// The .ico reader behind the window icon.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "support/TestFiles.h"
#include "platform/SdlIcon.h"

namespace {

using plat::internal::IconImage;
using plat::internal::parseIcon;
using Bytes = std::vector<uint8_t>;

void put16(Bytes& b, uint32_t v) {
    b.push_back(uint8_t(v));
    b.push_back(uint8_t(v >> 8));
}
void put32(Bytes& b, uint32_t v) {
    put16(b, v & 0xFFFF);
    put16(b, v >> 16);
}

// One DIB entry: bottom-up colour rows, then the mask. Pixel (x, y) has the
// colour colourAt(x, y); the mask marks the left half of row 0 transparent.
Bytes dib(int side, int bpp, bool alpha) {
    Bytes b;
    put32(b, 40);
    put32(b, uint32_t(side));
    put32(b, uint32_t(side * 2));
    put16(b, 1);
    put16(b, uint32_t(bpp));
    for (int i = 0; i < 6; ++i) put32(b, 0);
    int rowBytes = ((side * bpp + 31) / 32) * 4;
    for (int row = side - 1; row >= 0; --row) {
        Bytes r;
        for (int x = 0; x < side; ++x) {
            r.push_back(uint8_t(x));        // blue
            r.push_back(uint8_t(row));      // green
            r.push_back(uint8_t(bpp));      // red
            if (bpp == 32) r.push_back(alpha ? uint8_t(0x80 + x) : 0);
        }
        r.resize(size_t(rowBytes), 0);
        b.insert(b.end(), r.begin(), r.end());
    }
    int maskRow = ((side + 31) / 32) * 4;
    for (int row = side - 1; row >= 0; --row)
        for (int i = 0; i < maskRow; ++i) b.push_back(row == 0 && i < side / 16 ? 0xFF : 0);
    return b;
}

Bytes ico(const std::vector<std::pair<int, Bytes>>& entries) {
    Bytes b;
    put16(b, 0);
    put16(b, 1);
    put16(b, uint32_t(entries.size()));
    uint32_t offset = uint32_t(6 + 16 * entries.size());
    for (const auto& [side, data] : entries) {
        b.push_back(uint8_t(side));
        b.push_back(uint8_t(side));
        b.push_back(0);
        b.push_back(0);
        put16(b, 1);
        put16(b, 32);
        put32(b, uint32_t(data.size()));
        put32(b, offset);
        offset += uint32_t(data.size());
    }
    for (const auto& e : entries) b.insert(b.end(), e.second.begin(), e.second.end());
    return b;
}

TEST(Icon, ReadsThe32BitEntryWithItsAlpha) {
    Bytes file = ico({{16, dib(16, 32, true)}, {32, dib(32, 24, false)}, {32, dib(32, 32, true)}});
    IconImage img;
    ASSERT_TRUE(parseIcon(file.data(), file.size(), &img));
    ASSERT_EQ(img.width, 32);
    ASSERT_EQ(img.height, 32);
    // Top row first: (x, y) has blue x, green y, red 32 (the 32-bit entry won).
    EXPECT_EQ(img.argb[0], 0x80200000u);
    EXPECT_EQ(img.argb[5 * 32 + 7], uint32_t(0x87) << 24 | 0x200000u | 5u << 8 | 7u);
}

TEST(Icon, Uses24BitEntriesWithTheirMask) {
    Bytes file = ico({{32, dib(32, 24, false)}});
    IconImage img;
    ASSERT_TRUE(parseIcon(file.data(), file.size(), &img));
    EXPECT_EQ(img.argb[0], 0x00180000u);             // masked: transparent
    EXPECT_EQ(img.argb[16], 0xFF180010u);            // right half of row 0 opaque
    EXPECT_EQ(img.argb[31 * 32 + 3], 0xFF181F03u);   // bottom row opaque

    // A 32-bit entry whose alpha is all zero falls back to the mask as well.
    file = ico({{32, dib(32, 32, false)}});
    ASSERT_TRUE(parseIcon(file.data(), file.size(), &img));
    EXPECT_EQ(img.argb[0] >> 24, 0u);
    EXPECT_EQ(img.argb[40] >> 24, 0xFFu);
}

TEST(Icon, RefusesMalformedAndUnsupportedFiles) {
    IconImage img;
    EXPECT_FALSE(parseIcon(nullptr, 0, &img));
    Bytes only16 = ico({{16, dib(16, 32, true)}});
    EXPECT_FALSE(parseIcon(only16.data(), only16.size(), &img));
    Bytes eightBit = dib(32, 24, false);
    eightBit[14] = 8;
    Bytes palette = ico({{32, eightBit}});
    EXPECT_FALSE(parseIcon(palette.data(), palette.size(), &img));
    Bytes png = ico({{32, Bytes{0x89, 'P', 'N', 'G', 13, 10, 26, 10}}});
    EXPECT_FALSE(parseIcon(png.data(), png.size(), &img));

    Bytes good = ico({{32, dib(32, 32, true)}});
    Bytes wrongType = good;
    wrongType[2] = 2;  // a cursor file
    EXPECT_FALSE(parseIcon(wrongType.data(), wrongType.size(), &img));
    Bytes farOffset = good;
    farOffset[18] = 0xFF;
    farOffset[21] = 0x7F;
    EXPECT_FALSE(parseIcon(farOffset.data(), farOffset.size(), &img));
    Bytes hugeCount = good;
    hugeCount[4] = 0xFF;
    hugeCount[5] = 0xFF;
    EXPECT_FALSE(parseIcon(hugeCount.data(), hugeCount.size(), &img));
    // Every truncation of a good file fails cleanly (the sanitizers watch the reads).
    for (size_t n = 0; n < good.size(); n += 7) {
        Bytes cut(good.begin(), good.begin() + long(n));
        EXPECT_FALSE(parseIcon(cut.data(), cut.size(), &img)) << n;
    }
    EXPECT_EQ(img.width, 0);  // nothing was written on failure
}

TEST(Icon, ReadsFromAFile) {
    testsupport::TempDir dir;
    Bytes good = ico({{32, dib(32, 32, true)}});
    ASSERT_TRUE(testsupport::writeFile(dir.file("a.ico"), std::string(good.begin(), good.end())));
    ASSERT_TRUE(testsupport::writeFile(dir.file("empty.ico"), ""));
    IconImage img;
    EXPECT_TRUE(plat::internal::readIconFile(dir.file("a.ico"), &img));
    EXPECT_FALSE(plat::internal::readIconFile(dir.file("empty.ico"), &img));
    EXPECT_FALSE(plat::internal::readIconFile(dir.file("missing.ico"), &img));
    EXPECT_FALSE(plat::internal::readIconFile(dir.path(), &img));
}

}  // namespace
