#include "support/BenchGame.h"

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <stdexcept>
#include <thread>

#include "platform/Headless.h"
#include "platform/Profile.h"
#include "shell/Config.h"
#include "world/Level.h"

namespace bench {

namespace fs = std::filesystem;

GameFolder::GameFolder(bool copyAssets) {
    std::string pattern = (fs::temp_directory_path() / "emberhaunt-bench-XXXXXX").string();
    if (!mkdtemp(pattern.data())) std::abort();
    path_ = pattern;
    const fs::path game = EMBERHAUNT_BIN_DIR;
    std::error_code ec;
    fs::copy_file(game / "filepaths.cfg", path_ + "/filepaths.cfg", ec);
    if (!ec) fs::copy_file(game / "config.cfg", path_ + "/config.cfg", ec);
    if (!ec && copyAssets) {
        // The images copied, so that their stamps can change; sound linked.
        fs::create_directory(path_ + "/assets", ec);
        if (!ec) fs::copy(game / "assets" / "img", path_ + "/assets/img", fs::copy_options::recursive, ec);
        for (const char* sub : {"sfx", "music"})
            if (!ec) fs::create_directory_symlink(game / "assets" / sub, path_ + "/assets/" + sub, ec);
    } else if (!ec) {
        fs::create_directory_symlink(game / "assets", path_ + "/assets", ec);
    }
    if (ec) {
        std::fprintf(stderr, "the built game folder %s is incomplete: %s\n", EMBERHAUNT_BIN_DIR,
                     ec.message().c_str());
        std::abort();
    }
    char cwd[4096];
    if (getcwd(cwd, sizeof cwd)) oldCwd_ = cwd;
    if (chdir(path_.c_str()) != 0) std::abort();
    configDirectory = path_;
}

GameFolder::~GameFolder() {
    configDirectory.clear();
    if (!oldCwd_.empty() && chdir(oldCwd_.c_str()) != 0) std::perror("chdir");
    std::error_code ec;
    fs::remove_all(path_, ec);
}

void GameFolder::setConfig(const std::string& section, const std::string& key,
                           const std::string& value) const {
    if (!plat::profileWrite(section, key, value, path_ + "/config.cfg")) std::abort();
}

void GameFolder::touchImages() {
    timespec times[2];
    clock_gettime(CLOCK_REALTIME, &times[0]);
    times[0].tv_sec -= 3600 + stampShift_++;
    times[1] = times[0];
    std::error_code ec;
    for (fs::recursive_directory_iterator it(path_ + "/assets/img", ec), end; !ec && it != end;
         it.increment(ec))
        if (it->is_regular_file()) utimensat(AT_FDCWD, it->path().c_str(), times, 0);
    // The image cache trusts a stamp only once its change time is 50 ms old;
    // a younger one would have every load of the file read it again.
    std::this_thread::sleep_for(std::chrono::milliseconds(60));
}

KeyDriver::KeyDriver(uint32_t seed, int players) : random_(seed), plans_(std::size_t(players)) {}

void KeyDriver::step(uint32_t now) {
    std::set<int> wanted;
    for (std::size_t p = 0; p < plans_.size(); ++p) {
        Plan& plan = plans_[p];
        const int* keys = playerKeys[p];
        if (now >= plan.directionUntil) {
            // Now and then a quick turn back, which raises dust.
            const bool turnBack = plan.direction >= 0 && pick(0, 2) == 0;
            plan.direction = turnBack ? plan.direction ^ 1 : pick(-1, 3);
            plan.directionUntil = now + uint32_t(turnBack ? pick(60, 250) : pick(100, 900));
        }
        if (now >= plan.primaryUntil && pick(0, 99) < 3) plan.primaryUntil = now + uint32_t(pick(30, 120));
        if (now >= plan.secondaryUntil && pick(0, 99) < 5)
            plan.secondaryUntil = now + uint32_t(pick(30, 400));
        if (plan.direction >= 0) wanted.insert(keys[plan.direction]);
        if (now < plan.primaryUntil) wanted.insert(keys[KEY_PRIMARY]);
        if (now < plan.secondaryUntil) wanted.insert(keys[KEY_SECONDARY]);
    }
    for (int code : down_)
        if (!wanted.count(code)) plat::headless::setKeyState(code, false);
    for (int code : wanted)
        if (!down_.count(code)) plat::headless::setKeyState(code, true);
    down_ = std::move(wanted);
}

void KeyDriver::releaseAll() {
    for (int code : down_) plat::headless::setKeyState(code, false);
    down_.clear();
}

const std::vector<Stage>& allStages() {
    static const std::vector<Stage> stages = {
        {"Tutorial", [](Level& l, int p, int d) { l.loadTutorial(p, d); }, 1},
        {"Level1", [](Level& l, int p, int d) { l.loadLevel1(p, d); }, 1},
        {"Level2", [](Level& l, int p, int d) { l.loadLevel2(p, d); }, 1},
        {"Level3", [](Level& l, int p, int d) { l.loadLevel3(p, d); }, 1},
        {"Level4", [](Level& l, int p, int d) { l.loadLevel4(p, d); }, 1},
        {"Level5", [](Level& l, int p, int d) { l.loadLevel5(p, d); }, 1},
        {"Desert", [](Level& l, int p, int) { l.loadArenaDesert(p); }, 4},
        {"Roman", [](Level& l, int p, int) { l.loadArenaRoman(p); }, 4},
        {"Future", [](Level& l, int p, int) { l.loadArenaFuture(p); }, 4},
        {"Arctic", [](Level& l, int p, int) { l.loadArenaArctic(p); }, 4},
        {"Ninja", [](Level& l, int p, int) { l.loadArenaNinja(p); }, 4},
        {"China", [](Level& l, int p, int) { l.loadArenaChina(p); }, 4},
    };
    return stages;
}

const Stage& stageNamed(const std::string& name) {
    for (const Stage& s : allStages())
        if (name == s.name) return s;
    throw std::invalid_argument("no stage " + name);
}

FieldCount countField(const Level& level) {
    FieldCount n;
    for (const Bomb& b : level.bombs) n.bombs += b.active;
    for (const Explosion& e : level.explosions) n.explosions += e.active;
    for (const Missile& m : level.missiles) n.missiles += m.active;
    for (const HomingMissile& m : level.homingMissiles) n.missiles += m.active;
    for (const Player& p : level.players) n.dust += int(p.dustEffects.size());
    for (const Enemy& e : level.enemies) {
        n.dust += int(e.dustEffects.size());
        n.enemies += e.active;
    }
    return n;
}

bool FieldCount::busierThan(const FieldCount& other) const {
    auto kinds = [](const FieldCount& n) {
        return (n.bombs > 0) + (n.explosions > 0) + (n.missiles > 0) + (n.dust > 0) + (n.enemies > 0);
    };
    if (kinds(*this) != kinds(other)) return kinds(*this) > kinds(other);
    return total() > other.total();
}

double threadSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

double frameCopySeconds() {
    constexpr std::size_t kPixels = 640 * 480;
    std::vector<uint32_t> from(kPixels, 0x00203040), to(kPixels);
    std::vector<double> times;
    for (int i = 0; i < 301; ++i) {
        from[std::size_t(i) % kPixels] = uint32_t(i);  // a new frame each time
        const double t0 = threadSeconds();
        std::memcpy(to.data(), from.data(), kPixels * 4);
        asm volatile("" : : "r"(to.data()) : "memory");
        times.push_back(threadSeconds() - t0);
    }
    std::nth_element(times.begin(), times.begin() + 150, times.end());
    return times[150];
}

void reportAgainstFrameCopy(benchmark::State& state, double seconds) {
    const double copy = frameCopySeconds();
    state.counters["copy_us"] = copy * 1e6;
    state.counters["frame_copies"] = copy > 0 ? seconds / copy : 0;
}

}  // namespace bench
