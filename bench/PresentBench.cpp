// Cost of putting one finished 640 x 480 frame on the window: the copy of
// the back buffer into the window's picture and the present itself. Also
// how long an idle peek yields the processor (it must stay within 1 ms).
#include <benchmark/benchmark.h>

#include <memory>

#include "platform/Headless.h"
#include "platform/Platform.h"
#include "platform/Surface.h"
#include "platform/Window.h"

namespace {

std::unique_ptr<plat::Surface> makeFrame() {
    auto frame = plat::Surface::create(640, 480);
    for (int y = 0; y < 480; y += 32)
        for (int x = 0; x < 640; x += 32)
            frame->fill(x, y, 32, 32, plat::rgb(x / 3, y / 2, (x + y) / 5));
    return frame;
}

void presentFrames(benchmark::State& state, const std::unique_ptr<plat::Surface>& frame) {
    for (auto _ : state) {
        plat::windowSurface()->copyFrom(*frame, 0, 0, 640, 480, 0, 0);
        plat::presentWindow();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * 640 * 480 * 4);
}

void BM_PresentHeadless(benchmark::State& state) {
    plat::init(plat::Backend::Headless);
    plat::headless::reset();
    plat::WindowSpec spec;
    if (plat::createWindow(spec, nullptr, nullptr) != plat::WindowResult::Ok) {
        state.SkipWithError("headless window could not be made");
        return;
    }
    auto frame = makeFrame();
    presentFrames(state, frame);
    plat::shutdown();
}
BENCHMARK(BM_PresentHeadless);

void BM_PresentSdl(benchmark::State& state) {
    plat::init(plat::Backend::Sdl);
    plat::WindowSpec spec;
    spec.title = "Emberhaunt present benchmark";
    if (plat::createWindow(spec, nullptr, nullptr) != plat::WindowResult::Ok) {
        plat::shutdown();
        state.SkipWithError("no display: skipped");
        return;
    }
    auto frame = makeFrame();
    presentFrames(state, frame);
    plat::shutdown();
}
BENCHMARK(BM_PresentSdl)->Unit(benchmark::kMicrosecond);

// A peek with nothing waiting and no tick due: the main loop's idle yield.
// Wall time per call; the target is at most 1 ms.
void BM_IdlePeekSdl(benchmark::State& state) {
    plat::init(plat::Backend::Sdl);
    plat::Message msg;
    for (auto _ : state) benchmark::DoNotOptimize(plat::peekMessage(&msg));
    plat::shutdown();
}
BENCHMARK(BM_IdlePeekSdl)->Unit(benchmark::kMicrosecond)->UseRealTime();

}  // namespace
