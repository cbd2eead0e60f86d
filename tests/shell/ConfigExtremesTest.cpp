// config.cfg is a text file players edit. Every integer key of the shipped
// file is set to each extreme a player might type (the ends of the int
// range, 0, -1, nothing, a word) and the whole game is started headless and
// played for a while on the stage that reads it, under the sanitizers: it
// must neither overflow, divide by zero, hang, allocate without bound nor
// stop drawing. Each key takes each extreme alone, the rest of the file as
// shipped, so that one bad value cannot hide behind another. The six codes
// of one key binding are alike and take an extreme together.
#include <algorithm>
#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "ShellFixture.h"
#include "menu/MenuItem.h"
#include "platform/Clock.h"
#include "platform/Headless.h"
#include "platform/Profile.h"
#include "shell/Game.h"
#include "support/PassLoop.h"

namespace shelltest {
namespace {

namespace fs = std::filesystem;

const char* const kExtremes[] = {"-2147483648", "2147483647", "0", "-1", "", "x"};

using LoadStage = std::function<void(Level&)>;

struct Stage {
    LoadStage load;
    int players;
};

Stage tutorial() { return {[](Level& l) { l.loadTutorial(1, 1); }, 1}; }
Stage level(int n, int players = 1) {
    return {[n, players](Level& l) {
                switch (n) {
                case 1: l.loadLevel1(players, 1); break;
                case 2: l.loadLevel2(players, 1); break;
                case 3: l.loadLevel3(players, 1); break;
                case 4: l.loadLevel4(players, 1); break;
                default: l.loadLevel5(players, 1); break;
                }
            },
            players};
}
Stage arctic() { return {[](Level& l) { l.loadArenaArctic(4); }, 4}; }
Stage future() { return {[](Level& l) { l.loadArenaFuture(4); }, 4}; }

struct Group {
    std::string name;
    std::vector<std::string> sections;  // every key of the shipped sections
    Stage stage;
    bool windowInput = false;     // start without the keyboard device
    bool versusDefaults = false;  // choose DEFAULT on the multiplayer page first
    bool restoreKeys = false;     // choose RESTORE DEFAULT KEYS first
};

// One game per case: a group narrowed to one section, and to one key of it
// (empty: every key of the section).
struct Case {
    std::string name;
    Group group;
    std::string key;
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

std::vector<std::string> keySections(const char* prefix, const char* suffix) {
    std::vector<std::string> out;
    for (int p = 1; p <= 4; ++p) out.push_back(prefix + std::to_string(p) + suffix);
    return out;
}

std::vector<Group> groups() {
    std::vector<Group> g = {
        {"Game", {"game", "video", "audio"}, level(1)},
        {"Input", {"input"}, level(1)},
        {"Player", {"player"}, level(4)},
        {"Multiplayer", {"multiplayer"}, arctic()},
        {"MultiplayerDefault", {"multiplayerDefault"}, arctic(), false, true},
        {"Powerup", {"powerup"}, future()},
        {"Bomb", {"bomb"}, future()},
        {"Tutorial", {"enemyGrunt"}, tutorial()},
        {"Level1", {"enemy"}, level(1)},
        {"Level2", {"enemyMech"}, level(2)},
        {"Level3", {"enemyGrunt2"}, level(3)},
        {"Level4", {"replicatingEnemy"}, level(4)},
        {"Level5", {"dragonEnemy"}, level(5)},
        {"PlayerKeys", keySections("player", "keys"), level(1, 4)},
        {"DefaultKeys", keySections("defaultplayer", "keys"), level(1, 4), false, false, true},
        // A start without the keyboard device reloads these every time.
        {"WindowKeys", keySections("defaultplayer", "wininputkeys"), level(1, 4), true},
    };
    return g;
}

bool isKeyBinding(const Group& g) { return g.name.find("Keys") != std::string::npos; }

// One case per key of the shipped file (per section for the key bindings).
std::vector<Case> cases() {
    std::vector<Case> out;
    const std::vector<plat::ProfileEntry> shipped = plat::profileEntries(std::string(shippedConfig()));
    for (const Group& g : groups()) {
        for (const std::string& section : g.sections) {
            Group narrowed = g;
            narrowed.sections = {section};
            if (isKeyBinding(g)) {
                out.push_back({g.name + "_" + section, narrowed, ""});
                continue;
            }
            for (const plat::ProfileEntry& e : shipped)
                if (e.section == section) out.push_back({g.name + "_" + e.key, narrowed, e.key});
        }
    }
    return out;
}

Game* current = nullptr;
void tick() {
    if (current) current->draw();
}

class ConfigExtremesTest : public ShellTest, public ::testing::WithParamInterface<Case> {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        const fs::path bin = EMBERHAUNT_BIN_DIR;
        fs::copy_file(bin / "filepaths.cfg", path("filepaths.cfg"));
        fs::create_directory_symlink(bin / "assets", path("assets"));
    }
    void TearDown() override {
        finish();
        ShellTest::TearDown();
    }

