// The parts of the present path that need no display: where the picture
// goes on a larger output, its scaling, and which renderers count as
// drawing in software.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "platform/PresentPath.h"
#include "support/TestFiles.h"

namespace {

using plat::internal::gpuDeviceNodes;
using plat::internal::letterbox;
using plat::internal::ScreenRect;
using plat::internal::softwareRenderer;

::testing::AssertionResult is(const ScreenRect& r, int x, int y, int w, int h) {
    if (r.x == x && r.y == y && r.w == w && r.h == h) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "got " << r.x << "," << r.y << " " << r.w << "x" << r.h;
}

TEST(PresentPathTest, LetterboxOnCommonScreens) {
    EXPECT_TRUE(is(letterbox(640, 480, 640, 480), 0, 0, 640, 480));
    EXPECT_TRUE(is(letterbox(640, 480, 1600, 1200), 0, 0, 1600, 1200));
    EXPECT_TRUE(is(letterbox(640, 480, 1280, 1024), 0, 32, 1280, 960));    // bars above and below
    EXPECT_TRUE(is(letterbox(640, 480, 1920, 1080), 240, 0, 1440, 1080));  // bars at the sides
    EXPECT_TRUE(is(letterbox(640, 480, 1366, 768), 171, 0, 1024, 768));    // odd margin rounds down
    EXPECT_TRUE(is(letterbox(640, 480, 480, 800), 0, 220, 480, 360));      // smaller than the picture
    EXPECT_TRUE(is(letterbox(640, 480, 0, 768), 0, 0, 0, 0));
    EXPECT_TRUE(is(letterbox(640, 480, 1024, -1), 0, 0, 0, 0));
    EXPECT_TRUE(is(letterbox(0, 480, 1024, 768), 0, 0, 0, 0));
    EXPECT_EQ(letterbox(640, 480, 1, 1).h, 0);  // not one line fits
}

TEST(PresentPathTest, LetterboxFillsOneSideKeepsTheShapeAndCentres) {
    for (int outW = 1; outW <= 4000; outW += 37) {
        for (int outH = 1; outH <= 3000; outH += 29) {
            const ScreenRect r = letterbox(640, 480, outW, outH);
            SCOPED_TRACE(std::to_string(outW) + "x" + std::to_string(outH));
            ASSERT_TRUE(r.w == outW || r.h == outH);
            ASSERT_GE(r.x, 0);
            ASSERT_GE(r.y, 0);
            ASSERT_LE(r.x + r.w, outW);
            ASSERT_LE(r.y + r.h, outH);
            ASSERT_LE(std::abs((outW - r.w) - 2 * r.x), 1);
            ASSERT_LE(std::abs((outH - r.h) - 2 * r.y), 1);
            // The shape is kept to within the one pixel lost in rounding down.
            ASSERT_LE(std::abs(int64_t(r.w) * 480 - int64_t(r.h) * 640), 640);
        }
    }
    // Sides as large as a surface may be do not overflow.
    EXPECT_TRUE(is(letterbox(16384, 16384, 16384, 8192), 4096, 0, 8192, 8192));
}

TEST(PresentPathTest, NearestScalingCopiesThePixelUnderEachCentre) {
    // Every source pixel holds its own coordinates.
    const int sw = 64, sh = 48;
    std::vector<uint32_t> src(std::size_t(sw) * sh);
    for (int y = 0; y < sh; ++y)
        for (int x = 0; x < sw; ++x) src[std::size_t(y) * sw + x] = uint32_t(y) << 16 | uint32_t(x);
    constexpr uint32_t kUntouched = 0xDEADBEEF;
    const std::pair<int, int> sizes[] = {{128, 96}, {102, 77}, {64, 48}, {40, 30}, {200, 31}, {1, 1}};
    for (auto [dw, dh] : sizes) {
        SCOPED_TRACE(std::to_string(dw) + "x" + std::to_string(dh));
        const int rowPixels = dw + 3;  // the target's rows are longer than the picture
        std::vector<uint32_t> dst(std::size_t(rowPixels) * dh, kUntouched);
        plat::internal::scaleNearest(src.data(), sw, sh, sw * 4, dst.data(), dw, dh, rowPixels * 4);
        for (int y = 0; y < dh; ++y) {
            for (int x = 0; x < rowPixels; ++x) {
                const uint32_t v = dst[std::size_t(y) * rowPixels + x];
                if (x >= dw) {
                    ASSERT_EQ(v, kUntouched);
                    continue;
                }
                // The target pixel's centre, in source pixels, lies in the
                // source pixel it shows.
                const double cx = (x + 0.5) * sw / dw, cy = (y + 0.5) * sh / dh;
                const int sx = int(v & 0xFFFF), sy = int(v >> 16);
                ASSERT_TRUE(sx <= cx && cx < sx + 1 && sy <= cy && cy < sy + 1) << x << "," << y;
            }
        }
    }
    std::vector<uint32_t> dst(4, kUntouched);
    plat::internal::scaleNearest(src.data(), sw, sh, sw * 4, dst.data(), 0, 2, 8);
    plat::internal::scaleNearest(src.data(), 0, sh, sw * 4, dst.data(), 2, 2, 8);
    EXPECT_EQ(dst, std::vector<uint32_t>(4, kUntouched));
}

TEST(PresentPathTest, SoftwareRenderersAreToldFromGraphicsCards) {
    EXPECT_TRUE(softwareRenderer(nullptr, nullptr));  // no renderer at all
    EXPECT_TRUE(softwareRenderer("", nullptr));
    EXPECT_TRUE(softwareRenderer("software", nullptr));
    EXPECT_TRUE(softwareRenderer("opengl", "llvmpipe (LLVM 15.0.6, 256 bits)"));
    EXPECT_TRUE(softwareRenderer("opengl", "Gallium 0.4 on softpipe"));
    EXPECT_TRUE(softwareRenderer("opengles2", "Gallium 0.4 on LLVMPIPE"));
    EXPECT_TRUE(softwareRenderer("opengl", "Mesa DRI swrast"));
    EXPECT_TRUE(softwareRenderer("opengl", "Software Rasterizer"));

    EXPECT_FALSE(softwareRenderer("opengl", "NVIDIA GeForce RTX 3060/PCIe/SSE2"));
    EXPECT_FALSE(softwareRenderer("opengl", "Mesa Intel(R) UHD Graphics 620 (KBL GT2)"));
    // A real card whose driver is built with LLVM.
    EXPECT_FALSE(softwareRenderer("opengl", "AMD Radeon RX 6600 (radeonsi, navi23, LLVM 15.0.6, DRM 3.49)"));
    EXPECT_FALSE(softwareRenderer("opengl", nullptr));  // unknown: trusted
    EXPECT_FALSE(softwareRenderer("direct3d11", nullptr));
    EXPECT_FALSE(softwareRenderer("metal", "llvmpipe"));  // only GL renderers name a GL rasteriser
}

TEST(PresentPathTest, GpuDeviceNodesAreRenderNodesOrTheNvidiaControlNode) {
    testsupport::TempDir dev;
    EXPECT_FALSE(gpuDeviceNodes(dev.path()));
    EXPECT_FALSE(gpuDeviceNodes(dev.file("missing")));
    // A display controller alone: no rendering.
    ASSERT_TRUE(testsupport::writeFile(dev.file("dri/card0"), ""));
    ASSERT_TRUE(testsupport::writeFile(dev.file("dri/by-path/pci-0000:00:02.0-card"), ""));
    EXPECT_FALSE(gpuDeviceNodes(dev.path()));
    ASSERT_TRUE(testsupport::writeFile(dev.file("dri/renderD128"), ""));
    EXPECT_TRUE(gpuDeviceNodes(dev.path()));

    testsupport::TempDir nvidia;
    ASSERT_TRUE(testsupport::writeFile(nvidia.file("nvidiactl"), ""));
    EXPECT_TRUE(gpuDeviceNodes(nvidia.path()));
}

}  // namespace
