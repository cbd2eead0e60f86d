// Saving config.cfg while the process is killed, the disk is full or the
// file is read-only. Each save runs in a forked child (no exec: the child
// is this test with its settings changed), which the test kills with
// SIGKILL after a random delay of some microseconds, spread over the time
// a save takes. After every kill config.cfg must be, byte for byte, the
// file before the save or the file the save meant to write; any other name
// in its folder must be a temporary file of the writer's own naming left by
// the killed child, and the next start (loadConfig) a minute or more later
// must leave none.
#include <fcntl.h>
#include <sched.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <functional>
#include <iostream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "ShellFixture.h"

#if defined(__SANITIZE_ADDRESS__)
extern "C" void __sanitizer_purge_allocator();
#endif

namespace shelltest {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// Hands the sanitizer's freed memory back to the system. A forked child
// costs time by the memory its parent holds (the child copies its page
// tables and tears them down again when killed), and the sanitizer holds
// on to freed memory by the hundred megabytes.
void purgeHeap() {
#if defined(__SANITIZE_ADDRESS__)
    __sanitizer_purge_allocator();
#endif
}

const char kSaveFailed[] = "-Error saving config.cfg, changed settings last only until the game ends\n";

// What a round of killed saves came to.
struct KillReport {
    int kills = 0;
    int keptOld = 0;      // the kill came before the rename
    int tookNew = 0;      // the save was through
    int namedTemps = 0;   // kills that left a named temporary file until the next start
    std::string failure;  // the first broken promise; empty when all held
};

// A file-size limit makes the write fail part-way, as a full disk does.
void limitFileSize() {
    ::signal(SIGXFSZ, SIG_IGN);
    rlimit tight{};
    ::getrlimit(RLIMIT_FSIZE, &tight);
    tight.rlim_cur = 4096;
    ::setrlimit(RLIMIT_FSIZE, &tight);
}

// A private mount namespace (as the superuser, or as anybody through a user
// namespace where the system allows them) for a tmpfs of our own.
bool ownMountNamespace(std::string* why) {
    if (::unshare(CLONE_NEWNS) != 0) {
        const uid_t uid = ::geteuid();
        const gid_t gid = ::getegid();
        if (::unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0) {
            *why = std::string("no mount namespace: ") + std::strerror(errno);
            return false;
        }
        testsupport::writeFile("/proc/self/setgroups", "deny");
        testsupport::writeFile("/proc/self/uid_map", std::to_string(uid) + " " + std::to_string(uid) + " 1");
        testsupport::writeFile("/proc/self/gid_map", std::to_string(gid) + " " + std::to_string(gid) + " 1");
    }
    if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) {
        *why = std::string("mounts not private: ") + std::strerror(errno);
        return false;
    }
    return true;
}

// Fills the file system of `file` up to the last byte.
bool fillDisk(const std::string& file) {
    const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0) return false;
    const std::string block(4096, 'f');
    for (std::size_t size = block.size(); size > 0; size /= 2)
        while (::write(fd, block.data(), size) == ssize_t(size)) {
        }
    const bool full = errno == ENOSPC;
    ::close(fd);
    return full;
}

