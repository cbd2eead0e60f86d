// Saving the settings, as every step of a menu value does: every persisted
// key patched into the shipped-size config.cfg, written to disk and the
// folder flushed after the rename.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "shell/Config.h"
#include "shell/ShippedConfig.h"
#include "support/BenchGame.h"

namespace {

void BM_SaveConfig(benchmark::State& state) {
    std::string folder = (std::filesystem::temp_directory_path() / "emberhaunt-bench-XXXXXX").string();
    if (!mkdtemp(folder.data())) std::abort();
    std::ofstream(folder + "/config.cfg", std::ios::binary) << shippedConfig();
    configDirectory = folder;
    setConfigLog([](const char*) {});
    loadConfig();
    int step = 0;
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state) {
        globalVolume = (step += 5) % 250;  // a change, as a menu press makes
        if (!saveConfig()) state.SkipWithError("the save failed");
    }
    // On the wall clock: a save mostly waits for the disk.
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    if (state.iterations() > 0) bench::reportAgainstFrameCopy(state, took.count() / double(state.iterations()));
    setConfigLog(nullptr);
    configDirectory.clear();
    std::error_code ec;
    std::filesystem::remove_all(folder, ec);
}
BENCHMARK(BM_SaveConfig)->Unit(benchmark::kMillisecond);

}  // namespace
