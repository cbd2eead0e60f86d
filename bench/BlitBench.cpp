// Costs of the drawing primitives a frame is made of: full-screen keyed and
// straight copies against a plain memory copy, and a stage's worth of tiles.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>
#include <memory>
#include <vector>

#include "platform/Surface.h"

namespace {

using plat::rgb;
using plat::Surface;

constexpr int kW = 640, kH = 480;

// A picture with see-through areas, the way screens and sprite sheets look:
// runs of key colour around solid shapes.
std::unique_ptr<Surface> keyedPicture(int w, int h) {
    auto s = Surface::create(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const int cx = x % 32 - 16, cy = y % 32 - 16;
            const bool inside = cx * cx + cy * cy < 150;
            s->setPixel(x, y, inside ? rgb(x, y, x ^ y) : plat::kKeyColour);
        }
    return s;
}

void BM_KeyedCopyFullScreen(benchmark::State& state) {
    auto src = keyedPicture(kW, kH);
    auto dst = Surface::create(kW, kH);
    for (auto _ : state) {
        dst->copyKeyedFrom(*src, 0, 0, kW, kH, 0, 0);
        benchmark::DoNotOptimize(dst->pixels());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * kW * kH * 4);
}
BENCHMARK(BM_KeyedCopyFullScreen);

void BM_MemcpyFullScreen(benchmark::State& state) {
    std::vector<uint32_t> from(std::size_t(kW) * kH, 0x123456), to(std::size_t(kW) * kH);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), from.size() * 4);
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * kW * kH * 4);
}
BENCHMARK(BM_MemcpyFullScreen);

// Both in one loop, so the ratio compares like with like; the keyed copy
// should stay within 4 times the memory copy.
void BM_KeyedCopyVersusMemcpy(benchmark::State& state) {
    auto src = keyedPicture(kW, kH);
    auto dst = Surface::create(kW, kH);
    std::vector<uint32_t> from(std::size_t(kW) * kH, 0x123456), to(std::size_t(kW) * kH);
    using Clock = std::chrono::steady_clock;
    Clock::duration keyed{}, plain{};
    for (auto _ : state) {
        auto t0 = Clock::now();
        dst->copyKeyedFrom(*src, 0, 0, kW, kH, 0, 0);
        benchmark::ClobberMemory();
        auto t1 = Clock::now();
        std::memcpy(to.data(), from.data(), from.size() * 4);
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
        auto t2 = Clock::now();
        keyed += t1 - t0;
        plain += t2 - t1;
    }
    const double k = std::chrono::duration<double, std::micro>(keyed).count() / double(state.iterations());
    const double p = std::chrono::duration<double, std::micro>(plain).count() / double(state.iterations());
    state.counters["keyed_us"] = k;
    state.counters["memcpy_us"] = p;
    state.counters["keyed_per_memcpy"] = p > 0 ? k / p : 0;
}
BENCHMARK(BM_KeyedCopyVersusMemcpy);

// A 20 x 13 stage drawn twice over (floor and the layer above it): 520
// keyed 32 x 32 tiles taken from a sheet.
void BM_StageOfKeyedTiles(benchmark::State& state) {
    auto sheet = keyedPicture(8 * 32, 32);
    auto dst = Surface::create(kW, kH);
    for (auto _ : state) {
        for (int i = 0; i < 520; ++i) {
            const int cell = i % 260;
            dst->copyKeyedFrom(*sheet, (i % 8) * 32, 0, 32, 32, (cell % 20) * 32, (cell / 20) * 32);
        }
        benchmark::DoNotOptimize(dst->pixels());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * 520);
}
BENCHMARK(BM_StageOfKeyedTiles);

void BM_StraightCopyFullScreen(benchmark::State& state) {
    auto src = keyedPicture(kW, kH);
    auto dst = Surface::create(kW, kH);
    for (auto _ : state) {
        dst->copyFrom(*src, 0, 0, kW, kH, 0, 0);
        benchmark::DoNotOptimize(dst->pixels());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * kW * kH * 4);
}
BENCHMARK(BM_StraightCopyFullScreen);

}  // namespace
