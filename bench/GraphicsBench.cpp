// Loading a stage's images and copying tile bitmaps.
//
// The set-up writes a filepaths.cfg and its bitmaps to a temp folder: the 22
// 640 x 480 screens and 32 x 32 frames for everything a stage set-up loads
// (the explosion, bomb, dynamite, powerup, missile, homing missile and dust
// sets and the screens, plus the first player and the level 2 enemy with its
// missiles).
//
// Targets: a whole stage library loads in under 50 ms, and copying a loaded
// bitmap costs at most a twentieth of its first load. A run-length file of
// a few bytes is loaded (2048 x 2048, the largest canvas that loads whatever
// its data) or refused (16384 x 16384) in under 10 ms; its first load in a
// fresh process costs more (BM_TinyRunLengthFirstLoad, bench/README.md).
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "graphics/AnimationLibrary.h"
#include "graphics/Bitmap.h"
#include "platform/Platform.h"
#include "platform/Surface.h"
#include "shell/FilePaths.h"

namespace {

class StageFiles {
public:
    StageFiles() {
        plat::init(plat::Backend::Headless);
        char pattern[] = "/tmp/emberhaunt-bench-XXXXXX";
        if (!mkdtemp(pattern)) std::abort();
        dir = pattern;
        filePathsPath = dir + "/filepaths.cfg";

        const char* screens[] = {
            "introLevel1", "introLevel2", "introLevel3", "introLevel4", "introLevel5",
            "introTutorialLevel", "romanintroVS", "desertintroVS", "futureintroVS",
            "ninjaintroVS", "iceintroVS", "chineseintroVS", "backLevel1", "backLevel2",
            "backLevel3", "backLevel4", "backLevel5", "backTutorialLevel", "menubackground",
            "helpbackground", "pausebackground", "gameintro"};
        int shade = 0;
        for (const char* s : screens) addSection(s, 1, 640, 480, shade++);

        std::vector<std::string> sets = {
            "explosioncentre", "explosionhorizontal", "explosionvertical", "explosiontipright",
            "explosiontipleft", "explosiontipup", "explosiontipdown", "missileExplosionAnimation",
            "bomb", "dynamite", "dust", "bombpowerup", "explosionpowerup", "dynamitepowerup",
            "missilepowerup", "homingmissilepowerup", "kickpowerup", "healthpowerup",
            "hammerpowerup", "playerdeath", "enemy2death", "enemyMissileDustRight",
            "enemyMissileDustleft", "enemyMissileDustup", "enemyMissileDustdown"};
        for (const char* p : {"missile", "homingmissile", "enemyMissile", "player", "enemy2"})
            for (const char* d : {"right", "left", "up", "down"}) {
                sets.push_back(std::string(p) + d);
                if (std::string(p) == "player" || std::string(p) == "enemy2")
                    sets.push_back(std::string(p) + "hit" + d);
            }
        for (const std::string& s : sets) addSection(s, 5, 32, 32, shade++);

        tile = dir + "/tile.bmp";
        writeBmp(tile, 32, 32, 7);
        std::ofstream(filePathsPath) << cfg;
    }

    ~StageFiles() {
        filePathsPath.clear();
        std::error_code ignored;
        std::filesystem::remove_all(dir, ignored);
    }

    // Gives every file a new time stamp, so the next load reads and decodes
    // it as the first load of a run does.
    void touchAll() {
        timespec times[2];
        clock_gettime(CLOCK_REALTIME, &times[0]);
        times[0].tv_sec -= 3600 + stampShift++;
        times[1] = times[0];
        for (const std::string& f : files) utimensat(AT_FDCWD, f.c_str(), times, 0);
    }

    void touch(const std::string& file) {
        timespec times[2];
        clock_gettime(CLOCK_REALTIME, &times[0]);
        times[0].tv_sec -= 3600 + stampShift++;
        times[1] = times[0];
        utimensat(AT_FDCWD, file.c_str(), times, 0);
    }

    std::string tile;

private:
    void writeBmp(const std::string& path, int w, int h, int shade) {
        auto s = plat::Surface::create(w, h);
        s->fill(0, 0, w, h, plat::rgb(shade * 3, 40, 200 - shade));
        s->fill(w / 4, h / 4, w / 2, h / 2, plat::kKeyColour);
        if (!s->saveBmp(path)) std::abort();
        files.push_back(path);
    }

    void addSection(const std::string& name, int frames, int w, int h, int shade) {
        cfg += "[" + name + "]\nframeCount=" + std::to_string(frames) + "\nwidth=" +
               std::to_string(w) + "\nheight=" + std::to_string(h) + "\nanimationSpeed=80\n";
        for (int i = 1; i <= frames; ++i) {
            std::string file = name + "_" + std::to_string(i) + ".bmp";
            writeBmp(dir + "/" + file, w, h, shade + i);
            cfg += "frame" + std::to_string(i) + "=" + file + "\n";
        }
        cfg += "\n";
    }

