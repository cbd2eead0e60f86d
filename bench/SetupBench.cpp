// Every stage's set-up (Level::loadTutorial ... loadArenaChina) with the
// built game's files, on the SDL back end with its audio on SDL's dummy
// driver, so that the samples are really decoded; no window is needed.
// Timed in the thread's processor time, beside a plain copy of one
// 640 x 480 frame. Target: each under 50 ms.
//
// - StageSetUp: the stage set up again, as after a lost life or when the
//   menu starts it a second time. The menu holds its screens all along, as
//   in the game; the stage's own images are decoded again, since images are
//   shared only while somebody holds them.
// - StageSetUpFirst: every image file carries a new stamp first, so that
//   the set-up decodes all it loads, the menu's screens included: more than
//   the first start of a stage does, since the menu has decoded the screens
//   by then.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

#include "graphics/AnimationLibrary.h"
#include "platform/Platform.h"
#include "shell/Config.h"
#include "shell/FilePaths.h"
#include "shell/Sound.h"
#include "support/BenchGame.h"
#include "world/Level.h"

namespace {

constexpr int kDifficulty = 1;  // EXPERIENCED

void stageSetUp(benchmark::State& state, const bench::Stage& stage, bool first) {
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    bench::GameFolder folder(first);
    plat::init(plat::Backend::Sdl);
    resetConfig();
    configDirectory = folder.path();
    loadConfig();
    filePathsPath = folder.path() + "/filepaths.cfg";
    audioOn = true;
    initAudio();
    {
        // The menu's screens stay loaded while a stage runs.
        AnimationLibrary menuScreens;
        menuScreens.loadScreens();
        Level level;
        stage.load(level, stage.players, kDifficulty);
        double total = 0;
        for (auto _ : state) {
            state.PauseTiming();
            level.cleanup();
            if (first) folder.touchImages();
            state.ResumeTiming();
            const double t0 = bench::threadSeconds();
            stage.load(level, stage.players, kDifficulty);
            const double t = bench::threadSeconds() - t0;
            state.SetIterationTime(t);
            total += t;
        }
        bench::reportAgainstFrameCopy(state, total / double(state.iterations()));
        level.cleanup();
    }
    filePathsPath.clear();
    plat::shutdown();
}

void registerAll() {
    for (const bench::Stage& stage : bench::allStages()) {
        benchmark::RegisterBenchmark((std::string("BM_StageSetUp/") + stage.name).c_str(),
                                     [&stage](benchmark::State& s) { stageSetUp(s, stage, false); })
            ->UseManualTime()
            ->Unit(benchmark::kMillisecond);
    }
    for (const bench::Stage& stage : bench::allStages()) {
        benchmark::RegisterBenchmark((std::string("BM_StageSetUpFirst/") + stage.name).c_str(),
                                     [&stage](benchmark::State& s) { stageSetUp(s, stage, true); })
            ->UseManualTime()
            ->Iterations(5)
            ->Unit(benchmark::kMillisecond);
    }
}

const bool registered = (registerAll(), true);

}  // namespace
