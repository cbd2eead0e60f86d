#include "support/Replay.h"

#include <unistd.h>

#include <cstdio>
#include <exception>
#include <filesystem>
#include <sstream>

#include "actors/Enemy.h"
#include "menu/Menu.h"
#include "platform/Clock.h"
#include "platform/Headless.h"
#include "platform/Platform.h"
#include "platform/Surface.h"
#include "platform/Window.h"
#include "shell/CException.h"
#include "shell/Config.h"
#include "shell/FilePaths.h"
#include "shell/Game.h"
#include "shell/GameWindow.h"
#include "shell/Sound.h"
#include "shell/Transition.h"
#include "support/GameGlobals.h"
#include "support/TestFiles.h"

namespace fs = std::filesystem;

namespace replay {
namespace {

constexpr const char* kMagic = "emberhaunt-replay";

bool fail(std::string* error, int line, const std::string& what) {
    if (error) *error = "line " + std::to_string(line) + ": " + what;
    return false;
}

bool toNumber(const std::string& word, uint64_t* out) {
    if (word.empty() || word.size() > 19) return false;
    uint64_t v = 0;
    for (char c : word) {
        if (c < '0' || c > '9') return false;
        v = v * 10 + uint64_t(c - '0');
    }
    *out = v;
    return true;
}

bool toClock(const std::string& word, uint32_t* out) {
    uint64_t v = 0;
    if (!toNumber(word, &v) || v > UINT32_MAX) return false;
    *out = uint32_t(v);
    return true;
}

// One event line: pass, clock, then "+code", "-code" and at most one ">ms".
bool parseEvent(std::istringstream& words, const std::string& first, Event* e, std::string* why) {
    std::string word;
    if (!toNumber(first, &e->pass) || !(words >> word) || !toClock(word, &e->clock)) {
        *why = "expected a pass and a clock";
        return false;
    }
    while (words >> word) {
        uint64_t v = 0;
        if (word[0] == '>') {
            if (e->leap != 0 || !toNumber(word.substr(1), &v) || v == 0 || v > UINT32_MAX) {
                *why = "bad clock leap '" + word + "'";
                return false;
            }
            e->leap = uint32_t(v);
        } else if (word[0] == '+' || word[0] == '-') {
            if (!toNumber(word.substr(1), &v) || v < 1 || v > 255) {
                *why = "bad key '" + word + "'";
                return false;
            }
            e->keys.push_back({int(v), word[0] == '+'});
        } else {
            *why = "unknown item '" + word + "'";
            return false;
        }
    }
    if (e->keys.empty() && e->leap == 0) {
        *why = "an event line with nothing in it";
        return false;
    }
    return true;
}


// FNV-1a, 64 bits: the same on every system.
struct Hash {
    uint64_t value = 14695981039346656037ull;
    void add(uint32_t word) {
        for (int i = 0; i < 4; ++i) {
            value ^= (word >> (8 * i)) & 0xFF;
            value *= 1099511628211ull;
        }
    }
    std::string text() const {
        char buf[24];
        std::snprintf(buf, sizeof buf, "%016llx", static_cast<unsigned long long>(value));
        return buf;
    }
};

const char* resultName(int state) {
    switch (state) {
    case kLevelRunning: return "none";
    case kLevelDraw: return "draw";
    case kLevelWon: return "won";
    case kLevelLifeLost: return "life lost";
    default: return "unknown";
    }
}

Game* tickTarget = nullptr;
void tick() {
    if (tickTarget) tickTarget->draw();
}

}  // namespace

bool parse(const std::string& text, Script* out, std::string* error) {
    Script s;
    std::istringstream lines(text);
    std::string line;
    int number = 0;
    // Header keys seen, in order; the header ends at the first event line.
    bool magic = false, passes = false, ended = false;
    bool haveEvent = false;
    while (std::getline(lines, line)) {
        ++number;
        if (const auto hash = line.find('#'); hash != std::string::npos) line.erase(hash);
        std::istringstream words(line);
        std::string key;
        if (!(words >> key)) continue;
        if (ended) return fail(error, number, "text after 'end'");
        if (!magic) {
            std::string version;
            if (key != kMagic || !(words >> version)) return fail(error, number, "not a replay file");
            if (version != std::to_string(kFormatVersion))
                return fail(error, number, "replay format " + version + ", this build reads " +
                                               std::to_string(kFormatVersion));
            magic = true;
            continue;
        }
        if (key == "end") {
            ended = true;
            continue;
        }
        if (key == "title") {
            std::getline(words >> std::ws, s.title);
            continue;
        }
        std::string value;
        if (key == "calendar" || key == "clock" || key == "passes") {
            uint64_t v = 0;
            if (!(words >> value) || !toNumber(value, &v)) return fail(error, number, "bad " + key);
            if (key == "calendar") s.calendar = int64_t(v);
            if (key == "clock" && !toClock(value, &s.clock)) return fail(error, number, "bad clock");
            if (key == "passes") {
                s.passes = v;
                passes = true;
            }
            continue;
        }
        if (key == "input") {
            if (!(words >> value) || (value != "device" && value != "messages"))
                return fail(error, number, "input must be 'device' or 'messages'");
            s.windowMessages = value == "messages";
            continue;
        }
        Event e;
        std::string why;
        if (!parseEvent(words, key, &e, &why)) return fail(error, number, why);
        if (haveEvent && e.pass <= s.events.back().pass)
            return fail(error, number, "events out of pass order");
        haveEvent = true;
        s.events.push_back(e);
    }
    if (!magic) return fail(error, number, "not a replay file");
    if (!passes) return fail(error, number, "no 'passes' line");
    if (!ended) return fail(error, number, "no 'end': the file is cut short");
    if (haveEvent && s.events.back().pass >= s.passes)
        return fail(error, number, "an event after the last pass");
    *out = s;
    return true;
}

std::string format(const Script& s) {
    std::ostringstream out;
    out << kMagic << ' ' << kFormatVersion << '\n';
    if (!s.title.empty()) out << "title " << s.title << '\n';
    out << "calendar " << s.calendar << '\n'
        << "clock " << s.clock << '\n'
        << "input " << (s.windowMessages ? "messages" : "device") << '\n'
        << "passes " << s.passes << '\n'
        << "# pass clock keys (+down -up, DirectInput codes) >clock leap\n";
    for (const Event& e : s.events) {
        out << e.pass << ' ' << e.clock;
        for (const KeyChange& k : e.keys) out << ' ' << (k.down ? '+' : '-') << k.code;
        if (e.leap) out << " >" << e.leap;
        out << '\n';
    }
    out << "end\n";
    return out.str();
}

GameFiles builtGame() {
    return {EMBERHAUNT_BIN_DIR, std::string(EMBERHAUNT_SOURCE_DIR) + "/data/config.cfg"};
}

struct Session::Impl {
    testsupport::TempDir dir;
    std::string oldCwd;
    std::unique_ptr<Game> game;
};

Session::Session(const GameFiles& files, int64_t calendar, uint32_t clock, bool windowMessages)
    : impl(std::make_unique<Impl>()) {
    plat::init(plat::Backend::Headless);
    plat::headless::reset();
    plat::headless::setCalendarSeconds(calendar);
    plat::headless::setTicks(clock);
    // Without an input system the game falls back to window messages.
    if (windowMessages) plat::headless::failKeyboardStep("system");
    testsupport::resetGameGlobals();

    // The game folder: the shipped config.cfg (the game rewrites it), the
    // build's filepaths.cfg and assets; also the working folder for the logs.
    const fs::path bin = files.binDir;
    fs::copy_file(files.configFile, impl->dir.file("config.cfg"));
    fs::copy_file(bin / "filepaths.cfg", impl->dir.file("filepaths.cfg"));
    fs::create_directory_symlink(bin / "assets", impl->dir.file("assets"));
    configDirectory = impl->dir.path();
    char cwd[4096];
    if (getcwd(cwd, sizeof cwd)) impl->oldCwd = cwd;
    if (chdir(impl->dir.path().c_str()) != 0) throw CException("cannot enter the run's folder");

    impl->game = std::make_unique<Game>();
    tickTarget = impl->game.get();
    impl->game->init(tick);
}

Session::~Session() {
    tickTarget = nullptr;
    if (impl->game) impl->game->level.cleanup();
    impl->game.reset();
    checkerBitmap.release();
    testsupport::resetGameGlobals();
    if (!impl->oldCwd.empty()) (void)chdir(impl->oldCwd.c_str());
    plat::headless::reset();
    plat::shutdown();
}

Game& Session::game() { return *impl->game; }

void Session::key(int code, bool down) {
    if (down)
        plat::headless::pressKey(code);
    else
        plat::headless::releaseKey(code);
}

void Session::leap(uint32_t ms) { plat::headless::advance(ms); }

bool Session::pass() {
    Game& g = *impl->game;
    if (g.hasQuit()) return false;
    ++passCount;
    plat::Message msg;
    if (plat::peekMessage(&msg)) {
        if (msg.type == plat::MsgType::Quit)
            g.quit();
        else
            plat::dispatchMessage(msg);
    }
    g.update();
    return true;
}

std::string Session::digest() {
    Game& g = *impl->game;
    Level& level = g.level;
    std::ostringstream out;
    out << "passes " << passCount << '\n' << "clock " << plat::tickCount() << '\n';
    out << "game " << (g.state == kStatePlaying ? "playing" : g.state == kStateMenu ? "menu" : "starting")
        << (g.paused ? " paused" : "") << ", page " << g.menu.page << '\n';
    out << "stage " << level.stageNumber << ", difficulty " << level.difficulty << ", players "
        << level.getNumPlayers() << '\n';
    out << "result " << resultName(level.state) << (level.isLevelOver() ? ", finished" : "") << '\n';
    out << "lives " << level.lives << ", seconds left " << level.secondsLeft << '\n';
    for (const Player& p : level.players) {
        out << "player " << p.getNumber() << ": health " << p.health << ", cell " << p.getCol() << ','
            << p.getRow() << (p.isDead() ? ", dead" : "") << '\n';
    }
    int alive = 0;
    for (const Enemy& e : level.enemies) alive += e.active ? 1 : 0;
    out << "enemies alive " << alive << " of " << level.enemies.size() << '\n';

    Hash grid;
    const TileGrid& t = level.grid;
    grid.add(uint32_t(t.getWidth()));
    grid.add(uint32_t(t.getHeight()));
    for (int l = 0; l < layer::kCount; ++l)
        for (int r = 0; r < t.getHeight(); ++r)
            for (int c = 0; c < t.getWidth(); ++c) grid.add(uint32_t(t.getTile(l, c, r)));
    out << "grid " << grid.text() << '\n';

    Hash frame;
    if (const plat::Surface* s = plat::windowSurface()) {
        frame.add(uint32_t(s->width()));
        frame.add(uint32_t(s->height()));
        for (int y = 0; y < s->height(); ++y)
            for (int x = 0; x < s->width(); ++x) frame.add(s->pixel(x, y));
    }
    out << "frame " << frame.text() << '\n';
    return out.str();
}

bool play(const Script& script, const GameFiles& files, std::string* digest, std::string* error) {
    try {
        Session run(files, script.calendar, script.clock, script.windowMessages);
        std::size_t next = 0;
        for (uint64_t p = 0; p < script.passes; ++p) {
            if (next < script.events.size() && script.events[next].pass == p) {
                const Event& e = script.events[next++];
                for (const KeyChange& k : e.keys) run.key(k.code, k.down);
                run.leap(e.leap);
                if (plat::tickCount() != e.clock) {
                    if (error)
                        *error = "pass " + std::to_string(p) + ": the clock reads " +
                                 std::to_string(plat::tickCount()) + " ms, the recording " +
                                 std::to_string(e.clock) + " ms";
                    return false;
                }
            }
            if (!run.pass()) break;
        }
        if (digest) *digest = run.digest();
        return true;
    } catch (...) {
        return runFailed(error);
    }
}

bool runFailed(std::string* error) {
    try {
        throw;
    } catch (const CException& e) {
        if (error) *error = std::string("the game did not start: ") + e.getMessage();
    } catch (const std::exception& e) {
        // The game's folder could not be laid out (no built game, a full disk).
        if (error) *error = e.what();
    }
    return false;
}

}  // namespace replay
