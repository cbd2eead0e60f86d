// Cost of putting one finished 640 x 480 frame on the window: the copy of
// the back buffer into the window's picture and the present itself. Also
// what the main loop costs while it waits for its draw timer. The Sdl ones
// need a display (bench/idle_cost.sh measures the whole game on one).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <ctime>
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

// The main loop with nothing to do but its 15 ms draw timer, for one
// second per iteration: the processor share the loop itself takes
// ("cpu_percent"), how often a peek came back empty per tick
// ("idle_peeks_per_tick", each a wake-up), and the longest gap between two
// ticks ("max_gap_ms": 15 and how late a tick came, about 1 ms on a machine
// with cores to spare).
void BM_IdleLoopSdl(benchmark::State& state) {
    plat::init(plat::Backend::Sdl);
    plat::WindowSpec spec;
    spec.title = "Emberhaunt idle benchmark";
    if (plat::createWindow(spec, nullptr, nullptr) != plat::WindowResult::Ok) {
        plat::shutdown();
        state.SkipWithError("no display: skipped");
        return;
    }
    using Clock = std::chrono::steady_clock;
    static Clock::time_point lastTick;
    static double maxGap;
    static int ticks;
    auto onTick = [] {
        const auto now = Clock::now();
        if (ticks++ > 0) maxGap = std::max(maxGap, std::chrono::duration<double, std::milli>(now - lastTick).count());
        lastTick = now;
    };
    double cpu = 0, wall = 0;
    int64_t emptyPeeks = 0, allTicks = 0;
    maxGap = 0;
    for (auto _ : state) {
        ticks = 0;
        plat::setTimer(1, 15, onTick);
        const auto start = Clock::now();
        const std::clock_t cpuStart = std::clock();
        plat::Message msg;
        while (Clock::now() - start < std::chrono::seconds(1)) {
            if (plat::peekMessage(&msg))
                plat::dispatchMessage(msg);
            else
                ++emptyPeeks;
        }
        cpu += double(std::clock() - cpuStart) / CLOCKS_PER_SEC;
        wall += std::chrono::duration<double>(Clock::now() - start).count();
        allTicks += ticks;
        plat::killTimer(1);
    }
    state.counters["cpu_percent"] = 100.0 * cpu / wall;
    state.counters["idle_peeks_per_tick"] = allTicks ? double(emptyPeeks) / double(allTicks) : 0;
    state.counters["max_gap_ms"] = maxGap;
    plat::shutdown();
}
BENCHMARK(BM_IdleLoopSdl)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
