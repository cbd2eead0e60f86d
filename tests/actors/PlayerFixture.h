// A small walled field for the player tests: a 10 x 8 grid with solid edges
// on layer 3, the Level's entity lists, a library with a few one-colour
// sets (powerup icons, dust, block image), the HUD's font and bars and the
// player's sounds from a temporary filepaths.cfg, and both key sources: the
// keyboard device (by device code) and the window's key table (by
// virtual-key code).
#pragma once

#include <algorithm>
#include <cstring>
#include <list>
#include <memory>
#include <string>

#include "actors/Bomb.h"
#include "actors/BreakableBlock.h"
#include "actors/DustEffect.h"
#include "actors/Enemy.h"
#include "actors/Explosion.h"
#include "actors/HomingMissile.h"
#include "actors/Missile.h"
#include "actors/Player.h"
#include "actors/Powerup.h"
#include "graphics/AnimationLibrary.h"
#include "platform/KeyCodes.h"
#include "shell/Config.h"
#include "shell/FilePaths.h"
#include "shell/GameWindow.h"
#include "shell/Input.h"
#include "shell/Sound.h"
#include "world/WorldFixture.h"

namespace playertest {

// Colours of the one-frame sets, so a drawn pixel tells what was drawn.
constexpr uint32_t kBombIcon = 0x00101001;
constexpr uint32_t kFireIcon = 0x00101002;
constexpr uint32_t kKickIcon = 0x00101003;
constexpr uint32_t kMissileIcon = 0x00101004;
constexpr uint32_t kHomingIcon = 0x00101005;
constexpr uint32_t kDynamiteIcon = 0x00101006;
constexpr uint32_t kHammerIcon = 0x00101007;
constexpr uint32_t kFont = 0x00202020;
constexpr uint32_t kBarBack = 0x00303030;
constexpr uint32_t kBarTop = 0x00404040;
constexpr uint32_t kBackground = 0x00808080;

// Up, down, left, right, primary, secondary in each mode.
constexpr int kDeviceKeys[6] = {plat::DIK_UP,    plat::DIK_DOWN,     plat::DIK_LEFT,
                                plat::DIK_RIGHT, 0x1D /* left Ctrl */, 0x38 /* left Alt */};
constexpr int kWindowKeys[6] = {38, 40, 37, 39, 17, 18};

class PlayerTest : public worldtest::WorldTest {
protected:
    void SetUp() override {
        WorldTest::SetUp();
        resetConfig();
        std::memset(windowKeys, 0, sizeof windowKeys);
        cfg = "[audio]\n";
        for (const char* s : {"block", "bombDrop", "death", "health", "kick", "powerup", "missile",
                              "hurt", "explosion"}) {
            cfg += std::string(s) + "=" + s + ".wav\n";
            testsupport::writeFile(dir.file(std::string(s) + ".wav"), "RIFF");
        }
        single("fontsmall", kFont, 42 * 4, 4, "charWidth=4\ncharHeight=4\n");
        for (int n = 1; n <= 4; ++n) {
            single("healthbarback" + std::to_string(n), kBarBack, 20, 4);
            single("healthbartop" + std::to_string(n), kBarTop, 20, 4);
        }
        single("bombpowerup", kBombIcon, 8, 8);
        single("explosionpowerup", kFireIcon, 8, 8);
        single("kickpowerup", kKickIcon, 8, 8);
        single("missilepowerup", kMissileIcon, 8, 8);
        single("homingmissilepowerup", kHomingIcon, 8, 8);
        single("dynamitepowerup", kDynamiteIcon, 8, 8);
        single("hammerpowerup", kHammerIcon, 8, 8);
        single("dust", 0x00505050, 4, 4);
        single("block", 0x00606060, 32, 32);
        testsupport::writeFile(dir.file("filepaths.cfg"), cfg);
        filePathsPath = dir.file("filepaths.cfg");
        lib.loadPowerups();
        lib.loadDust();
        lib.loadLevelBitmap(dir.file("block1.bmp"), 32, 32);
        initAudio();
        wall();
        surface = plat::Surface::create(640, 480);
        surface->fill(0, 0, 640, 480, kBackground);
    }
    void TearDown() override {
        for (Player& p : players) p.releaseSounds();
        players.clear();
        bombs.clear();
        explosions.clear();
        blocks.clear();
        powerups.clear();
        missiles.clear();
        homingMissiles.clear();
        enemies.clear();
        input.shutdown();
        lib.release();
        std::memset(windowKeys, 0, sizeof windowKeys);
        filePathsPath.clear();
        resetConfig();
        WorldTest::TearDown();
    }