// Runs `body` in a child with a tmpfs of `size` of its own mounted at
// `disk` (in mounts of its own, so that nothing outside the child sees it)
// and returns what the body reports, or "skip <why>" where this system lets
// nobody mount one.
std::string inOwnTmpfs(const std::string& disk, const char* size, const std::function<std::string()>& body) {
    int report[2];
    if (::pipe(report) != 0) return "no pipe";
    const pid_t child = ::fork();
    if (child < 0) return "no fork";
    if (child == 0) {
        ::close(report[0]);
        std::string result;
        // Whatever happens, the child ends here: it must never go on
        // running the parent's tests.
        try {
            fs::create_directory(disk);
            if (!ownMountNamespace(&result))
                result = "skip " + result;
            else if (::mount("tmpfs", disk.c_str(), "tmpfs", 0, size) != 0)
                result = std::string("skip no tmpfs: ") + std::strerror(errno);
            else
                result = body();
        } catch (const std::exception& e) {
            result = e.what();
        }
        (void)!::write(report[1], result.data(), result.size());
        ::_exit(0);
    }
    ::close(report[1]);
    std::string result;
    char buffer[512];
    for (ssize_t n; (n = ::read(report[0], buffer, sizeof buffer)) > 0;) result.append(buffer, std::size_t(n));
    ::close(report[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) result += " (the child died: " + std::to_string(status) + ")";
    return result;
}

class ConfigSaveSafetyTest : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        setConfigLog([this](const char* line) { logged += line; });
        writeShippedConfig();
        loadConfig();
        std::copy(&playerKeys[0][0], &playerKeys[0][0] + kMaxPlayers * KEY_SLOTS, &shippedKeys[0][0]);
    }
    void TearDown() override {
        setConfigLog(nullptr);
        ShellTest::TearDown();
    }

    // Two sets of the values a save writes; the second makes every key
    // line longer, so its file needs more room than the first.
    void choose(int set) {
        fullscreen = set;
        globalVolume = set ? 57 : 200;
        audioEnabled = 1 - set;
        lastUsedDI = set;
        multiplayerMaxMissiles = set ? 42 : 7;
        multiplayerPlayerSpeed = set ? 2.5f : 4.0f;
        for (int p = 0; p < kMaxPlayers; ++p)
            for (int k = 0; k < KEY_SLOTS; ++k) playerKeys[p][k] = shippedKeys[p][k] + (set ? 1000 : 0);
    }

    // Every name in config.cfg's folder but config.cfg and `ignored`.
    static std::vector<std::string> strays(const std::string& folder, const std::string& ignored = "") {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(folder)) {
            const std::string name = e.path().filename().string();
            if (name != "config.cfg" && name != ignored) names.push_back(name);
        }
        return names;
    }

    // The contents of config.cfg after saving set 0 and after saving set 1.
    void saveBothVersions(std::string versions[2]) {
        for (int set : {1, 0, 1, 0}) {
            choose(set);
            ASSERT_TRUE(saveConfig());
            const std::string bytes = testsupport::readFile(configPath);
            if (!versions[set].empty()) {
                ASSERT_EQ(bytes, versions[set]) << "a save is not repeatable";
            }
            versions[set] = bytes;
        }
        ASSERT_NE(versions[0], versions[1]);
    }

    // Microseconds over which the kills spread. The child is slower than
    // the parent at first (its pages are copied as it writes them), so three
    // times the parent's save: some kills come before the save has begun,
    // many during it, and some after it is through.
    int64_t killSpread() { return 3 * saveMicros(); }

    // Microseconds one save takes here, the mean of a few.
    int64_t saveMicros() {
        const auto start = Clock::now();
        for (int i = 0; i < 10; ++i) {
            choose(i % 2);
            saveConfig();
        }
        choose(0);
        saveConfig();
        return std::max<int64_t>(
            std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - start).count() / 11, 1);
    }

    // `kills` times: a child saves the other set than the file holds and is
    // killed after 0 to spreadMicros. `prepareChild` runs in the child before
    // the save (limits, signal handling). Where `saveFails`, only the old
    // file may ever be found.
    KillReport killSaves(const std::string versions[2], int kills, int64_t spreadMicros, uint32_t seed,
                         bool saveFails, void (*prepareChild)() = nullptr) {
        KillReport r;
        std::mt19937 random(seed);
        const std::string folder = fs::path(configPath).parent_path().string();
        for (int i = 0; i < kills && r.failure.empty(); ++i) {
            const std::string before = testsupport::readFile(configPath);
            const int held = before == versions[0] ? 0 : (before == versions[1] ? 1 : -1);
            if (held < 0) {
                r.failure = "config.cfg is neither version before kill " + std::to_string(i);
                break;
            }
            purgeHeap();
            int ready[2];
            if (::pipe(ready) != 0) {
                r.failure = "no pipe";
                break;
            }
            const pid_t child = ::fork();
            if (child < 0) {
                r.failure = "no fork";
                break;
            }
            if (child == 0) {
                ::close(ready[0]);
                if (prepareChild) prepareChild();
                choose(1 - held);
                (void)!::write(ready[1], "s", 1);
                saveConfig();
                ::_exit(0);
            }
            ::close(ready[1]);
            char c;
            (void)!::read(ready[0], &c, 1);
            ::close(ready[0]);
            // Busy-waited: a sleep that short would overshoot by more than
            // the whole save.
            const auto killAt = Clock::now() + std::chrono::microseconds(
                                                   std::uniform_int_distribution<int64_t>(0, spreadMicros)(random));
            while (Clock::now() < killAt) {
            }
            ::kill(child, SIGKILL);
            int status = 0;
            ::waitpid(child, &status, 0);
            ++r.kills;

            const std::string after = testsupport::readFile(configPath);
            if (after == before) {
                ++r.keptOld;
            } else if (after == versions[1 - held] && !saveFails) {
                ++r.tookNew;
            } else {
                r.failure = "after kill " + std::to_string(i) + " config.cfg holds " +
                            std::to_string(after.size()) + " bytes of neither version";
                break;
            }
            const std::string own = "config.cfg.emberhaunt-save-" + std::to_string(child) + "-";
            const std::vector<std::string> left = strays(folder, "filler");
            for (const std::string& name : left)
                if (name.compare(0, own.size(), own) != 0) r.failure = "kill " + std::to_string(i) + " left " + name;
            if (left.empty()) continue;
            ++r.namedTemps;
            for (const std::string& name : left) testsupport::ageFile(folder + "/" + name, 120);
            loadConfig();  // the next start, two minutes later
            if (!strays(folder, "filler").empty())
                r.failure = "the start after kill " + std::to_string(i) + " left " + strays(folder, "filler")[0];
        }
        return r;
    }

    // killSaves over a spread measured just before, in rounds of `kills`.
    // The machine's pace may change after the measure (other work, the
    // disk): a round whose kills all fell on one side of the rename is
    // followed by one over a spread twice as long or half as long, up to
    // four more. The report adds the rounds up; *spread ends as the last.
    KillReport killAcrossTheSave(const std::string versions[2], int kills, int64_t* spread, uint32_t seed) {
        KillReport total;
        for (int round = 0; round < 5; ++round) {
            const KillReport r = killSaves(versions, kills, *spread, seed + uint32_t(round), false);
            total.kills += r.kills;
            total.keptOld += r.keptOld;
            total.tookNew += r.tookNew;
            total.namedTemps += r.namedTemps;
            total.failure = r.failure;
            if (!r.failure.empty() || (total.keptOld > 0 && total.tookNew > 0)) break;
            *spread = total.tookNew == 0 ? *spread * 2 : std::max<int64_t>(*spread / 2, 1);
        }
        return total;
    }

    std::string logged;
    int shippedKeys[kMaxPlayers][KEY_SLOTS] = {};
};

