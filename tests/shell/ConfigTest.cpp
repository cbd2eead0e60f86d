#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>
#include <cstdio>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <filesystem>
#include <sstream>
#include <random>
#include <vector>

#include "ShellFixture.h"
#include "platform/IniFileIo.h"
#include "platform/Paths.h"

namespace shelltest {
namespace {

// Whether `whole` is `part` with bytes added, none taken away or changed.
bool keptInOrder(const std::string& part, const std::string& whole) {
    std::size_t at = 0;
    for (char c : whole)
        if (at < part.size() && c == part[at]) ++at;
    return at == part.size();
}

class ConfigTest : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        setConfigLog([this](const char* line) { logged += line; });
    }
    void TearDown() override {
        setConfigLog(nullptr);
        ShellTest::TearDown();
    }

    // The values a start with the shipped file reads.
    void expectShippedValues() {
        EXPECT_EQ(gameTitle, "Emberhaunt");
        EXPECT_EQ(frameUpdateInterval, 15);
        EXPECT_EQ(globalVolume, 200);
        EXPECT_FLOAT_EQ(playerSpeed, 3.0f);
        EXPECT_EQ(powerupFrequency, 50);
        EXPECT_EQ(bombTime, 2200);
        EXPECT_EQ(healthDamage, 7);
        const int arrows[KEY_SLOTS] = {200, 208, 205, 203, 28, 157};
        for (int k = 0; k < KEY_SLOTS; ++k) EXPECT_EQ(playerKeys[0][k], arrows[k]) << k;
        EXPECT_EQ(playerKeys[3][KEY_SECONDARY], 83);
        EXPECT_EQ(getConfigInt("dragonEnemyHard", "dragonLength"), 8);
        EXPECT_EQ(getConfigInt("defaultplayer2wininputkeys", "left"), 65);
        EXPECT_EQ(getConfigInt("multiplayerDefault", "playerSpeed"), 40);
    }

    std::string logged;
};

TEST_F(ConfigTest, AMissingFileIsWrittenAfreshFromTheShippedOneBeforeItIsRead) {
    loadConfig();
    EXPECT_EQ(configPath, path("config.cfg"));
    EXPECT_EQ(filePathsPath, path("filepaths.cfg"));
    EXPECT_EQ(read("config.cfg"), std::string(shippedConfig()));
    EXPECT_EQ(logged, "-config.cfg not found, restored the shipped settings\n");
    expectShippedValues();

    // A start with the shipped file changes nothing and says nothing.
    logged.clear();
    resetConfig();
    loadConfig();
    EXPECT_EQ(read("config.cfg"), std::string(shippedConfig()));
    EXPECT_EQ(logged, "");
    expectShippedValues();
}

// A file cut short, or garbled, keeps every byte it holds and every value
// it holds; what it lacks is read from the shipped file and added to it.
TEST_F(ConfigTest, ADamagedFileIsCompletedKeepingEverythingItHolds) {
    std::string shipped(shippedConfig());
    shipped.replace(shipped.find("globalVolume=200"), 16, "globalVolume=120");
    const std::string half = shipped.substr(0, shipped.size() / 2);
    std::mt19937 random(7);
    std::string garbage(3000, '\0');
    for (char& c : garbage) c = char(random());
    garbage += "\n[audio]\nglobalVolume=90\n" + garbage;

    struct Case {
        const char* name;
        std::string bytes;
        int volume;
    };
    for (const Case& c : {Case{"halved", half, 120}, Case{"garbled", garbage, 90}}) {
        SCOPED_TRACE(c.name);
        write("config.cfg", c.bytes);
        logged.clear();
        resetConfig();
        loadConfig();
        EXPECT_EQ(globalVolume, c.volume);
        EXPECT_EQ(frameUpdateInterval, 15);
        EXPECT_EQ(playerKeys[0][KEY_UP], 200);
        EXPECT_EQ(getConfigInt("dragonEnemyHard", "dragonLength"), 8);
        EXPECT_EQ(getConfigInt("defaultplayer4wininputkeys", "secondary"), 110);
        EXPECT_EQ(gameTitle, "Emberhaunt");
        EXPECT_EQ(logged.rfind("-config.cfg lacked ", 0), 0u) << logged;
        EXPECT_NE(logged.find(" settings, completed it from the shipped settings\n"), std::string::npos);
        EXPECT_EQ(std::count(logged.begin(), logged.end(), '\n'), 1);

        const std::string after = read("config.cfg");
        EXPECT_TRUE(keptInOrder(c.bytes, after));
        // Completed for good: the next start finds nothing to add.
        logged.clear();
        resetConfig();
        loadConfig();
        EXPECT_EQ(logged, "");
        EXPECT_EQ(read("config.cfg"), after);
        EXPECT_EQ(globalVolume, c.volume);
        EXPECT_EQ(getConfigInt("enemyGruntHard", "replicateWaitTime"), 10000);
    }
}

