// Start-up of the game shell to its first drawn frame, on the headless back
// end: log, configuration, checker image, window, draw timer, keyboard, FPS
// font, audio, then main-loop passes until the first timer tick has been
// drawn and presented.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
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

// A folder with what start-up reads: the game's own filepaths.cfg and art
// (linked from the built game folder) and a small config.cfg. It is also the
// working folder (the logs).
struct StartupFolder {
    std::string path;
    std::string oldCwd;

    StartupFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "emberhaunt-bench-XXXXXX").string();
        if (!mkdtemp(pattern.data())) std::abort();
        path = pattern;
        const std::filesystem::path game = EMBERHAUNT_BIN_DIR;
        std::error_code ec;
        std::filesystem::copy_file(game / "filepaths.cfg", path + "/filepaths.cfg", ec);
        if (!ec) std::filesystem::create_directory_symlink(game / "assets", path + "/assets", ec);
        if (ec) {
            std::fprintf(stderr, "the built game folder %s is incomplete: %s\n", EMBERHAUNT_BIN_DIR,
                         ec.message().c_str());
            std::abort();
        }
        std::ofstream(path + "/config.cfg") << "[game]\ngameTitle=Emberhaunt\n[video]\ndisplayFPS=1\n"
                                               "[audio]\naudioEnabled=0\n[input]\nlastUsedDI=1\n";
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
