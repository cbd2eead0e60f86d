// Shared set-up of the Level tests: a filepaths.cfg with tiny images for
// everything Level::init loads, sample files that the headless audio hands
// out handles for, and a hand-built stage (the work of a stage set-up).
#pragma once

#include <cstring>
#include <memory>
#include <string>

#include "platform/Audio.h"
#include "shell/FilePaths.h"
#include "shell/GameWindow.h"
#include "shell/Sound.h"
#include "world/Level.h"
#include "world/WorldFixture.h"

namespace leveltest {

constexpr uint32_t kIntroColour = 0x00C81E1E;
constexpr uint32_t kBackColour = 0x001E1EC8;
constexpr uint32_t kReadyColour = 0x00C8C81E;
constexpr uint32_t kGoColour = 0x001EC8C8;
constexpr uint32_t kLifeColour = 0x00F0F0F0;
constexpr int kReadyX = 100, kGoX = 200, kMessageY = 100;

class LevelTest : public worldtest::WorldTest {
protected:
    void SetUp() override {
        WorldTest::SetUp();
        std::string cfg;
        auto image = [&](const std::string& section, int w, int h, uint32_t colour) {
            auto s = plat::Surface::create(w, h);
            s->fill(0, 0, w, h, colour);
            ASSERT_TRUE(s->saveBmp(dir.file(section + ".bmp")));
            cfg += "[" + section + "]\nframeCount=1\nframe1=" + section + ".bmp\nwidth=" +
                   std::to_string(w) + "\nheight=" + std::to_string(h) + "\n";
        };
        for (const char* screen :
             {"introLevel2", "introLevel3", "introLevel4", "introLevel5", "introTutorialLevel",
              "romanintroVS", "desertintroVS", "futureintroVS", "ninjaintroVS", "iceintroVS",
              "chineseintroVS", "backLevel2", "backLevel3", "backLevel4", "backLevel5",
              "backTutorialLevel", "menubackground", "helpbackground", "pausebackground",
              "gameintro", "enemyhealthbarBack", "enemyhealthbarTop"})
            image(screen, 4, 4, 0x00505050);
        image("introLevel1", 16, 16, kIntroColour);
        image("backLevel1", 16, 16, kBackColour);
        image("messageready", 8, 8, kReadyColour);
        image("messagego", 8, 8, kGoColour);
        image("life", 4, 4, kLifeColour);
        image("timer", 4, 4, 0x00646464);
        image("fontsmall", 42 * 8, 8, 0x00FFFFFF);
        cfg += "charWidth=8\ncharHeight=8\n[audio]\n";
        for (const char* name : {"draw", "lose", "win", "ready", "start", "gameover", "hurry", "music",
                                 "explosion"}) {
            ASSERT_TRUE(testsupport::writeFile(dir.file(std::string(name) + ".wav"), "RIFF"));
            cfg += std::string(name) + "=" + name + ".wav\n";
        }
        ASSERT_TRUE(testsupport::writeFile(dir.file("filepaths.cfg"), cfg));
        filePathsPath = dir.file("filepaths.cfg");
        audioOn = true;
        initAudio();
        std::memset(windowKeys, 0, sizeof windowKeys);
    }
    void TearDown() override {
        level.cleanup();
        filePathsPath.clear();
        std::memset(windowKeys, 0, sizeof windowKeys);
        WorldTest::TearDown();
    }

    // What a stage set-up does around Level::init, on a 10 x 8 grid.
    void setUpStage(int numPlayers = 1, bool versus = false, int stage = 1) {
        level.init(10, 8, numPlayers, 1);
        level.music = openMusicStream(getPathString("audio", "music"));
        level.introImage = level.library->introLevel1;
        level.backgroundImage = level.library->backLevel1;
        level.readyMessage->x = kReadyX;
        level.readyMessage->y = kMessageY;
        level.goMessage->x = kGoX;
        level.goMessage->y = kMessageY;
        level.stageNumber = stage;
        level.versus = versus;
        level.setUpTick = level.clockBase = plat::tickCount();
        level.secondsLeft = 180;
    }

    // Keys: the arrow keys' virtual-key codes, space and Enter.
    Player& addPlayer(int c, int r, int number = 0) {
        static const int keys[6] = {38, 40, 37, 39, 32, 13};
        Player p;
        p.init(cell::kPlayer, kTileSize, c, r, 32, 32, layer::kObjects, &level.grid, false, 2.0f,
               nullptr, Animation(), nullptr, keys, &level.bombs, &level.explosions, &level.blocks,
               &level.powerups, &level.missiles, &level.homingMissiles, &level.enemies,
               &level.players, level.library, level.versus, number);
        level.players.push_front(p);
        return level.players.front();
    }
    Enemy makeEnemy(int c, int r) {
        Enemy e;
        e.init(cell::kEnemy, kTileSize, c, r, 32, 32, layer::kObjects, &level.grid, false, 1.0f,
               nullptr, nullptr, Animation(), &level.players, &level.missiles, &level.explosions,
               &level.enemies, level.library, 100);
        return e;
    }
    Enemy& addEnemy(int c, int r) {
        level.enemies.push_front(makeEnemy(c, r));
        return level.enemies.front();
    }

    // One draw tick into a fresh black 640 x 480 back buffer.
    std::unique_ptr<plat::Surface> frame() {
        auto s = plat::Surface::create(640, 480);
        s->fill(0, 0, 640, 480, 0);
        level.draw(*s);
        return s;
    }
    std::unique_ptr<plat::Surface> after(uint32_t ms) {
        plat::headless::advance(ms);
        return frame();
    }
    // Past the intro (1500 ms) and the ready phase (1500 ms): the round runs.
    void startRound() {
        after(Level::kIntroTime + 1);
        after(Level::kReadyTime + 1);
        ASSERT_TRUE(level.running);
    }

    // Audio log lines with this verb ("play", "free", "stop", ...) on the
    // file `name`.wav.
    int audioCount(const std::string& verb, const std::string& name) const {
        const std::string tail = " " + dir.file(name + ".wav");
        int n = 0;
        for (const std::string& l : plat::headless::audioLog())
            n += l.rfind(verb + " ", 0) == 0 && l.size() >= tail.size() &&
                 l.compare(l.size() - tail.size(), tail.size(), tail) == 0;
        return n;
    }
    int played(const std::string& name) const { return audioCount("play", name); }

    Level level;
};

}  // namespace leveltest