// Where nothing can be written the shipped values still stand in, and the
// player's file is left exactly as it is.
TEST_F(ConfigTest, WhereTheFileCannotBeWrittenTheShippedValuesStillStandIn) {
    const std::string mine = "[audio]\nglobalVolume=40\n";
    write("config.cfg", mine);
    ASSERT_EQ(::chmod(path("config.cfg").c_str(), 0444), 0);
    loadConfig();
    EXPECT_EQ(read("config.cfg"), mine);
    EXPECT_EQ(globalVolume, 40);
    EXPECT_EQ(playerKeys[1][KEY_UP], 17);
    EXPECT_EQ(getConfigInt("replicatingEnemy", "maxEnemies"), 6);
    EXPECT_NE(logged.find("could not be written"), std::string::npos) << logged;

    configDirectory = path("no/such/folder");
    logged.clear();
    resetConfig();
    loadConfig();
    EXPECT_EQ(logged, "-config.cfg not found and could not be written, using the shipped settings\n");
    expectShippedValues();
}

TEST_F(ConfigTest, ReadsEachKindOfValueAndBringsItIntoRange) {
    write("config.cfg",
          "[game]\ngameTitle=" + std::string(300, 't') +
              "\ngameAuthor = Somebody\ngameVersion=\n"
              "[video]\nfullscreen=1\nframeUpdateInterval=20\n"
              "[audio]\nglobalVolume=255\n"
              "[player]\nplayerSpeed=35\nminPlayerSpeed=\nmaxHealth=abc\nplayerIceMomentum=-250\nmaxMissiles=-3\n"
              "[multiplayer]\nplayerSpeed=41\nmaxMissiles=-2\nmaxHealth=2147483647\n"
              "[powerup]\npowerupFrequency=\ndynamitePowerupBoundary=abc\nmissilePowerupBoundary=12abc\n"
              "hmissilePowerupBoundary=99999999999\nkickPowerupBoundary=-3\n"
              "[bomb]\nbombSpeed=65\nbombTime=60000\n"
              "[PLAYER1KEYS]\nUP=201\nsecondary=-2147483648\n");
    loadConfig();

    EXPECT_EQ(gameTitle, std::string(99, 't'));  // a 100-character buffer's worth
    EXPECT_EQ(gameAuthor, "Somebody");
    EXPECT_EQ(gameVersion, "");  // held, though empty
    EXPECT_EQ(fullscreen, 1);
    EXPECT_EQ(frameUpdateInterval, 20);
    EXPECT_EQ(globalVolume, 255);  // full on the audio scale
    EXPECT_FLOAT_EQ(playerSpeed, 3.5f);
    EXPECT_FLOAT_EQ(minPlayerSpeed, 1.0f);  // empty: as if missing
    EXPECT_EQ(maxHealth, 1);                // present but not a number: 0, raised to 1
    EXPECT_EQ(playerIceMomentum, 0);
    EXPECT_EQ(maxMissiles, 0);  // no menu bounds it; fewer than none means none
    EXPECT_FLOAT_EQ(multiplayerPlayerSpeed, 4.1f);
    EXPECT_EQ(multiplayerMaxMissiles, 0);
    EXPECT_EQ(multiplayerMaxHealth, 500);

    EXPECT_EQ(powerupFrequency, 0);
    EXPECT_EQ(dynamitePowerupBoundary, 0);
    EXPECT_EQ(missilePowerupBoundary, 12);
    EXPECT_EQ(hmissilePowerupBoundary, 100);
    EXPECT_EQ(kickPowerupBoundary, 0);
    EXPECT_FLOAT_EQ(bombSpeed, 6.5f);
    EXPECT_EQ(bombTime, 10000);
    EXPECT_FLOAT_EQ(missileSpeed, 2.5f);  // missing: the shipped value
    EXPECT_EQ(playerKeys[0][KEY_UP], 201);
    EXPECT_EQ(playerKeys[0][KEY_SECONDARY], INT_MIN);  // a key no key sends
    EXPECT_EQ(playerKeys[0][KEY_DOWN], 208);
    ASSERT_TRUE(saveConfig());
    EXPECT_EQ(getConfigInt("audio", "globalVolume"), 255);

    // The speed range of the PLAYER SPEED item stays a range.
    write("config.cfg", std::string(shippedConfig()) + "\n");
    ASSERT_TRUE(plat::profileWriteAll({{"player", "minPlayerSpeed", "90"}, {"player", "maxPlayerSpeed", "20"},
                                       {"multiplayer", "playerSpeed", "-7"}, {"audio", "globalVolume", "256"},
                                       {"player", "maxHealth", "2147483647"}, {"player", "maxMissiles", "500"},
                                       {"bomb", "bombTime", "0"}},
                                      path("config.cfg")));
    loadConfig();
    EXPECT_EQ(globalVolume, 255);
    // Not the HEALTH and MAX MISSILES items' bounds: no menu edits these.
    EXPECT_EQ(maxHealth, INT_MAX);
    EXPECT_EQ(maxMissiles, 500);
    EXPECT_EQ(bombTime, 500);
    EXPECT_FLOAT_EQ(minPlayerSpeed, 2.0f);
    EXPECT_FLOAT_EQ(maxPlayerSpeed, 2.0f);
    EXPECT_FLOAT_EQ(multiplayerPlayerSpeed, 2.0f);
}