std::string describe(const KillReport& r) {
    std::ostringstream s;
    s << r.kills << " kills: " << r.keptOld << " kept the old file, " << r.tookNew << " found the new one, "
      << r.namedTemps << " left a named temporary file until the next start";
    return s.str();
}

// On a tmpfs a save takes a fraction of a millisecond (nothing to flush),
// so the thousand kills run there; a hundred more run on the test folder's
// own disk, where the flush makes every save last milliseconds.
TEST_F(ConfigSaveSafetyTest, AKilledSaveLeavesTheOldFileOrTheNewOneAndNothingElse) {
    std::string versions[2];
    saveBothVersions(versions);
    const std::string disk = dir->path() + "/disk";
    std::string report = inOwnTmpfs(disk, "size=1m", [&] {
        configDirectory = disk;
        loadConfig();
        choose(0);
        saveConfig();
        int64_t spread = killSpread();
        const KillReport r = killAcrossTheSave(versions, 1000, &spread, 20240612u);
        if (!r.failure.empty()) return r.failure;
        if (r.keptOld == 0 || r.tookNew == 0) return "the kills missed the save: " + describe(r);
        // The file is written without a name: only a kill in the moment
        // between naming it and the rename leaves one (a few in a thousand).
        if (r.namedTemps > r.kills / 20) return "too many named temporary files: " + describe(r);
        return "ok " + describe(r) + " (spread over " + std::to_string(spread) + " us)";
    });
    fs::remove(disk);
    std::cout << "[ tmpfs    ] " << report << "\n";
    const bool onTmpfs = report.rfind("skip ", 0) != 0;
    if (onTmpfs) {
        EXPECT_EQ(report.substr(0, 3), "ok ") << report;
    }
    RecordProperty("tmpfs", report);

    // The test folder's disk: all thousand there where no tmpfs could be had.
    int64_t spread = killSpread();
    const KillReport r = killAcrossTheSave(versions, onTmpfs ? 100 : 1000, &spread, 20240613u);
    std::cout << "[ disk     ] " << describe(r) << " (spread over " << spread << " us)\n";
    RecordProperty("disk", describe(r));
    ASSERT_EQ(r.failure, "");
    // Kills fell both before and after the rename: they hit the save itself.
    EXPECT_GT(r.keptOld, 0);
    EXPECT_GT(r.tookNew, 0);
}

