#include "platform/Surface.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "support/TestFiles.h"

namespace {

using plat::rgb;
using plat::Surface;

using testsupport::TempDir;

void writeFile(const std::string& path, const std::string& bytes) {
    ASSERT_TRUE(testsupport::writeFile(path, bytes)) << path;
}

// ---- Building .bmp files byte by byte ---------------------------------------

void put16(std::string& s, uint32_t v) {
    s.push_back(char(v & 255));
    s.push_back(char((v >> 8) & 255));
}
void put32(std::string& s, uint32_t v) {
    put16(s, v & 0xFFFF);
    put16(s, v >> 16);
}

struct BmpLayout {
    int width = 0, height = 0;  // height < 0: rows stored top-down
    int bpp = 24;
    uint32_t compression = 0;
    std::vector<uint32_t> palette;  // 0x00RRGGBB
    std::vector<uint32_t> masks;    // bit fields, written after a 40-byte header
    std::string data;               // pixel data as stored
    bool coreHeader = false;        // the 12-byte header of the oldest files
};

BmpLayout layout(int width, int height, int bpp, uint32_t compression = 0) {
    BmpLayout s;
    s.width = width;
    s.height = height;
    s.bpp = bpp;
    s.compression = compression;
    return s;
}

std::string makeBmp(const BmpLayout& s) {
    std::string header;
    if (s.coreHeader) {
        put32(header, 12);
        put16(header, uint32_t(s.width));
        put16(header, uint32_t(s.height));
        put16(header, 1);
        put16(header, uint32_t(s.bpp));
    } else {
        put32(header, 40);
        put32(header, uint32_t(s.width));
        put32(header, uint32_t(s.height));
        put16(header, 1);
        put16(header, uint32_t(s.bpp));
        put32(header, s.compression);
        put32(header, uint32_t(s.data.size()));
        put32(header, 2835);
        put32(header, 2835);
        put32(header, uint32_t(s.palette.size()));
        put32(header, 0);
    }
    for (uint32_t m : s.masks) put32(header, m);
    for (uint32_t c : s.palette) {
        header.push_back(char(c & 255));
        header.push_back(char((c >> 8) & 255));
        header.push_back(char((c >> 16) & 255));
        if (!s.coreHeader) header.push_back(0);
    }
    std::string out = "BM";
    put32(out, uint32_t(14 + header.size() + s.data.size()));
    put32(out, 0);
    put32(out, uint32_t(14 + header.size()));
    return out + header + s.data;
}

// Uncompressed rows: raw(x, y) is the stored value of image pixel (x, y).
std::string packRows(int w, int h, int bpp, bool topDown,
                     const std::function<uint32_t(int, int)>& raw) {
    std::string out;
    for (int r = 0; r < h; ++r) {
        const int y = topDown ? r : h - 1 - r;
        std::string row;
        uint32_t bits = 0;
        int nbits = 0;
        for (int x = 0; x < w; ++x) {
            const uint32_t v = raw(x, y);
            if (bpp < 8) {
                bits = (bits << bpp) | v;
                nbits += bpp;
                if (nbits == 8) {
                    row.push_back(char(bits));
                    bits = 0;
                    nbits = 0;
                }
            } else {
                for (int b = 0; b < bpp / 8; ++b) row.push_back(char((v >> (8 * b)) & 255));
            }
        }
        if (nbits) row.push_back(char(bits << (8 - nbits)));
        while (row.size() % 4) row.push_back(0);
        out += row;
    }
    return out;
}

void expectPixels(const Surface& s, int w, int h, const std::function<uint32_t(int, int)>& want) {
    ASSERT_EQ(s.width(), w);
    ASSERT_EQ(s.height(), h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) ASSERT_EQ(s.pixel(x, y), want(x, y)) << "at " << x << "," << y;
}

std::unique_ptr<Surface> loadBytes(const TempDir& dir, const std::string& bytes,
                                   std::string* error = nullptr) {
    const std::string path = dir.file("image.bmp");
    writeFile(path, bytes);
    return Surface::loadBmp(path, error);
}

// A surface whose every pixel differs, with key-coloured pixels sprinkled in.
std::unique_ptr<Surface> pattern(int w, int h, uint32_t seed) {
    auto s = Surface::create(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            s->setPixel(x, y, (x + y + seed) % 5 == 0 ? plat::kKeyColour : rgb(x * 9 + seed, y * 7, 100 + x + y));
    return s;
}

std::vector<uint32_t> snapshot(const Surface& s) {
    std::vector<uint32_t> v;
    for (int y = 0; y < s.height(); ++y)
        for (int x = 0; x < s.width(); ++x) v.push_back(s.pixel(x, y));
    return v;
}

// What a copy must do, pixel by pixel: every pixel whose source and target
// both lie inside their surfaces is copied, unless keyed and key-coloured.
std::vector<uint32_t> expectedCopy(const Surface& dst, const Surface& src, int64_t sx, int64_t sy,
                                   int64_t w, int64_t h, int64_t dx, int64_t dy, bool keyed) {
    std::vector<uint32_t> out = snapshot(dst);
    for (int y = 0; y < dst.height(); ++y) {
        for (int x = 0; x < dst.width(); ++x) {
            const int64_t i = x - dx, j = y - dy;
            if (i < 0 || j < 0 || i >= w || j >= h) continue;
            const int64_t px = sx + i, py = sy + j;
            if (px < 0 || py < 0 || px >= src.width() || py >= src.height()) continue;
            const uint32_t c = src.pixel(int(px), int(py));
            if (keyed && c == plat::kKeyColour) continue;
            out[std::size_t(y) * dst.width() + x] = c;
        }
    }
    return out;
}

// ---- Creating, pixels and fills ----------------------------------------------

TEST(SurfaceTest, CreateAcceptsOnlySidesFrom1To16384AndStartsBlack) {
    EXPECT_EQ(Surface::create(0, 5), nullptr);
    EXPECT_EQ(Surface::create(5, -1), nullptr);
    EXPECT_EQ(Surface::create(16385, 1), nullptr);
    EXPECT_EQ(Surface::create(1, INT_MAX), nullptr);
    ASSERT_NE(Surface::create(16384, 1), nullptr);

    auto s = Surface::create(3, 2);
    ASSERT_NE(s, nullptr);
    EXPECT_GE(s->pitch(), 12);
    expectPixels(*s, 3, 2, [](int, int) { return 0u; });
}

TEST(SurfaceTest, PixelAccessOutsideIsHarmless) {
    auto s = Surface::create(4, 4);
    s->setPixel(1, 2, 0xFF123456);  // the unused top byte never sticks
    EXPECT_EQ(s->pixel(1, 2), 0x123456u);
    for (auto [x, y] : std::vector<std::pair<int, int>>{{-1, 0}, {0, -1}, {4, 0}, {0, 4}, {INT_MIN, INT_MAX}}) {
        s->setPixel(x, y, 0xFFFFFF);
        EXPECT_EQ(s->pixel(x, y), 0u);
    }
    expectPixels(*s, 4, 4, [](int x, int y) { return x == 1 && y == 2 ? 0x123456u : 0u; });
}

TEST(SurfaceTest, FillClipsAtEveryEdgeAndIgnoresEmptySizes) {
    struct Case {
        int x, y, w, h;
    };
    const Case cases[] = {{-2, -2, 4, 4},   {3, 3, 10, 10},  {-5, 1, 100, 1},  {1, -5, 1, 100},
                          {0, 0, 0, 3},     {0, 0, 3, -1},   {6, 0, 2, 2},     {0, 6, 2, 2},
                          {-3, 0, 3, 3},    {INT_MIN, INT_MIN, INT_MAX, INT_MAX},
                          {INT_MAX, 0, INT_MAX, 1}, {1, 1, 1, 1}};
    for (const Case& c : cases) {
        auto s = Surface::create(5, 4);
        s->fill(c.x, c.y, c.w, c.h, rgb(1, 2, 3));
        expectPixels(*s, 5, 4, [&](int x, int y) {
            const bool in = c.w > 0 && c.h > 0 && int64_t(x) >= c.x && int64_t(x) < int64_t(c.x) + c.w &&
                            int64_t(y) >= c.y && int64_t(y) < int64_t(c.y) + c.h;
            return in ? rgb(1, 2, 3) : 0u;
        });
    }
}

// ---- Copies -----------------------------------------------------------------

TEST(SurfaceTest, CopiesClipToBothSurfacesAndTheSourceRectangle) {
    const auto src = pattern(7, 5, 3);
    const int64_t values[] = {INT_MIN, -9, -4, -1, 0, 1, 2, 3, 5, 6, 8, INT_MAX};
    const int64_t sizes[] = {INT_MIN, -1, 0, 1, 2, 4, 7, 12, INT_MAX};
    uint32_t r = 12345;
    auto next = [&r](int n) { r = r * 1103515245 + 12345; return int((r >> 16) % uint32_t(n)); };
    for (int i = 0; i < 3000; ++i) {
        const int64_t sx = values[next(12)], sy = values[next(12)], dx = values[next(12)],
                      dy = values[next(12)], w = sizes[next(9)], h = sizes[next(9)];
        const bool keyed = i % 2 == 1;
        auto dst = pattern(6, 4, 1);
        const auto want = expectedCopy(*dst, *src, sx, sy, w, h, dx, dy, keyed);
        if (keyed)
            dst->copyKeyedFrom(*src, int(sx), int(sy), int(w), int(h), int(dx), int(dy));
        else
            dst->copyFrom(*src, int(sx), int(sy), int(w), int(h), int(dx), int(dy));
        ASSERT_EQ(snapshot(*dst), want) << "copy " << sx << "," << sy << " " << w << "x" << h
                                        << " to " << dx << "," << dy << (keyed ? " keyed" : "");
    }
}

TEST(SurfaceTest, KeyedCopySkipsExactlyPureGreen) {
    auto src = Surface::create(6, 1);
    const uint32_t colours[] = {plat::kKeyColour, rgb(0, 254, 0), rgb(1, 255, 0),
                                rgb(0, 255, 1), rgb(0, 0, 0), rgb(255, 255, 255)};
    for (int x = 0; x < 6; ++x) src->setPixel(x, 0, colours[x]);
    auto dst = Surface::create(6, 1);
    dst->fill(0, 0, 6, 1, rgb(9, 9, 9));
    dst->copyKeyedFrom(*src, 0, 0, 6, 1, 0, 0);
    EXPECT_EQ(dst->pixel(0, 0), rgb(9, 9, 9));
    for (int x = 1; x < 6; ++x) EXPECT_EQ(dst->pixel(x, 0), colours[x]) << x;

    // A straight copy from the same image still copies the green.
    dst->copyFrom(*src, 0, 0, 6, 1, 0, 0);
    EXPECT_EQ(dst->pixel(0, 0), plat::kKeyColour);
}

TEST(SurfaceTest, RepeatedKeyedCopiesFollowChangesToTheSource) {
    // Drawn again and again, an image takes the fast encoded path; every
    // kind of change to it must still show in the next copy.
    auto src = pattern(16, 16, 0);
    auto a = Surface::create(16, 16);
    auto b = Surface::create(16, 16);
    auto check = [&](Surface& dst) {
        dst.fill(0, 0, 16, 16, rgb(7, 7, 7));
        const auto want = expectedCopy(dst, *src, 2, 1, 14, 15, 0, 0, true);
        dst.copyKeyedFrom(*src, 2, 1, 14, 15, 0, 0);
        ASSERT_EQ(snapshot(dst), want);
    };
    for (int i = 0; i < 3; ++i) check(*a);
    src->setPixel(5, 5, plat::kKeyColour);
    src->setPixel(6, 6, rgb(1, 2, 3));
    check(*a);
    check(*a);
    src->fill(0, 0, 4, 4, plat::kKeyColour);
    check(*a);
    check(*b);  // alternating targets
    check(*a);
    check(*b);
    src->pixels()[src->pitch() / 4 * 3 + 9] = rgb(4, 5, 6);
    check(*a);
    src->copyFrom(*pattern(16, 16, 2), 0, 0, 16, 16, 0, 0);
    check(*a);
    check(*a);

    // An image without the key colour is copied straight; green that it
    // gains later, by any kind of change, is skipped again.
    auto plain = [&] {
        src->fill(0, 0, 16, 16, rgb(3, 3, 3));
        check(*a);
        check(*a);
    };
    plain();
    src->setPixel(7, 7, plat::kKeyColour);
    check(*a);
    plain();
    src->pixels()[src->pitch() / 4 * 2 + 3] = plat::kKeyColour;
    check(*a);
    plain();
    src->copyFrom(*pattern(16, 16, 1), 0, 0, 16, 16, 0, 0);
    check(*a);
    plain();
    src->fill(4, 4, 2, 2, plat::kKeyColour);
    check(*a);
}

TEST(SurfaceTest, CopyWithinOneSurfaceReadsTheOldPixels) {
    for (bool keyed : {false, true}) {
        for (auto [dx, dy] : std::vector<std::pair<int, int>>{{1, 1}, {-1, 0}, {0, -2}, {2, 0}, {5, 5}}) {
            auto s = pattern(8, 6, 4);
            const auto before = pattern(8, 6, 4);
            const auto want = expectedCopy(*s, *before, 1, 1, 5, 4, 1 + dx, 1 + dy, keyed);
            if (keyed)
                s->copyKeyedFrom(*s, 1, 1, 5, 4, 1 + dx, 1 + dy);
            else
                s->copyFrom(*s, 1, 1, 5, 4, 1 + dx, 1 + dy);
            EXPECT_EQ(snapshot(*s), want) << dx << "," << dy << (keyed ? " keyed" : "");
        }
    }
}

// ---- Loading .bmp files -----------------------------------------------------

uint32_t testColour(int x, int y) { return rgb(x * 40 + 3, y * 50 + 5, (x * y * 13) & 255); }

TEST(SurfaceTest, LoadsEveryDepthBottomUpAndTopDown) {
    TempDir dir;
    const int w = 5, h = 3;  // odd width: every depth needs row padding
    std::vector<uint32_t> palette;
    for (int i = 0; i < 256; ++i) palette.push_back(rgb(i, 255 - i, i * 3));
    auto index = [](int bpp) {
        return [bpp](int x, int y) { return uint32_t(x * 3 + y * 7 + 1) % (1u << bpp); };
    };
    auto bgr = [](int x, int y) { return testColour(x, y); };  // 0x00RRGGBB is stored B, G, R
    // 16 bits: x1r5g5b5, each field widened to the nearest 8-bit value.
    auto r5 = [](int x, int y) { return uint32_t((x * 7 + y) & 31) << 10 | uint32_t(y * 9 & 31) << 5 | uint32_t(x * 5 & 31); };
    auto widen5 = [](uint32_t v) { return (v * 255 + 15) / 31; };

    for (bool topDown : {false, true}) {
        SCOPED_TRACE(topDown ? "top-down" : "bottom-up");
        for (int bpp : {1, 4, 8}) {
            SCOPED_TRACE(bpp);
            BmpLayout s = layout(w, topDown ? -h : h, bpp);
            s.palette.assign(palette.begin(), palette.begin() + (1 << bpp));
            s.data = packRows(w, h, bpp, topDown, index(bpp));
            auto img = loadBytes(dir, makeBmp(s));
            ASSERT_NE(img, nullptr);
            expectPixels(*img, w, h, [&](int x, int y) { return palette[index(bpp)(x, y)]; });
        }
        {
            BmpLayout s = layout(w, topDown ? -h : h, 16);
            s.data = packRows(w, h, 16, topDown, r5);
            auto img = loadBytes(dir, makeBmp(s));
            ASSERT_NE(img, nullptr);
            expectPixels(*img, w, h, [&](int x, int y) {
                const uint32_t v = r5(x, y);
                return rgb(widen5(v >> 10 & 31), widen5(v >> 5 & 31), widen5(v & 31));
            });
        }
        {
            BmpLayout s = layout(w, topDown ? -h : h, 24);
            s.data = packRows(w, h, 24, topDown, bgr);
            auto img = loadBytes(dir, makeBmp(s));
            ASSERT_NE(img, nullptr);
            expectPixels(*img, w, h, testColour);
        }
        {
            // The fourth byte is no alpha to us: whatever it holds, the colour stands.
            BmpLayout s = layout(w, topDown ? -h : h, 32);
            s.data = packRows(w, h, 32, topDown, [](int x, int y) {
                return testColour(x, y) | uint32_t((x * 60) & 255) << 24;
            });
            auto img = loadBytes(dir, makeBmp(s));
            ASSERT_NE(img, nullptr);
            expectPixels(*img, w, h, testColour);
        }
    }
}

TEST(SurfaceTest, LoadsBitFieldsOldHeadersAndRunLengthData) {
    TempDir dir;
    {
        // 16 bits as r5g6b5.
        BmpLayout s = layout(2, 1, 16, 3);
        s.masks = {0xF800, 0x07E0, 0x001F};
        s.data = std::string("\x1F\x00\xE0\x07", 4);  // pure blue, pure green
        auto img = loadBytes(dir, makeBmp(s));
        ASSERT_NE(img, nullptr);
        EXPECT_EQ(img->pixel(0, 0), rgb(0, 0, 255));
        EXPECT_EQ(img->pixel(1, 0), plat::kKeyColour);
    }
    {
        BmpLayout s = layout(3, 2, 24);
        s.coreHeader = true;
        s.data = packRows(3, 2, 24, false, testColour);
        auto img = loadBytes(dir, makeBmp(s));
        ASSERT_NE(img, nullptr);
        expectPixels(*img, 3, 2, testColour);
    }
    {
        // 8-bit runs: row 0 (stored last) is 2 x colour 1 then 2 x colour 2;
        // row 1 is four literal indices 3, 0, 1, 2.
        BmpLayout s = layout(4, 2, 8, 1);
        s.palette = {rgb(10, 0, 0), rgb(20, 0, 0), rgb(30, 0, 0), rgb(40, 0, 0)};
        s.data = std::string("\x00\x04\x03\x00\x01\x02\x00\x00"
                             "\x02\x01\x02\x02\x00\x00\x00\x01", 16);
        auto img = loadBytes(dir, makeBmp(s));
        ASSERT_NE(img, nullptr);
        const uint32_t want[2][4] = {{rgb(20, 0, 0), rgb(20, 0, 0), rgb(30, 0, 0), rgb(30, 0, 0)},
                                     {rgb(40, 0, 0), rgb(10, 0, 0), rgb(20, 0, 0), rgb(30, 0, 0)}};
        expectPixels(*img, 4, 2, [&](int x, int y) { return want[y][x]; });
    }
    {
        // 4-bit runs alternate the two nibbles: 5 pixels 1, 2, 1, 2, 1.
        BmpLayout s = layout(5, 1, 4, 2);
        s.palette = {rgb(0, 0, 0), rgb(0, 0, 100), rgb(0, 0, 200)};
        s.data = std::string("\x05\x12\x00\x00\x00\x01", 6);
        auto img = loadBytes(dir, makeBmp(s));
        ASSERT_NE(img, nullptr);
        expectPixels(*img, 5, 1, [](int x, int) { return x % 2 ? rgb(0, 0, 200) : rgb(0, 0, 100); });
    }
    {
        // Line ends, image ends and deltas leave most of a canvas blank, so
        // a few bytes may describe a large one: a screen of one run, and a
        // 4 x 4 square at (800, 800) of 1600 x 1600 reached by deltas.
        const uint32_t red = rgb(200, 0, 0);
        BmpLayout screen = layout(640, 480, 8, 1);
        screen.palette = {rgb(0, 0, 0), red};
        screen.data = std::string("\x0A\x01\x00\x01", 4);  // 10 pixels of red on the bottom row
        auto img = loadBytes(dir, makeBmp(screen));
        ASSERT_NE(img, nullptr);
        ASSERT_EQ(img->width(), 640);
        for (int x = 0; x < 10; ++x) EXPECT_EQ(img->pixel(x, 479), red) << x;

        for (int bpp : {8, 4}) {
            SCOPED_TRACE(bpp);
            BmpLayout canvas = layout(1600, 1600, bpp, bpp == 8 ? 1 : 2);
            canvas.palette = {rgb(0, 0, 0), red};
            std::string& d = canvas.data;
            auto delta = [&d](int dx, int dy) {
                for (; dx > 0 || dy > 0; dx -= 255, dy -= 255)
                    d += {'\0', '\2', char(std::clamp(dx, 0, 255)), char(std::clamp(dy, 0, 255))};
            };
            delta(800, 1599 - 803);  // stored bottom-up: image row 803 first
            for (int row = 0; row < 4; ++row) {
                if (row > 0) delta(800, 0);
                d += {'\4', bpp == 8 ? '\1' : '\x11', '\0', '\0'};  // four of colour 1, line end
            }
            d += {'\0', '\1'};
            const std::string bytes = makeBmp(canvas);
            ASSERT_LT(bytes.size(), 2048u);
            img = loadBytes(dir, bytes);
            ASSERT_NE(img, nullptr);
            ASSERT_EQ(img->height(), 1600);
            for (int y = 799; y <= 804; ++y)
                for (int x = 799; x <= 804; ++x) {
                    const bool inside = x >= 800 && x < 804 && y >= 800 && y < 804;
                    EXPECT_EQ(img->pixel(x, y) == red, inside) << x << "," << y;
                }
        }

        // Up to 2048 x 2048 any data will do; above it, a canvas of at most
        // 256 pixels per byte of data (here 2304 x 2048 on 18432 bytes: one
        // run, the image's end, then padding) is in proportion and loads.
        BmpLayout bound = layout(2048, 2048, 8, 1);
        bound.palette = {rgb(0, 0, 0), red};
        bound.data = std::string("\x0A\x01\x00\x01", 4);
        img = loadBytes(dir, makeBmp(bound));
        ASSERT_NE(img, nullptr);
        EXPECT_EQ(img->pixel(9, 2047), red);
        BmpLayout wide = bound;
        wide.width = 2304;
        wide.data.resize(2304 * 2048 / 256);
        img = loadBytes(dir, makeBmp(wide));
        ASSERT_NE(img, nullptr);
        EXPECT_EQ(img->width(), 2304);
        EXPECT_EQ(img->pixel(9, 2047), red);
    }
}

TEST(SurfaceTest, BadFilesFailWithAReason) {
    TempDir dir;
    BmpLayout good = layout(4, 4, 24);
    good.data = packRows(4, 4, 24, false, testColour);
    const std::string ok = makeBmp(good);
    ASSERT_NE(loadBytes(dir, ok), nullptr);

    auto withHeader = [&](auto change) {
        BmpLayout s = good;
        change(s);
        return makeBmp(s);
    };
    auto poke32 = [](std::string b, std::size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i) b[at + i] = char((v >> (8 * i)) & 255);
        return b;
    };
    // An 8-bit (or 4-bit) run-length canvas on data of `size` bytes: one
    // run, the image's end, then padding.
    auto runLength = [&](int w, int h, int size, int bpp = 8) {
        return withHeader([&](BmpLayout& s) {
            s.width = w;
            s.height = h;
            s.bpp = bpp;
            s.compression = bpp == 8 ? 1 : 2;
            s.palette = {0};
            s.data = std::string("\xFF\x00\x00\x01", 4);
            s.data.resize(std::size_t(size));
        });
    };
    struct Case {
        const char* what;
        std::string bytes;
        const char* reason;
    };
    const Case cases[] = {
        {"empty", "", "empty file"},
        {"text", "hello, this is no image at all", "not a BMP file"},
        {"one byte", "B", "not a BMP file"},
        {"cut in the header", ok.substr(0, 30), "truncated"},
        {"cut in the pixels", ok.substr(0, ok.size() - 1), "truncated"},
        {"huge width", withHeader([](BmpLayout& s) { s.width = 100000; }), "bad size"},
        {"huge height", withHeader([](BmpLayout& s) { s.height = -16385; }), "bad size"},
        {"negative width", withHeader([](BmpLayout& s) { s.width = -4; }), "bad size"},
        {"most negative height", withHeader([](BmpLayout& s) { s.height = INT_MIN; }), "bad size"},
        {"zero size", withHeader([](BmpLayout& s) { s.width = 0; }), "bad size"},
        {"pixel offset past the end", poke32(ok, 10, uint32_t(ok.size()) + 10), "truncated"},
        {"pixel offset inside the header", poke32(ok, 10, 20), "bad BMP header"},
        {"unknown header size", poke32(ok, 14, 41), "unsupported BMP header"},
        {"header size past the end", poke32(ok, 14, 124), "truncated"},
        {"depth 7", withHeader([](BmpLayout& s) { s.bpp = 7; }), "unsupported bit depth"},
        {"compressed as JPEG", withHeader([](BmpLayout& s) { s.compression = 4; }), "unsupported compression"},
        {"runs on 24 bits", withHeader([](BmpLayout& s) { s.compression = 1; }), "unsupported compression"},
        {"top-down runs", withHeader([](BmpLayout& s) { s.bpp = 8; s.compression = 1; s.height = -4; s.palette = {0}; }), "bad BMP header"},
        {"palette larger than the depth", withHeader([](BmpLayout& s) { s.bpp = 1; s.palette = {0, 1, 2}; s.data = packRows(4, 4, 1, false, [](int, int) { return 0u; }); }), "bad palette"},
        {"palette cut short", withHeader([](BmpLayout& s) { s.bpp = 8; s.data = ""; s.palette = {}; }), "truncated"},
        // Decoding would cost a gigabyte: refused before any of it is made.
        {"a run-length canvas far beyond its data", runLength(16384, 16384, 4),
         "run-length canvas far larger than its data"},
        // Above 2048 x 2048 a canvas may hold at most 256 pixels per byte of
        // data: each of these holds more, the third by a single byte's worth.
        {"a canvas just over the bound on a few bytes", runLength(2049, 2048, 4),
         "run-length canvas far larger than its data"},
        {"4096 x 4096 on a hundred bytes", runLength(4096, 4096, 100), "run-length canvas far larger than its data"},
        {"a canvas a byte short of its proportion", runLength(2304, 2048, 2304 * 2048 / 256 - 1),
         "run-length canvas far larger than its data"},
        {"16384 x 16384 on 4000 bytes", runLength(16384, 16384, 4000, 4),
         "run-length canvas far larger than its data"},
        {"the fuzzer's find of one",
         testsupport::readFile(EMBERHAUNT_SOURCE_DIR "/fuzz/regressions/bmp/rle-canvas-far-beyond-its-data.bmp"),
         "run-length canvas far larger than its data"},
    };
    for (const Case& c : cases) {
        std::string error;
        EXPECT_EQ(loadBytes(dir, c.bytes, &error), nullptr) << c.what;
        EXPECT_EQ(error, c.reason) << c.what;
    }
    std::string error;
    EXPECT_EQ(Surface::loadBmp(dir.file("missing.bmp"), &error), nullptr);
    EXPECT_EQ(error, "file not found");
    EXPECT_EQ(Surface::loadBmp(dir.file(""), &error), nullptr);  // a folder
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(Surface::loadBmp(dir.file("missing.bmp")), nullptr);  // no error wanted
}

TEST(SurfaceTest, DamagedFilesNeverCrashTheDecoder) {
    // Byte-level damage to small valid files of each kind; each load either
    // succeeds with the header's size or fails with a reason.
    TempDir dir;
    std::vector<std::string> seeds;
    for (int bpp : {1, 4, 8, 16, 24, 32}) {
        BmpLayout s = layout(6, 5, bpp);
        if (bpp <= 8) s.palette.assign(std::size_t(1) << bpp, rgb(1, 2, 3));
        s.data = packRows(6, 5, bpp, false, [bpp](int x, int y) { return uint32_t(x + y) % (bpp < 8 ? 2u : 200u); });
        seeds.push_back(makeBmp(s));
    }
    BmpLayout rle = layout(6, 5, 8, 1);
    rle.palette.assign(4, rgb(4, 5, 6));
    rle.data = std::string("\x06\x01\x00\x00\x00\x03\x01\x02\x03\x00\x02\x02\x00\x00\x00\x02\x01\x01\x00\x01", 20);
    seeds.push_back(makeBmp(rle));

    uint32_t r = 99;
    auto next = [&r](uint32_t n) { r = r * 1664525 + 1013904223; return (r >> 8) % n; };
    for (int i = 0; i < 1500; ++i) {
        std::string b = seeds[next(uint32_t(seeds.size()))];
        const int edits = 1 + int(next(4));
        for (int e = 0; e < edits; ++e) {
            const std::size_t at = next(uint32_t(b.size()));
            switch (next(4)) {
                case 0: b[at] = char(next(256)); break;
                case 1: b[at] = char(0xFF); break;
                case 2: b.resize(at); break;
                default: b[at] = char(b[at] ^ (1 << next(8))); break;
            }
            if (b.empty()) break;
        }
        std::string error;
        auto img = loadBytes(dir, b, &error);
        if (img) {
            EXPECT_GE(img->width(), 1);
            EXPECT_GE(img->height(), 1);
        } else {
            EXPECT_FALSE(error.empty());
        }
    }
}

// ---- Saving and the shared cache --------------------------------------------

TEST(SurfaceTest, SavedImagesLoadBackUnchanged) {
    TempDir dir;
    for (int w : {1, 2, 3, 5, 17}) {
        auto s = pattern(w, 4, uint32_t(w));
        s->setPixel(0, 0, rgb(255, 255, 255));
        const std::string path = dir.file("saved.bmp");
        ASSERT_TRUE(s->saveBmp(path));
        auto back = Surface::loadBmp(path);
        ASSERT_NE(back, nullptr);
        EXPECT_EQ(snapshot(*back), snapshot(*s)) << w;
        std::ifstream in(path, std::ios::binary);
        char head[30] = {};
        in.read(head, 30);
        EXPECT_EQ(head[28], 24);  // bits per pixel
    }
    EXPECT_FALSE(Surface::create(2, 2)->saveBmp(dir.file("no/such/folder/x.bmp")));
}

TEST(SurfaceTest, SharedLoadsFollowTheFileOnDisk) {
    TempDir dir;
    const std::string path = dir.file("shared.bmp");
    auto fileOf = [](uint32_t colour) {
        BmpLayout s = layout(2, 2, 24);
        s.data = packRows(2, 2, 24, false, [colour](int, int) { return colour; });
        return makeBmp(s);
    };
    writeFile(path, fileOf(rgb(1, 1, 1)));
    auto first = Surface::loadBmpShared(path);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(Surface::loadBmpShared(path), first);
    EXPECT_EQ(first->pixel(1, 1), rgb(1, 1, 1));

    // Rewritten in place, same size, straight after the load.
    writeFile(path, fileOf(rgb(2, 2, 2)));
    auto second = Surface::loadBmpShared(path);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->pixel(1, 1), rgb(2, 2, 2));
    EXPECT_EQ(first->pixel(1, 1), rgb(1, 1, 1));  // holders of the old image keep it

    std::string error;
    ASSERT_EQ(::unlink(path.c_str()), 0);
    EXPECT_EQ(Surface::loadBmpShared(path, &error), nullptr);
    EXPECT_EQ(error, "file not found");
    writeFile(path, "BM damaged");
    EXPECT_EQ(Surface::loadBmpShared(path, &error), nullptr);
    writeFile(path, fileOf(rgb(3, 3, 3)));
    auto third = Surface::loadBmpShared(path);
    ASSERT_NE(third, nullptr);
    EXPECT_EQ(third->pixel(0, 0), rgb(3, 3, 3));

    // Shared only while held: once its holders let go (a stage cleaned up),
    // the image is freed, and the next load reads the file again.
    const std::weak_ptr<const Surface> watched = third;
    first.reset();
    second.reset();
    third.reset();
    EXPECT_TRUE(watched.expired());
    auto fourth = Surface::loadBmpShared(path);
    ASSERT_NE(fourth, nullptr);
    EXPECT_EQ(fourth->pixel(0, 0), rgb(3, 3, 3));
}

}  // namespace