TEST_F(ConfigTest, SaveChangesOnlyThePersistedValuesAndKeepsTenthsExact) {
    const std::string original =
        "; player's settings\n[game]\ngameTitle=Emberhaunt\n"
        "[video]\nfullscreen=0\ndisplayFPS=1\n"
        "[multiplayer]\nmaxMissiles=7\nplayerSpeed=35\nunknownKey=kept\n"
        "[enemyHard]\nenemyHealth=300\n";
    write("config.cfg", original);
    loadConfig();
    saveConfig();
    const std::string saved = read("config.cfg");
    // Every line of the original is still there, in its order; the writer
    // only added the keys it owns.
    std::istringstream savedLines(saved), originalLines(original);
    std::string want, got;
    while (std::getline(originalLines, want)) {
        while (std::getline(savedLines, got) && got != want) {
        }
        EXPECT_EQ(got, want);
    }
    EXPECT_EQ(getConfigInt("video", "displayFPS"), 1);
    EXPECT_EQ(getConfigInt("enemyHard", "enemyHealth"), 300);

    // Tenths that are not exact in binary must come back as read, not one
    // lower.
    for (int tenths : {1, 7, 9, 13, 41, 57, 77, 99, 100}) {
        write("config.cfg", "[player]\nminPlayerSpeed=1\nmaxPlayerSpeed=100\n[multiplayer]\nplayerSpeed=" +
                                std::to_string(tenths) + "\n");
        loadConfig();
        saveConfig();
        EXPECT_EQ(getConfigInt("multiplayer", "playerSpeed"), tenths);
    }
}

// Every persisted key goes to disk in one write: a save that cannot be
// finished (here: the file may not grow past a few bytes) changes nothing.
TEST_F(ConfigTest, ASaveWritesEveryKeyAtOnceOrNothing) {
    writeShippedConfig();
    loadConfig();
    const std::string before = read("config.cfg");
    fullscreen = 1;  // same length: would fit
    for (auto& keys : playerKeys)
        for (int& code : keys) code = 1000 + code;  // every later key one or two bytes longer

    struct sigaction ignore {}, old {};
    ignore.sa_handler = SIG_IGN;
    ASSERT_EQ(sigaction(SIGXFSZ, &ignore, &old), 0);
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit tight = saved;
    tight.rlim_cur = before.size() + 8;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &tight), 0);
    const bool wrote = saveConfig();
    setrlimit(RLIMIT_FSIZE, &saved);
    sigaction(SIGXFSZ, &old, nullptr);

    EXPECT_FALSE(wrote);
    EXPECT_EQ(read("config.cfg"), before);
    EXPECT_TRUE(saveConfig());
    EXPECT_EQ(getConfigInt("video", "fullscreen"), 1);
    EXPECT_EQ(getConfigInt("player4keys", "secondary"), 1083);
}