    void finish() {
        current = nullptr;
        if (game) game->level.cleanup();
        game.reset();
    }

    // The shipped file with every key of the group's sections set to value.
    void writeConfig(const Group& g, const std::string& key, const std::string& value) {
        const std::string shipped(shippedConfig());
        std::vector<plat::ProfileEntry> entries;
        for (const plat::ProfileEntry& e : plat::profileEntries(shipped))
            for (const std::string& section : g.sections)
                if (e.section == section && (key.empty() || e.key == key))
                    entries.push_back({e.section, e.key, value});
        ASSERT_FALSE(entries.empty());
        write("config.cfg", shipped);
        ASSERT_TRUE(plat::profileWriteAll(entries, path("config.cfg")));
    }

    // Random play on every player's keys, as codes of the input mode; codes
    // no key sends are left alone.
    void pressKeys(std::mt19937& random, int players, bool windowMode) {
        std::uniform_int_distribution<int> pick(0, 99);
        for (int p = 0; p < players; ++p) {
            for (int k = 0; k < KEY_SLOTS; ++k) {
                const int code = playerKeys[p][k];
                if (code < 0 || code > 255) continue;
                const bool down = pick(random) < (k == KEY_PRIMARY ? 10 : 25);
                if (windowMode) {
                    plat::headless::postMessage(
                        {down ? plat::MsgType::KeyDown : plat::MsgType::KeyUp, uint32_t(code), 0});
                } else {
                    plat::headless::setKeyState(code, down);
                }
            }
        }
    }

    void play(const Case& c, const std::string& value) {
        const Group& g = c.group;
        plat::headless::reset();
        resetGlobals();
        configDirectory = dir->path();
        writeConfig(g, c.key, value);
        if (HasFatalFailure()) return;
        if (g.windowInput) plat::headless::failKeyboardStep("system");

        game = std::make_unique<Game>();
        current = game.get();
        game->init(tick);
        ASSERT_EQ(game->state, kStateMenu);
        EXPECT_GE(game->getDrawInterval(), 10);
        EXPECT_LE(game->getDrawInterval(), 100);

        for (int i = 0; i < game->menu.itemCount; ++i) {
            MenuItem& item = *game->menu.items[i];
            if ((g.versusDefaults && item.action == kActionMultiplayerDefault) ||
                (g.restoreKeys && item.action == kActionRestoreKeys))
                item.activate();
        }

        // As a menu action starts a stage, without the page change.
        g.stage.load(game->level);
        introCoverStarted = false;
        game->state = kStatePlaying;
        const int secondsAtStart = game->level.secondsLeft;
        const int framesAtStart = plat::headless::presentCount();

        std::mt19937 random(20240611u);
        uint32_t nextKeys = 0;
        testsupport::PassLoop loop;
        loop.update = [&] {
            if (plat::tickCount() >= nextKeys) {
                pressKeys(random, g.stage.players, g.windowInput);
                nextKeys = plat::tickCount() + 150;
            }
            game->update();
        };
        loop.onQuit = [this](uint32_t) { game->quit(); };
        loop.maxPasses = 200000;
        // Intro and ready take three seconds; then a few of play.
        const auto r = testsupport::runPassLoop(7000, loop);
        plat::headless::clearKeyStates();

        EXPECT_FALSE(r.passLimitHit);
        // At least one frame every 100 ms, however the interval was set.
        EXPECT_GE(plat::headless::presentCount() - framesAtStart, 60);
        EXPECT_LT(game->level.enemies.size(), 300u);
        EXPECT_LT(game->level.explosions.size() + game->level.missiles.size(), 5000u);
        if (game->state == kStatePlaying && !game->level.isLevelOver()) {
            EXPECT_TRUE(game->level.running);
            EXPECT_LT(game->level.secondsLeft, secondsAtStart);  // the round goes on
            EXPECT_GE(game->level.secondsLeft, 0);
        }
        // Health never grows past what a player starts with.
        for (const Player& p : game->level.players) EXPECT_LE(p.health, std::max(maxHealth, multiplayerMaxHealth));
        finish();
    }

    std::unique_ptr<Game> game;
};

TEST_P(ConfigExtremesTest, EachExtremeInEveryKeyGivesAWorkingGame) {
    for (const char* value : kExtremes) {
        SCOPED_TRACE((GetParam().key.empty() ? std::string("every key") : GetParam().key) + " = \"" + value + "\"");
        play(GetParam(), value);
        if (HasFatalFailure()) return;
    }
}

INSTANTIATE_TEST_SUITE_P(EveryKey, ConfigExtremesTest, ::testing::ValuesIn(cases()),
                         [](const ::testing::TestParamInfo<Case>& info) { return info.param.name; });

}  // namespace
}  // namespace shelltest