    // A one-frame section `name` (file name1.bmp) of one colour.
    void single(const std::string& name, uint32_t colour, int w, int h,
                const std::string& extra = "") {
        auto s = plat::Surface::create(w, h);
        s->fill(0, 0, w, h, colour);
        s->saveBmp(dir.file(name + "1.bmp"));
        cfg += "[" + name + "]\nframeCount=1\nwidth=" + std::to_string(w) +
               "\nheight=" + std::to_string(h) + "\nframe1=" + name + "1.bmp\n" + extra;
    }

    // Solid edges on layer 3 (the grid's size may have been changed).
    void wall() {
        for (int c = 0; c < grid.getWidth(); ++c) put(c, 0, 1), put(c, grid.getHeight() - 1, 1);
        for (int r = 0; r < grid.getHeight(); ++r) put(0, r, 1), put(grid.getWidth() - 1, r, 1);
    }

    // A player built as a stage does, at the front of the player list.
    Player& addPlayer(int c, int r, int number = 1, float speed = 3.0f, bool versus = false,
                      const int* keys = kDeviceKeys) {
        Animation walk[4];
        Animation hit[4];
        for (Animation& a : walk) a.frameTime = 100;
        Player prototype;
        prototype.init(cell::kPlayer, kTileSize, c, r, 32, 32, layer::kObjects, &grid, false,
                       speed, walk, Animation(), hit, keys, &bombs, &explosions, &blocks,
                       &powerups, &missiles, &homingMissiles, &enemies, &players, &lib, versus,
                       number);
        players.push_front(prototype);
        return players.front();
    }

    // Moves a player onto (c, r) as its own walking would.
    static void moveTo(Player& p, int px, int py) {
        p.markHitbox(0);
        p.x = px;
        p.y = py;
        p.posX = float(px);
        p.posY = float(py);
        p.markHitbox(p.value);
    }

    // Keys by slot for the mode: the device or the window's table.
    void hold(int slot, bool down, bool device) {
        if (device)
            plat::headless::setKeyState(kDeviceKeys[slot], down);
        else
            windowKeys[kWindowKeys[slot]] = down ? 1 : 0;
    }
    // One pass of the main loop, ms after the last one.
    void pass(Player& p, uint32_t ms, bool device = true) {
        plat::headless::advance(ms);
        if (device) {
            input.update();
            p.handleInput(&input);
        } else {
            p.handleInput(&noKeyboard);
        }
    }
    void frame(Player& p, uint32_t ms = 0) {
        plat::headless::advance(ms);
        p.draw(*surface);
    }
    // One drawn frame of the field in the Level's order: the powerups'
    // layer, then the players and the bombs on theirs.
    void fieldFrame(uint32_t ms) {
        plat::headless::advance(ms);
        for (Powerup& powerup : powerups)
            if (powerup.active) powerup.draw(*surface);
        for (Player& player : players) player.draw(*surface);
        for (Bomb& bomb : bombs)
            if (bomb.active) bomb.draw(*surface);
    }

    // Plays of a sample so far.
    int plays(const std::string& name) const {
        const auto& log = plat::headless::audioLog();
        return int(std::count_if(log.begin(), log.end(), [&](const std::string& line) {
            return line.rfind("play ", 0) == 0 && line.find("/" + name + ".wav") != std::string::npos;
        }));
    }

    std::string cfg;
    AnimationLibrary lib;
    std::list<Bomb> bombs;
    std::list<Explosion> explosions;
    std::list<BreakableBlock> blocks;
    std::list<Powerup> powerups;
    std::list<Missile> missiles;
    std::list<HomingMissile> homingMissiles;
    std::list<Enemy> enemies;
    std::list<Player> players;
    Input input;       // opened by tests of the device mode
    Input noKeyboard;  // never opened: window-message mode
    std::unique_ptr<plat::Surface> surface;
};

}  // namespace playertest