// A read-only file stays as it is and the save says so; the first failure
// of a run, and only that one, is added to the closed start-up log. A save
// that wrote the file but could not flush its folder says that instead,
// also once.
TEST_F(ConfigTest, AFailedSaveIsLoggedOncePerRunSayingWhatItLeft) {
    writeShippedConfig();
    loadConfig();
    setConfigLog(nullptr);
    const std::string startLog = "Emberhaunt v7 Log\n\n-Menu initialized\n";
    write("log.txt", startLog);
    const std::string before = read("config.cfg");
    ASSERT_EQ(::chmod(path("config.cfg").c_str(), 0444), 0);

    globalVolume = 10;
    EXPECT_FALSE(saveConfig());
    EXPECT_FALSE(saveConfig());
    EXPECT_EQ(read("config.cfg"), before);
    struct stat st {};
    ASSERT_EQ(::stat(path("config.cfg").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0444u);
    const std::string failed = "-Error saving config.cfg, changed settings last only until the game ends\n";
    EXPECT_EQ(read("log.txt"), startLog + failed);
    EXPECT_EQ(globalVolume, 10);  // still in force

    struct Restore {
        ~Restore() {
            plat::internal::setSyncCall(nullptr);
            plat::internal::setUnnamedFiles(true);
        }
    } restore;
    // An unwritable place fails just the same, and is not logged again; nor
    // is it taken for a file written, whether the file system has files
    // without a name or not.
    const std::string writable = configPath;
    configPath = path("no/such/folder/config.cfg");
    for (bool unnamed : {true, false}) {
        plat::internal::setUnnamedFiles(unnamed);
        EXPECT_FALSE(saveConfig());
    }
    restoreDefaultKeys();
    EXPECT_EQ(read("log.txt"), startLog + failed);

    configPath = writable;
    ASSERT_EQ(::chmod(configPath.c_str(), 0644), 0);
    plat::internal::setSyncCall([](int fd) {
        struct stat st {};
        ::fstat(fd, &st);
        errno = EIO;
        return S_ISDIR(st.st_mode) ? -1 : 0;
    });
    globalVolume = 20;
    EXPECT_FALSE(saveConfig());
    globalVolume = 30;
    EXPECT_FALSE(saveConfig());
    EXPECT_EQ(getConfigInt("audio", "globalVolume"), 30);
    EXPECT_EQ(read("log.txt"),
              startLog + failed + "-Error saving config.cfg, settings written but may not survive a power cut\n");
}

TEST_F(ConfigTest, RestoreDefaultKeysLoadsTheSetOfTheInputModeAndSavesIt) {
    write("config.cfg",
          "[defaultplayer1keys]\nup=200\ndown=208\nleft=203\nright=205\nprimary=28\nsecondary=157\n"
          "[defaultplayer1wininputkeys]\nup=38\ndown=40\nleft=37\nright=39\nprimary=13\nsecondary=17\n"
          "[defaultplayer2keys]\nup=17\n"
          "[player1keys]\nup=1\ndown=2\nright=3\nleft=4\nprimary=5\nsecondary=6\n");
    loadConfig();
    ASSERT_EQ(playerKeys[0][KEY_LEFT], 4);

    windowInput = false;
    restoreDefaultKeys();
    EXPECT_EQ(playerKeys[0][KEY_UP], 200);
    EXPECT_EQ(playerKeys[0][KEY_DOWN], 208);
    EXPECT_EQ(playerKeys[0][KEY_RIGHT], 205);
    EXPECT_EQ(playerKeys[0][KEY_LEFT], 203);
    EXPECT_EQ(playerKeys[0][KEY_PRIMARY], 28);
    EXPECT_EQ(playerKeys[0][KEY_SECONDARY], 157);
    EXPECT_EQ(playerKeys[1][KEY_UP], 17);
    // Defaults the player's file lacks are the shipped ones, saved so.
    EXPECT_EQ(playerKeys[1][KEY_DOWN], 31);
    EXPECT_EQ(playerKeys[3][KEY_PRIMARY], 82);
    EXPECT_EQ(getConfigInt("player1keys", "left"), 203);
    EXPECT_EQ(getConfigInt("player2keys", "down"), 31);
    EXPECT_EQ(getConfigInt("player4keys", "secondary"), 83);

    windowInput = true;
    restoreDefaultKeys();
    EXPECT_EQ(playerKeys[0][KEY_UP], 38);
    EXPECT_EQ(playerKeys[0][KEY_RIGHT], 39);
    EXPECT_EQ(playerKeys[0][KEY_LEFT], 37);
    EXPECT_EQ(playerKeys[1][KEY_UP], 87);
    EXPECT_EQ(getConfigInt("player1keys", "primary"), 13);

    // The bindings survive a reload as saved.
    resetConfig();
    loadConfig();
    EXPECT_EQ(playerKeys[0][KEY_SECONDARY], 17);
    EXPECT_EQ(playerKeys[2][KEY_UP], 79);
}

TEST_F(ConfigTest, FilesAreFoundBesideTheExecutableWhateverTheFolderIsCalled) {
    configDirectory.clear();
    const std::string besideTests = plat::executableDir() + "/config.cfg";
    const bool wasThere = testsupport::fileExists(besideTests);
    loadConfig();
    EXPECT_EQ(configPath, besideTests);
    EXPECT_EQ(filePathsPath, plat::executableDir() + "/filepaths.cfg");
    if (!wasThere) std::remove(besideTests.c_str());  // restored there just now

    // A folder with dots in its name, deeper than any fixed path buffer.
    std::string deep = dir->path();
    for (int i = 0; deep.size() < 400; ++i) deep += "/folder.with.dots" + std::to_string(i);
    std::filesystem::create_directories(deep);
    ASSERT_TRUE(testsupport::writeFile(deep + "/config.cfg", "[video]\nframeUpdateInterval=33\n"));
    configDirectory = deep + "/";
    loadConfig();
    EXPECT_EQ(configPath, deep + "/config.cfg");
    EXPECT_EQ(frameUpdateInterval, 33);
}

}  // namespace
}  // namespace shelltest