// Where the file cannot be written (a full disk, a file-size limit, a
// read-only file) a save says so, logs it once, changes not a byte and
// leaves nothing beside it, killed or not; once the cause is gone the same
// save goes through.
TEST_F(ConfigSaveSafetyTest, ASaveThatCannotBeWrittenKeepsTheOldFileAndSaysSo) {
    std::string versions[2];
    saveBothVersions(versions);
    const int64_t spread = killSpread();
    const std::string folder = dir->path();

    // A file-size limit below the new file's size.
    {
        SCOPED_TRACE("file-size limit");
        const KillReport r = killSaves(versions, 100, spread, 7u, true, limitFileSize);
        ASSERT_EQ(r.failure, "");
        EXPECT_EQ(r.keptOld, 100);
        EXPECT_EQ(r.namedTemps, 0);
        std::cout << "[ size cap ] " << describe(r) << "\n";
    }

    // The file read-only.
    {
        SCOPED_TRACE("read-only file");
        ASSERT_EQ(::chmod(configPath.c_str(), 0444), 0);
        const KillReport r = killSaves(versions, 100, spread, 8u, true);
        ASSERT_EQ(r.failure, "");
        EXPECT_EQ(r.keptOld, 100);
        std::cout << "[ read-only] " << describe(r) << "\n";
        logged.clear();
        choose(1);
        EXPECT_FALSE(saveConfig());
        EXPECT_FALSE(saveConfig());
        EXPECT_EQ(logged, kSaveFailed);
        EXPECT_EQ(testsupport::readFile(configPath), versions[0]);
        EXPECT_TRUE(strays(folder).empty());
        ASSERT_EQ(::chmod(configPath.c_str(), 0644), 0);
        EXPECT_TRUE(saveConfig());
        EXPECT_EQ(testsupport::readFile(configPath), versions[1]);
    }

    // A full tmpfs.
    choose(0);
    ASSERT_TRUE(saveConfig());
    const std::string disk = folder + "/disk";
    const std::string result = inOwnTmpfs(disk, "size=64k", [&]() -> std::string {
        fs::copy_file(configPath, disk + "/config.cfg");
        resetConfig();  // a new run: its first failure is logged again
        configDirectory = disk;
        loadConfig();
        if (!fillDisk(disk + "/filler")) return "the disk would not fill";
        const KillReport r = killSaves(versions, 100, spread, 9u, true);
        logged.clear();
        choose(1);
        const bool saved = saveConfig();
        const std::string after = testsupport::readFile(configPath);
        const bool alone = strays(disk, "filler").empty();
        fs::remove(disk + "/filler");
        if (!r.failure.empty()) return r.failure;
        if (r.keptOld != 100) return "a kill on the full disk changed the file";
        if (saved) return "the save on the full disk said it succeeded";
        if (logged != kSaveFailed) return "the failure was logged as: " + logged;
        if (after != versions[0]) return "the full disk changed the file";
        if (!alone) return "the full disk left a file beside config.cfg";
        if (!saveConfig() || testsupport::readFile(configPath) != versions[1])
            return "with room again the save still failed";
        return "ok " + describe(r);
    });
    std::cout << "[ full disk] " << result << "\n";
    RecordProperty("fullDisk", result);
    // Where no tmpfs can be had, the file-size limit above stood in for it.
    if (result.rfind("skip ", 0) != 0) {
        EXPECT_EQ(result.substr(0, 3), "ok ") << result;
    }
    EXPECT_EQ(testsupport::readFile(configPath), versions[0]);
}

}  // namespace
}  // namespace shelltest
