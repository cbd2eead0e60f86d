// Start-up of the game shell to its first drawn frame, on the headless back
// end: log, configuration, checker image, window, draw timer, keyboard, FPS
// font, audio, then main-loop passes until the first timer tick has been
// drawn and presented.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/Headless.h"
#include "platform/Platform.h"
#include "platform/Surface.h"
#include "platform/Window.h"
#include "shell/Config.h"
#include "shell/Game.h"

namespace {

Game* current = nullptr;
void tick() {
    if (current) current->draw();
}

// A folder with what start-up reads: config.cfg, filepaths.cfg, the checker
// image and the font strip. It is also the working folder (the logs).
struct StartupFolder {
    std::string path;
    std::string oldCwd;

    StartupFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "emberhaunt-bench-XXXXXX").string();
        if (!mkdtemp(pattern.data())) std::abort();
        path = pattern;
        auto checker = plat::Surface::create(32, 32);
        checker->fill(0, 0, 32, 32, plat::rgb(200, 40, 40));
        checker->saveBmp(path + "/checker.bmp");
        auto font = plat::Surface::create(42 * 16, 16);
        font->fill(0, 0, 42 * 16, 16, plat::rgb(255, 255, 255));
        font->saveBmp(path + "/fontsmall.bmp");
        std::ofstream(path + "/filepaths.cfg")
            << "[checker]\nframeCount=1\nframe1=checker.bmp\nwidth=32\nheight=32\n"
               "[fontsmall]\nframeCount=1\nframe1=fontsmall.bmp\nwidth=672\nheight=16\n"
               "charWidth=16\ncharHeight=16\n";
        std::ofstream(path + "/config.cfg") << "[game]\ngameTitle=Emberhaunt\n[video]\ndisplayFPS=1\n"
                                               "[input]\nlastUsedDI=1\n";
        char cwd[4096];
        if (getcwd(cwd, sizeof cwd)) oldCwd = cwd;
        if (chdir(path.c_str()) != 0) std::abort();
        configDirectory = path;
    }
    ~StartupFolder() {
        configDirectory.clear();
        if (!oldCwd.empty()) {
            const int rc = chdir(oldCwd.c_str());
            (void)rc;
        }
        std::error_code ec;
        std::filesystem::remove_all(path, ec);
    }
};

void BM_StartupToFirstFrame(benchmark::State& state) {
    StartupFolder folder;
    plat::init(plat::Backend::Headless);
    for (auto _ : state) {
        plat::headless::reset();
        resetConfig();
        configDirectory = folder.path;
        Game game;
        current = &game;
        game.init(tick);
        plat::Message msg;
        while (plat::headless::presentCount() == 0) {
            if (plat::peekMessage(&msg)) plat::dispatchMessage(msg);
            game.update();
        }
        current = nullptr;
    }
    plat::headless::reset();
    plat::shutdown();
}
BENCHMARK(BM_StartupToFirstFrame)->Unit(benchmark::kMicrosecond);

}  // namespace
