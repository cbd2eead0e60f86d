// Shared set-up of the enemy tests: the headless clock and audio, a
// filepaths.cfg with the enemy health bar and the enemy sounds, a small
// hand-built grid and the Level's lists, and helpers that build enemies and
// stand-in players on it.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <list>
#include <memory>
#include <string>
#include <vector>

#include "actors/DustEffect.h"
#include "actors/Enemy.h"
#include "actors/Explosion.h"
#include "actors/Missile.h"
#include "actors/Player.h"
#include "graphics/Animation.h"
#include "graphics/AnimationLibrary.h"
#include "graphics/GraphicsFixture.h"
#include "platform/Clock.h"
#include "platform/Headless.h"
#include "platform/Surface.h"
#include "shell/Config.h"
#include "shell/FilePaths.h"
#include "shell/Sound.h"
#include "support/HeadlessTest.h"
#include "support/TestFiles.h"
#include "world/CellValues.h"
#include "world/Random.h"
#include "world/TileGrid.h"

namespace enemytest {

constexpr uint32_t kStart = 100000;

inline const char* const kSounds[] = {"robot1",     "missile",    "hit",      "enemyDeath",
                                      "ninjaShout", "ninjaThrow", "robotHit", "dragonHit",
                                      "explosion"};

class EnemyTest : public testsupport::HeadlessTest {
protected:
    void SetUp() override {
        HeadlessTest::SetUp();
        plat::headless::setTicks(kStart);
        resetConfig();
        audioOn = true;
        initAudio();

        gfxtest::writeBmp(dir.file("barback.bmp"), 32, 4, plat::rgb(40, 40, 40));
        gfxtest::writeBmp(dir.file("bartop.bmp"), 32, 4, plat::rgb(200, 0, 0));
        std::string cfg =
            "[enemyhealthbarBack]\nframeCount=1\nwidth=32\nheight=4\nframe1=barback.bmp\n"
            "[enemyhealthbarTop]\nframeCount=1\nwidth=32\nheight=4\nframe1=bartop.bmp\n"
            "[audio]\n";
        for (const char* s : kSounds) {
            testsupport::writeFile(dir.file(std::string(s) + ".wav"), "RIFF");
            cfg += std::string(s) + "=" + s + ".wav\n";
        }
        testsupport::writeFile(dir.file("filepaths.cfg"), cfg);
        filePathsPath = dir.file("filepaths.cfg");

        grid.create(10, 8);
        target = plat::Surface::create(320, 256);
        enemyIdCounter = 0;
        dragonSegmentCount = 0;
        dragonPreviousTurnSide = -1;
    }

    void TearDown() override {
        for (Enemy& e : enemies) e.releaseSounds();
        for (Missile& m : missiles) m.releaseSound();
        enemies.clear();
        missiles.clear();
        filePathsPath.clear();
        HeadlessTest::TearDown();
    }

    // An enemy on (c, r) as Enemy::init leaves it: walking in a random
    // direction. Not in the list yet.
    Enemy makeEnemy(int c, int r, int health = 100, float speed = 0.0f) {
        Enemy e;
        e.init(cell::kEnemy, kTileSize, c, r, 32, 32, layer::kObjects, &grid, false, speed,
               nullptr, nullptr, deathAnimation(), &players, &missiles, &explosions, &enemies,
               &library, health);
        return e;
    }

    // An enemy on (c, r) added at the front of the list, as the set-ups do;
    // it stands still (speed 0, no direction) unless a test says otherwise.
    Enemy& addEnemy(int c, int r, int health = 100, float speed = 0.0f) {
        Enemy e = makeEnemy(c, r, health, speed);
        e.clearDirections();
        enemies.push_front(e);
        return enemies.front();
    }

    // A stand-in player: only its cell and its dead flag matter to enemies.
    Player& addPlayer(int c, int r, bool isDead = false) {
        players.emplace_back();
        Player& p = players.back();
        p.col = c;
        p.row = r;
        p.x = c * kTileSize;
        p.y = r * kTileSize;
        p.dead = isDead;
        grid.setTile(layer::kObjects, c, r, cell::kPlayer);
        return p;
    }

    // Three frames of 100 ms (empty pictures): finished 300 ms after play().
    static Animation deathAnimation() {
        Bitmap frames[3];
        Animation a;
        a.setup(0, 0, frames, 3, 0, 100);
        return a;
    }

    // Seeds the generator so that the next rand15() satisfies wanted.
    static void seedSoThat(const std::function<bool(int)>& wanted) {
        for (unsigned seed = 1; seed < 1000000; ++seed) {
            std::srand(seed);
            if (wanted(rand15())) {
                std::srand(seed);
                return;
            }
        }
        FAIL() << "no seed gives the wanted value";
    }

    // Seeds the generator so that the replication roll, after `before`
    // other draws, succeeds (or fails).
    static void seedRoll(bool success, int before = 0) {
        for (unsigned seed = 1; seed < 1000000; ++seed) {
            std::srand(seed);
            for (int i = 0; i < before; ++i) rand15();
            const int roll = Enemy::randomInt(0, ::replicateChance + 100);
            if ((roll >= 50 && roll <= ::replicateChance + 50) == success) {
                std::srand(seed);
                return;
            }
        }
        FAIL() << "no seed gives the wanted roll";
    }

    void burn(int c, int r) { grid.setTile(layer::kExplosions, c, r, cell::kExplosion); }
    int at(int c, int r, int layerIndex = layer::kObjects) const {
        return grid.getTile(layerIndex, c, r);
    }
    void put(int c, int r, int v) { grid.setTile(layer::kObjects, c, r, v); }

    void draw(Enemy& e) { e.draw(*target); }
    // Draws every enemy of the list, as the Level does once per tick.
    void drawAll() {
        for (Enemy& e : enemies) e.draw(*target);
    }
    void advance(uint32_t ms) { plat::headless::advance(ms); }

    int flagSet(const Enemy& e) const {
        for (int d = 0; d < dir::kCount; ++d)
            if (e.directionFlags[d]) return d;
        return -1;
    }

    // How many times the audio log plays the named sample.
    int plays(const std::string& name) const {
        const std::string wanted = dir.file(name + ".wav");
        return int(std::count_if(plat::headless::audioLog().begin(),
                                 plat::headless::audioLog().end(), [&](const std::string& line) {
                                     return line.rfind("play ", 0) == 0 &&
                                            line.size() >= wanted.size() &&
                                            line.compare(line.size() - wanted.size(),
                                                         wanted.size(), wanted) == 0;
                                 }));
    }
    int frees(const std::string& name) const {
        const std::string line = "free " + dir.file(name + ".wav");
        return int(std::count(plat::headless::audioLog().begin(),
                              plat::headless::audioLog().end(), line));
    }

    testsupport::TempDir dir;
    TileGrid grid;
    std::unique_ptr<plat::Surface> target;
    AnimationLibrary library;
    std::list<Player> players;
    std::list<Missile> missiles;
    std::list<Explosion> explosions;
    std::list<Enemy> enemies;
};

}  // namespace enemytest
