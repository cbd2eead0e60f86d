// A small walled field for the bomb, explosion and dust tests: a 10 x 8 grid
// with solid edges on layer 3, a library of tiny explosion, bomb, dynamite
// and dust frames from a temporary filepaths.cfg, a stand-in explosion
// sound, and the Level's bomb and explosion lists, drawn in its order.
#pragma once

#include <algorithm>
#include <list>
#include <string>

#include "actors/Bomb.h"
#include "actors/Explosion.h"
#include "graphics/AnimationLibrary.h"
#include "shell/Config.h"
#include "shell/FilePaths.h"
#include "shell/Sound.h"
#include "world/WorldFixture.h"

namespace bombtest {

class BombTest : public worldtest::WorldTest {
protected:
    void SetUp() override {
        WorldTest::SetUp();
        resetConfig();
        std::string cfg = "[audio]\nexplosion=boom.wav\n";
        int colour = 0;
        auto section = [&](const std::string& name, int frames) {
            cfg += "[" + name + "]\nframeCount=" + std::to_string(frames) + "\nwidth=2\nheight=2\n";
            for (int i = 1; i <= frames; ++i) {
                const std::string file = name + std::to_string(i) + ".bmp";
                auto s = plat::Surface::create(2, 2);
                s->fill(0, 0, 2, 2, uint32_t(++colour));
                s->saveBmp(dir.file(file));
                cfg += "frame" + std::to_string(i) + "=" + file + "\n";
            }
        };
        for (const char* s : {"explosioncentre", "explosionhorizontal", "explosionvertical",
                              "explosiontipright", "explosiontipleft", "explosiontipup",
                              "explosiontipdown", "missileExplosionAnimation"})
            section(s, 7);
        section("bomb", 2);
        section("dynamite", 2);
        section("dust", 4);
        testsupport::writeFile(dir.file("filepaths.cfg"), cfg);
        testsupport::writeFile(dir.file("boom.wav"), "RIFF");
        filePathsPath = dir.file("filepaths.cfg");
        lib.loadExplosion();
        lib.loadBomb();
        lib.loadDynamite();
        lib.loadDust();
        initAudio();

        for (int c = 0; c < grid.getWidth(); ++c) put(c, 0, 1), put(c, grid.getHeight() - 1, 1);
        for (int r = 0; r < grid.getHeight(); ++r) put(0, r, 1), put(grid.getWidth() - 1, r, 1);
        surface = plat::Surface::create(320, 256);
    }
    void TearDown() override {
        bombs.clear();
        explosions.clear();
        lib.release();
        filePathsPath.clear();
        resetConfig();
        WorldTest::TearDown();
    }

    // A bomb set up as a player would, at the front of the bomb list.
    Bomb& drop(int c, int r, int power = 2, Player* owner = nullptr, bool dynamite = false) {
        Bomb prototype;
        prototype.init(cell::kBomb, kTileSize, c, r, 32, 32, layer::kObjects, &grid, false,
                       bombSpeed, dynamite ? lib.dynamite : lib.bomb, &explosions, &lib, power,
                       owner, dynamite);
        bombs.push_front(prototype);
        return bombs.front();
    }

    // One drawn frame ms later: the bombs (layer 3), then the explosions.
    void frame(uint32_t ms) {
        plat::headless::advance(ms);
        for (Bomb& b : bombs)
            if (b.active) b.draw(*surface);
        for (Explosion& e : explosions)
            if (e.active) e.draw(*surface);
    }

    int fire(int c, int r) const { return at(c, r, layer::kExplosions); }
    int loads(const std::string& verb) const {
        const auto& log = plat::headless::audioLog();
        return int(std::count_if(log.begin(), log.end(), [&](const std::string& line) {
            return line.rfind(verb + " ", 0) == 0 && line.find("boom.wav") != std::string::npos;
        }));
    }

    AnimationLibrary lib;
    std::list<Bomb> bombs;
    std::list<Explosion> explosions;
    std::unique_ptr<plat::Surface> surface;
};

}  // namespace bombtest
