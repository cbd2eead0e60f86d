// Shared set-up of the stage tests: the real generated game folder for
// images, sounds and filepaths.cfg, and a private copy of the shipped
// config.cfg (so that a test may change its tuning sections freely).
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/Clock.h"
#include "platform/Headless.h"
#include "platform/Profile.h"
#include "platform/Surface.h"
#include "shell/Config.h"
#include "shell/FilePaths.h"
#include "shell/Sound.h"
#include "support/HeadlessTest.h"
#include "support/TestFiles.h"
#include "world/Level.h"

namespace stagetest {

class StageTest : public testsupport::HeadlessTest {
protected:
    void SetUp() override {
        HeadlessTest::SetUp();
        plat::headless::setTicks(5000);
        resetConfig();
        const std::string shipped =
            testsupport::readFile(std::string(EMBERHAUNT_SOURCE_DIR) + "/data/config.cfg");
        ASSERT_FALSE(shipped.empty());
        ASSERT_TRUE(testsupport::writeFile(dir.file("config.cfg"), shipped));
        configDirectory = dir.path();
        loadConfig();
        filePathsPath = std::string(EMBERHAUNT_BIN_DIR) + "/filepaths.cfg";
        ASSERT_TRUE(testsupport::fileExists(filePathsPath))
            << "build the generated game folder first";
        audioOn = true;
        initAudio();
    }

    void TearDown() override {
        level.cleanup();
        resetConfig();
        configDirectory.clear();
        configPath.clear();
        filePathsPath.clear();
        HeadlessTest::TearDown();
    }

    void setConfig(const std::string& section, const std::string& key, const std::string& value) {
        ASSERT_TRUE(plat::profileWrite(section, key, value, configPath));
    }

    // Takes the key out of the section of the private config.cfg.
    void removeConfigKey(const std::string& section, const std::string& key) {
        std::string text = testsupport::readFile(configPath);
        const std::size_t start = text.find("[" + section + "]");
        ASSERT_NE(start, std::string::npos);
        const std::size_t end = text.find('[', start + 1);
        const std::size_t at = text.find("\n" + key + "=", start);
        ASSERT_TRUE(at != std::string::npos && at < end) << section << " " << key;
        const std::size_t lineEnd = text.find('\n', at + 1);
        text.erase(at, lineEnd - at);
        ASSERT_TRUE(testsupport::writeFile(configPath, text));
    }

    // Runs the round for ms of simulated time, one draw every 15 ms.
    void run(uint32_t ms) {
        auto backBuffer = plat::Surface::create(640, 480);
        for (uint32_t t = 0; t < ms; t += 15) {
            plat::headless::advance(15);
            level.draw(*backBuffer);
        }
    }

    // Was the music file of this key opened?
    bool musicOpened(const std::string& key) const {
        const std::string tail = "/" + key + ".wav";
        for (const std::string& line : plat::headless::audioLog()) {
            if (line.rfind("open ", 0) == 0 && line.size() >= tail.size() &&
                line.compare(line.size() - tail.size(), tail.size(), tail) == 0)
                return true;
        }
        return false;
    }

    static std::vector<std::pair<int, int>> cellsOf(const std::list<Player>& list) {
        std::vector<std::pair<int, int>> cells;
        for (const Player& p : list) cells.push_back({p.getCol(), p.getRow()});
        return cells;
    }
    static std::vector<std::pair<int, int>> cellsOf(const std::list<Enemy>& list) {
        std::vector<std::pair<int, int>> cells;
        for (const Enemy& e : list) cells.push_back({e.getCol(), e.getRow()});
        return cells;
    }
    static int countCode(const int* layer, int cells, int code) {
        return static_cast<int>(std::count(layer, layer + cells, code));
    }

    testsupport::TempDir dir;
    Level level;
};

}  // namespace stagetest
