// A whole game on the headless back end, started from the real generated
// game folder (seen through a private folder with its own copy of
// config.cfg), driven through its menu with simulated keys.
#pragma once

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "menu/Menu.h"
#include "menu/MenuItem.h"
#include "platform/Headless.h"
#include "platform/KeyCodes.h"
#include "shell/Game.h"
#include "shell/ShellFixture.h"
#include "support/PassLoop.h"

namespace menutest {

// Keyboard codes of a few keys without a menu meaning.
constexpr int kDikA = 0x1E;
constexpr int kDikW = 0x11;
constexpr int kDikZ = 0x2C;
constexpr int kDikSpace = 0x39;

inline Game* currentGame = nullptr;
inline void tick() {
    if (currentGame) currentGame->draw();
}

class MenuGameTest : public shelltest::ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        namespace fs = std::filesystem;
        const fs::path bin = EMBERHAUNT_BIN_DIR;
        fs::copy_file(fs::path(EMBERHAUNT_SOURCE_DIR) / "data" / "config.cfg", path("config.cfg"));
        fs::copy_file(bin / "filepaths.cfg", path("filepaths.cfg"));
        fs::create_directory_symlink(bin / "assets", path("assets"));
        playerCount = 0;
        chosenLevel = 0;
    }

    void TearDown() override {
        currentGame = nullptr;
        if (game) game->level.cleanup();
        game.reset();
        ShellTest::TearDown();
    }

    // extraConfig is appended to the copy of config.cfg before the start.
    void startGame(bool windowMode = false, const std::string& extraConfig = "") {
        if (windowMode) plat::headless::failKeyboardStep("system");
        if (!extraConfig.empty()) write("config.cfg", read("config.cfg") + "\n" + extraConfig);
        game = std::make_unique<Game>();
        currentGame = game.get();
        game->init(tick);
    }

    Menu& menu() { return game->menu; }
    int page() { return game->menu.page; }
    MenuItem* selectedItem() { return game->menu.current(); }
    std::string selectedLabel() {
        MenuItem* item = selectedItem();
        return item ? item->label.getText() : "";
    }

    // Runs the main loop for ms of simulated time.
    void passes(uint32_t ms = 5) {
        testsupport::PassLoop loop;
        loop.update = [this] { game->update(); };
        testsupport::runPassLoop(ms, loop);
    }
    void press(int dik) {
        plat::headless::pressKey(dik);
        passes();
    }
    void release(int dik) {
        plat::headless::releaseKey(dik);
        passes();
    }
    void tap(int dik) {
        press(dik);
        release(dik);
    }

    // From the title page to the main menu.
    void toMainMenu() {
        tap(plat::DIK_RETURN);
        ASSERT_EQ(page(), kPageMain);
    }
    // Moves the cursor down to the item with that label and chooses it.
    void choose(const std::string& label) {
        for (int i = 0; i < 60 && selectedLabel() != label; ++i) tap(plat::DIK_DOWN);
        ASSERT_EQ(selectedLabel(), label) << "on page " << page();
        tap(plat::DIK_RETURN);
    }
    void chooseAll(const std::vector<std::string>& labels) {
        for (const std::string& label : labels) {
            choose(label);
            if (HasFatalFailure()) return;
        }
    }

    // Audio calls recorded since the last clear that begin with prefix and
    // end with suffix.
    static int audioCalls(const std::string& prefix, const std::string& suffix) {
        const auto& log = plat::headless::audioLog();
        return int(std::count_if(log.begin(), log.end(), [&](const std::string& line) {
            return line.rfind(prefix, 0) == 0 && line.size() >= suffix.size() &&
                   line.compare(line.size() - suffix.size(), suffix.size(), suffix) == 0;
        }));
    }

    std::unique_ptr<Game> game;
};

}  // namespace menutest
