// Shared set-up of the shell tests: a fresh headless platform, a temporary
// folder that serves both as the working directory (log files) and as the
// folder of config.cfg and filepaths.cfg, and every shell global back at its
// start value.
#pragma once

#include <unistd.h>

#include <cstring>
#include <memory>
#include <string>

#include "platform/Profile.h"
#include "platform/Surface.h"
#include "shell/Config.h"
#include "shell/FilePaths.h"
#include "shell/Game.h"
#include "shell/GameWindow.h"
#include "shell/ShippedConfig.h"
#include "shell/Sound.h"
#include "shell/Transition.h"
#include "support/GameGlobals.h"
#include "support/HeadlessTest.h"
#include "support/TestFiles.h"

namespace shelltest {

class ShellTest : public testsupport::HeadlessTest {
protected:
    void SetUp() override {
        HeadlessTest::SetUp();
        dir = std::make_unique<testsupport::TempDir>();
        char cwd[4096];
        ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
        oldCwd = cwd;
        ASSERT_EQ(chdir(dir->path().c_str()), 0);
        resetGlobals();
        configDirectory = dir->path();
    }

    void TearDown() override {
        checkerBitmap.release();
        resetGlobals();
        if (!oldCwd.empty()) (void)chdir(oldCwd.c_str());
        dir.reset();
        HeadlessTest::TearDown();
    }

    static void resetGlobals() { testsupport::resetGameGlobals(); }

    std::string path(const std::string& name) const { return dir->file(name); }
    std::string read(const std::string& name) const { return testsupport::readFile(path(name)); }
    void write(const std::string& name, const std::string& text) const {
        ASSERT_TRUE(testsupport::writeFile(path(name), text));
    }

    // The shipped config.cfg with the keys of `overrides` (INI text) set.
    void writeShippedConfig(const std::string& overrides = "") const {
        write("config.cfg", std::string(shippedConfig()));
        ASSERT_TRUE(plat::profileWriteAll(plat::profileEntries(overrides), path("config.cfg")));
    }

    void writeBmp(const std::string& name, int w, int h, uint32_t colour) const {
        auto s = plat::Surface::create(w, h);
        ASSERT_TRUE(s);
        s->fill(0, 0, w, h, colour);
        ASSERT_TRUE(s->saveBmp(path(name)));
    }

    // What start-up loads: a 32 x 32 checker, a 42-cell font of 8 x 8 white
    // glyphs, and the menu's screens, title and cursor, all black so that
    // only the menu's texts show; and the menu's music and sounds.
    void writeStartupImages() const {
        writeBmp("checker.bmp", 32, 32, plat::rgb(200, 40, 40));
        writeBmp("fontsmall.bmp", 42 * 8, 8, plat::rgb(255, 255, 255));
        writeBmp("black.bmp", 8, 8, plat::rgb(0, 0, 0));
        std::string paths =
            "[checker]\nframeCount=1\nframe1=checker.bmp\nwidth=32\nheight=32\n"
            "[fontsmall]\nframeCount=1\nframe1=fontsmall.bmp\nwidth=336\nheight=8\n"
            "charWidth=8\ncharHeight=8\n"
            "[menuTitle]\nframeCount=1\nframe1=black.bmp\nwidth=8\nheight=8\nxpos=40\nypos=50\n";
        for (const char* screen : kMenuImages)
            paths += std::string("[") + screen + "]\nframeCount=1\nframe1=black.bmp\nwidth=8\nheight=8\n";
        paths += "[audio]\n";
        for (const char* sound : {"menubgm", "creditsbgm", "menuSelect", "menu"}) {
            paths += std::string(sound) + "=" + sound + ".wav\n";
            write(std::string(sound) + ".wav", "");
        }
        write("filepaths.cfg", paths);
    }

    // Every image of the menu's sections but the title.
    static constexpr const char* kMenuImages[] = {
        "menuCursor",     "introLevel1",    "introLevel2",    "introLevel3",        "introLevel4",
        "introLevel5",    "introTutorialLevel", "romanintroVS", "desertintroVS",    "futureintroVS",
        "ninjaintroVS",   "iceintroVS",     "chineseintroVS", "backLevel1",         "backLevel2",
        "backLevel3",     "backLevel4",     "backLevel5",     "backTutorialLevel",  "menubackground",
        "helpbackground", "pausebackground", "gameintro",
    };

    std::unique_ptr<testsupport::TempDir> dir;
    std::string oldCwd;
};

// A game the test starts (startGame) and that ends with the test; the draw
// timer draws it.
class GameTest : public ShellTest {
protected:
    void TearDown() override {
        running() = nullptr;
        game.reset();
        ShellTest::TearDown();
    }
    void startGame() {
        game = std::make_unique<Game>();
        running() = game.get();
        game->init(&GameTest::tick);
    }

    std::unique_ptr<Game> game;

private:
    static Game*& running() {
        static Game* current = nullptr;
        return current;
    }
    static void tick() {
        if (running()) running()->draw();
    }
};

}  // namespace shelltest