    std::string dir;
    std::string cfg;
    std::vector<std::string> files;
    int stampShift = 0;
};

StageFiles& stage() {
    static StageFiles files;
    return files;
}

// What Level::init and a level 2 set-up load.
void loadStage(AnimationLibrary& lib) {
    lib.loadExplosion();
    lib.loadBomb();
    lib.loadDynamite();
    lib.loadPowerups();
    lib.loadMissile();
    lib.loadHomingMissile();
    lib.loadDust();
    lib.loadScreens();
    lib.loadPlayer1();
    lib.loadEnemy2();
    lib.loadEnemyMissile();
}

// Lets the cache trust the files' time stamps again (they were just
// changed), as they are at any stage start but the very first.
void settle() {
    std::this_thread::sleep_for(std::chrono::milliseconds(60));
    AnimationLibrary lib;
    loadStage(lib);
}

void BM_StageLibraryLoad_Cached(benchmark::State& state) {
    stage();
    settle();
    for (auto _ : state) {
        AnimationLibrary lib;
        loadStage(lib);
        benchmark::DoNotOptimize(lib.loadedCount());
    }
}
BENCHMARK(BM_StageLibraryLoad_Cached)->Unit(benchmark::kMillisecond);

// Only the load is timed, not the stamping of the files before it.
template <class F>
double timed(F&& f) {
    auto start = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void BM_StageLibraryLoad_FirstTime(benchmark::State& state) {
    StageFiles& files = stage();
    for (auto _ : state) {
        files.touchAll();
        state.SetIterationTime(timed([] {
            AnimationLibrary lib;
            loadStage(lib);
            benchmark::DoNotOptimize(lib.loadedCount());
        }));
    }
}
BENCHMARK(BM_StageLibraryLoad_FirstTime)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_TileBitmap_FirstLoad(benchmark::State& state) {
    StageFiles& files = stage();
    Bitmap b;
    for (auto _ : state) {
        files.touch(files.tile);
        state.SetIterationTime(timed([&] { b.load(files.tile, 32, 32); }));
    }
}
BENCHMARK(BM_TileBitmap_FirstLoad)->UseManualTime()->Unit(benchmark::kMicrosecond);

void BM_TileBitmap_Copy520(benchmark::State& state) {
    StageFiles& files = stage();
    Bitmap prototype;
    prototype.load(files.tile, 32, 32);
    settle();
    std::vector<Bitmap> tiles;
    tiles.reserve(520);
    for (auto _ : state) {
        tiles.clear();
        for (int i = 0; i < 520; ++i) tiles.emplace_back(prototype);
        benchmark::DoNotOptimize(tiles.data());
    }
    state.SetItemsProcessed(state.iterations() * 520);
}
BENCHMARK(BM_TileBitmap_Copy520)->Unit(benchmark::kMicrosecond);

// A run-length file of a side x side canvas holding one run and an image
// end, 66 bytes whatever the side.
std::string tinyRunLengthFile(int side) {
    std::string b = "BM";
    auto put = [&b](uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i) b.push_back(char((v >> (8 * i)) & 255));
    };
    const uint32_t data = 4, palette = 8, offset = 14 + 40 + palette;
    put(offset + data, 4);
    put(0, 4);
    put(offset, 4);
    for (uint32_t v : {40u, uint32_t(side), uint32_t(side)}) put(v, 4);
    put(1, 2);
    put(8, 2);
    for (uint32_t v : {1u, data, 2835u, 2835u, 2u, 0u, 0x000000u, 0xC80000u}) put(v, 4);
    return b + std::string("\x0A\x01\x00\x01", 4);
}

// Arg: the side. 2048 is the largest canvas that loads whatever its data
// (all of it decoded); 16384 is refused at its header.
void BM_TinyRunLengthFile(benchmark::State& state) {
    const int side = int(state.range(0));
    const std::string path = std::filesystem::path(stage().tile).replace_filename("tiny-rle.bmp").string();
    std::ofstream(path, std::ios::binary) << tinyRunLengthFile(side);
    std::string error;
    for (auto _ : state) {
        auto image = plat::Surface::loadBmp(path, &error);
        const bool loads = uint64_t(side) * uint64_t(side) <= plat::kMaxSparseRlePixels;
        if ((image != nullptr) != loads) state.SkipWithError(("unexpected: " + error).c_str());
        benchmark::DoNotOptimize(image.get());
    }
}
BENCHMARK(BM_TinyRunLengthFile)->Arg(2048)->Arg(16384)->Unit(benchmark::kMicrosecond);

// The peak resident memory of this process so far, in MB of 1,000,000 bytes.
double peakMegabytes() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0) return std::stod(line.substr(6)) * 1024 / 1e6;
    return 0;
}

// The 2048 x 2048 file loaded once, as the game loads an image: alone in a
// process of its own (--benchmark_filter=FirstLoad) this is the cost of a
// first load, the fresh memory's page faults included, which the repeated
// loads above no longer pay. peak_rise_mb: how much the load raised the
// process's peak resident memory.
void BM_TinyRunLengthFirstLoad(benchmark::State& state) {
    const std::string path = std::filesystem::path(stage().tile).replace_filename("tiny-rle.bmp").string();
    std::ofstream(path, std::ios::binary) << tinyRunLengthFile(2048);
    const double before = peakMegabytes();
    for (auto _ : state) {
        auto image = plat::Surface::loadBmp(path);
        if (!image) state.SkipWithError("the file did not load");
        benchmark::DoNotOptimize(image.get());
    }
    state.counters["peak_rise_mb"] = peakMegabytes() - before;
}
BENCHMARK(BM_TinyRunLengthFirstLoad)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
