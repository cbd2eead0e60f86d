// The long soak (make soak): every stage at every difficulty with one to
// four players, each through both key sources, played by a seeded random
// player in whole sessions of the game on the headless back end: start-up,
// the menu walked by keys into the stage, play with pauses and late frames,
// and out to the menu again, round after round, until each stage has had its
// share of simulated time. Built with the sanitizers, so a read outside an
// array, undefined behaviour or (at the end of each session) a leak stops
// it. After every frame the field is checked as the short soak checks it;
// after every clean-up of a stage, back in the menu, the heap must be where
// it was after the first clean-up that followed a warm-up (each stage shown
// once, see run()), within kHeapTolerance.
//
// One process runs one session (one input mode, a handful of stages);
// scripts/soak.sh runs them all in parallel and prints the table:
//     emberhaunt_soak --sessions            how many sessions there are
//     emberhaunt_soak --session K [--seconds S] [--seed N]
//     emberhaunt_soak --smoke               a short session, for make test
//     emberhaunt_soak --report FILE...      the table from the sessions' output
#include <malloc.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "menu/Menu.h"
#include "platform/Clock.h"
#include "platform/Headless.h"
#include "platform/KeyCodes.h"
#include "shell/CException.h"
#include "shell/Config.h"
#include "shell/Game.h"
#include "support/FieldCheck.h"
#include "support/RandomPlayer.h"
#include "support/Replay.h"

#if defined(__SANITIZE_ADDRESS__)
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#endif

namespace {

// The heap after a clean-up may differ from the first by this much. What
// differs from one clean-up to the next is a few dozen bytes: strings whose
// length follows a number, a vector that grew once (a soak of 700 clean-ups
// saw at most 128 bytes). A stage that keeps anything it should not shows
// far sooner: one 32 x 32 tile image alone is 4 KiB of pixels, and a leak of
// 100 bytes a round passes the mark within ten rounds, where a session has
// twenty to forty.
constexpr long kHeapTolerance = 1024;

constexpr uint32_t kTapDownMs = 100;
constexpr uint32_t kTapUpMs = 400;
constexpr uint32_t kTitleWaitMs = 1000;
constexpr uint32_t kStageStartLimitMs = 10000;
constexpr uint32_t kCreditsWaitMs = 2100;
constexpr uint32_t kMaxLateFrameMs = 500;
// The player's keys change at most this often (the short soak's pace).
constexpr uint32_t kKeyStepMs = 5;
constexpr int kSessionsPerSource = 10;
constexpr uint32_t kDefaultSecondsPerPlay = 45;
// Long enough for the intro, the ready phase and some play.
constexpr uint32_t kWarmUpMs = 5000;

// The arena page's items, in their order.
struct Arena {
    const char* name;
    int stage;
};
const Arena kArenas[] = {{"NINJA", 9}, {"CHINA", 11}, {"ROMAN", 7}, {"DESERT", 6}, {"FUTURE", 8}, {"ARCTIC", 8}};
const char* const kDifficulties[] = {"NOVICE", "EXPERIENCED", "MASTER"};

struct Play {
    int stage = 0;  // 0 the tutorial, 1 to 5 the levels, -1 an arena
    int arena = 0;
    int difficulty = 1;
    int players = 1;
    bool windowMessages = false;

    // Rows of the table: the tutorial and the levels by difficulty, then
    // the arenas.
    int row() const { return stage < 0 ? 18 + arena : stage * 3 + difficulty; }
    std::string label() const { return rowLabel(row()); }

    static constexpr int kRows = 24;
    static std::string rowLabel(int row) {
        if (row >= 18) return std::string("arena ") + kArenas[row - 18].name;
        const int stage = row / 3;
        return (stage == 0 ? std::string("tutorial") : "level " + std::to_string(stage)) + " " +
               kDifficulties[row % 3];
    }
};

// Every stage at every difficulty with every number of players it takes,
// through each key source: 90 plays each.
std::vector<Play> playsOf(bool windowMessages) {
    std::vector<Play> plays;
    for (int stage = 0; stage <= 5; ++stage)
        for (int d = 0; d < 3; ++d)
            for (int p = 1; p <= 4; ++p) plays.push_back({stage, 0, d, p, windowMessages});
    for (int a = 0; a < 6; ++a)
        for (int p = 2; p <= 4; ++p) plays.push_back({-1, a, 1, p, windowMessages});
    return plays;
}

// Each stage once, at the start of a session.
std::vector<Play> warmUpPlays(bool windowMessages) {
    std::vector<Play> plays;
    for (int stage = 0; stage <= 5; ++stage) plays.push_back({stage, 0, 1, 1, windowMessages});
    for (int a = 0; a < 6; ++a) plays.push_back({-1, a, 1, 2, windowMessages});
    return plays;
}

// Session k: one key source, every tenth play of it, so that each session
// goes from stage to stage of every kind.
std::vector<Play> sessionPlays(int k) {
    const std::vector<Play> all = playsOf(k >= kSessionsPerSource);
    std::vector<Play> plays;
    for (std::size_t i = std::size_t(k % kSessionsPerSource); i < all.size(); i += kSessionsPerSource)
        plays.push_back(all[i]);
    return plays;
}

std::size_t heapInUse() {
#if defined(__SANITIZE_ADDRESS__)
    return __sanitizer_get_current_allocated_bytes();
#else
    return mallinfo2().uordblks;
#endif
}

// What one stage (a row of the table) came to. Plain numbers: the session
// must not allocate for its own bookkeeping while it measures the heap.
struct StageStats {
    unsigned players = 0;  // bit n: played by n players
    unsigned sources = 0;  // bit 0: the keyboard device, bit 1: window messages
    uint64_t ms = 0;       // simulated time with the stage on screen
    int rounds = 0;        // set-ups
    int cleanUps = 0;      // returns to the menu
    std::size_t peak = 0;  // heap while it ran
    long ownPeak = 0;      // the same over the heap back in the menu (the table's)
    long lowest = 0;       // heap after its clean-ups, against the session's first
    long highest = 0;
};

class SoakSession {
public:
    // warmUp: the stages shown once before the heap is first measured.
    SoakSession(int index, std::vector<Play> plays, std::vector<Play> warmUp, uint32_t msPerPlay, uint32_t seed)
        : index(index),
          plays(std::move(plays)),
          warmUp(std::move(warmUp)),
          msPerPlay(msPerPlay),
          random(seed * 7919u + uint32_t(index)),
          windowMessages(!this->plays.empty() && this->plays[0].windowMessages),
          session(replay::builtGame(), 1'000'000'000 + int64_t(seed) * 100'003 + index, 0, windowMessages),
          game(session.game()) {}

    // False at the first fault, which `fault` then tells.
    bool run() {
        runFor(kTitleWaitMs);
        // Every stage once, briefly, before the heap is first measured: what
        // a first showing allocates for good (a buffer grown to the largest
        // stage, a drawing copy of an image the menu keeps) is no growth
        // from stage to stage. A soak measured a few hundred bytes of it.
        warmingUp = true;
        for (const Play& play : warmUp) playFor(play, kWarmUpMs);
        warmingUp = false;
        for (const Play& play : plays) playFor(play, msPerPlay);
        current = nullptr;
        return ok();
    }

    void report(std::FILE* out) const {
        for (int row = 0; row < Play::kRows; ++row) {
            const StageStats& s = stats[row];
            if (s.rounds == 0) continue;
            // The stage's own share: its peak over the heap back in the menu.
            const long own = baseline ? long(s.peak) - long(baseline) : 0;
            std::fprintf(out, "stage\t%s\t%u\t%u\t%llu\t%d\t%d\t%zu\t%ld\t%ld\t%ld\n",
                         Play::rowLabel(row).c_str(), s.players, s.sources, (unsigned long long)s.ms, s.rounds,
                         s.cleanUps, s.peak, own, s.lowest, s.highest);
        }
        std::fprintf(out, "session\t%d\t%llu\t%zu\t%d\n", index, (unsigned long long)(plat::tickCount()),
                     baseline, cleanUps);
    }

    std::string fault;

private:
    bool ok() const { return fault.empty(); }

    bool fail(const std::string& what) {
        if (ok()) {
            std::ostringstream s;
            s << "session " << index << ", " << (current ? current->label() : std::string("menu")) << " with "
              << (current ? current->players : 0) << " players through "
              << (windowMessages ? "window messages" : "the keyboard device") << ", round trip " << roundTrips
              << ", at " << plat::tickCount() << " ms: " << what;
            fault = s.str();
        }
        return false;
    }

    int pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); }

    // Round trips from the menu into the stage until it has had its time.
    void playFor(const Play& play, uint32_t ms) {
        current = &play;
        roundTrips = 0;
        playedMs = 0;
        while (ok() && playedMs < ms) {
            if (!startPlay(play) || !playRound(play, ms)) break;
            ++roundTrips;
        }
    }

    // One pass of the main loop, with a late frame now and then, the
    // player's keys, and the checks after every frame drawn.
    void pass() {
        const uint32_t now = plat::tickCount();
        if (player && driving && game.state == kStatePlaying && !game.paused && now - lastKeyStep >= kKeyStepMs) {
            lastKeyStep = now;
            player->step(now);
        }
        session.pass();
        const int frames = plat::headless::presentCount();
        if (frames == lastFrames) return;
        lastFrames = frames;
        onFrame();
        // Now and then the machine stalls and the next frame comes late.
        if (lateFrames && pick(0, 199) == 0) session.leap(uint32_t(pick(50, int(kMaxLateFrameMs))));
    }

    void runFor(uint32_t ms) {
        const uint32_t start = plat::tickCount();
        while (ok() && plat::tickCount() - start < ms) pass();
    }

    template <typename Pred>
    bool runUntil(Pred done, uint32_t limitMs) {
        const uint32_t start = plat::tickCount();
        while (ok() && !done()) {
            if (plat::tickCount() - start > limitMs) return false;
            pass();
        }
        return ok();
    }

    // Menu keys are pressed as a person presses them: down for a moment,
    // then up before the next.
    void tap(int dik) {
        session.key(dik, true);
        runFor(kTapDownMs);
        session.key(dik, false);
        runFor(kTapUpMs);
    }
    void taps(int dik, int count) {
        for (int i = 0; i < count && ok(); ++i) tap(dik);
    }

    void onFrame() {
        const uint32_t now = plat::tickCount();
        const Level& level = game.level;
        const bool loaded = level.library != nullptr;
        if (loaded && (level.library != lastLibrary || level.setUpTick != lastSetUp)) {
            // A new set-up: the menu's start, a retry or the next level.
            lastSetUp = level.setUpTick;
            startSeconds = level.secondsLeft;
            pausedMs = 0;
            ++stageStats().rounds;
        }
        if (loaded && current) {
            StageStats& s = stageStats();
            const uint32_t step = now - lastFrameAt;
            if (game.state == kStatePlaying && step < 10'000) {
                s.ms += step;
                playedMs += step;
            }
            s.peak = std::max(s.peak, heapInUse());
            if (game.state == kStatePlaying) {
                const std::string wrong = fieldFault(level, startSeconds);
                if (!wrong.empty()) fail(wrong);
                // Intro and ready, the clock, the pauses and the longer
                // result delay of a game over; a second for the clock's
                // whole-second steps.
                const uint32_t deadline = Level::kIntroTime + Level::kReadyTime + uint32_t(startSeconds) * 1000 +
                                          pausedMs + Level::kGameOverDelay + 1000 + kMaxLateFrameMs;
                if (now - level.setUpTick > deadline)
                    fail("the round did not end: clock " + std::to_string(level.secondsLeft) + ", state " +
                         std::to_string(level.state));
            }
        }
        lastLibrary = level.library;
        lastFrameAt = now;
        loadedBefore = loadedBefore || loaded;
    }

    // The stage on screen: the level being played, as the progression may
    // have moved on from the one the menu started.
    StageStats& stageStats() {
        Play shown = *current;
        if (shown.stage > 0) {
            shown.stage = game.level.stageNumber;
            shown.difficulty = game.level.difficulty;
        }
        StageStats& s = stats[shown.row()];
        s.players |= 1u << current->players;
        s.sources |= windowMessages ? 2u : 1u;
        return s;
    }

    // Back in the menu after a stage: the heap must be where it was after
    // the first clean-up of the session.
    void cleanUp() {
        loadedBefore = false;
        ++cleanUps;
        // The headless audio back end writes down every call: the test's
        // record, not the game's memory.
        plat::headless::clearAudioLog();
        const std::size_t heap = heapInUse();
        if (warmingUp) return;
        if (baseline == 0) baseline = heap;
        const long delta = long(heap) - long(baseline);
        StageStats& s = stageStats();
        ++s.cleanUps;
        s.lowest = std::min(s.lowest, delta);
        s.highest = std::max(s.highest, delta);
        if (delta > kHeapTolerance || delta < -kHeapTolerance)
            fail("after clean-up " + std::to_string(cleanUps) + " the heap is " + std::to_string(delta) +
                 " bytes off the first (" + std::to_string(heap) + " in use)");
    }

    // From whatever page the last stage left: back to the main menu.
    bool toMainMenu() {
        for (int step = 0; step < 20 && ok(); ++step) {
            if (game.state != kStateMenu) return fail("not in the menu");
            switch (game.menu.page) {
            case kPageMain: return true;
            case kPageTitle:
            case kPageHelp: tap(plat::DIK_RETURN); break;
            case kPageCredits:
                runFor(kCreditsWaitMs);
                tap(plat::DIK_RETURN);
                break;
            default: tap(plat::DIK_ESCAPE); break;
            }
        }
        return fail("no way back to the main menu from page " + std::to_string(game.menu.page));
    }

    // The menu, by keys, into the play's stage.
    bool startPlay(const Play& play) {
        plat::headless::setCalendarSeconds(1'000'000'000 + pick(0, 1'000'000));  // the enemies' seed
        if (!toMainMenu()) return false;
        tap(plat::DIK_RETURN);  // START GAME
        taps(plat::DIK_DOWN, play.players - 1);
        tap(plat::DIK_RETURN);  // n PLAYER
        if (play.players > 1) {
            if (play.stage < 0) tap(plat::DIK_DOWN);  // VS BATTLE, else COOPERATIVE
            tap(plat::DIK_RETURN);
        }
        bool fromStart = false;
        if (play.stage < 0) {
            taps(plat::DIK_DOWN, play.arena);
            tap(plat::DIK_RETURN);
        } else if (play.stage == 0) {
            taps(plat::DIK_DOWN, 2);
            tap(plat::DIK_RETURN);  // TUTORIAL
        } else {
            // Level 1 also from START now and then: four lives, a retry
            // after a lost life, the next level after a cleared one.
            fromStart = play.stage == 1 && roundTrips % 2 == 1;
            if (fromStart) {
                tap(plat::DIK_RETURN);  // START
            } else {
                tap(plat::DIK_DOWN);
                tap(plat::DIK_RETURN);  // PRACTICE
                taps(plat::DIK_DOWN, play.stage - 1);
                tap(plat::DIK_RETURN);  // LEVEL n
            }
            taps(plat::DIK_DOWN, play.difficulty);
            tap(plat::DIK_RETURN);
        }
        if (!runUntil([&] { return game.state == kStatePlaying; }, kStageStartLimitMs))
            return fail("the menu keys led to page " + std::to_string(game.menu.page));
        Level& level = game.level;
        if (play.stage == 0 && play.difficulty != level.difficulty) {
            // The menu offers the tutorial at EXPERIENCED only: the other
            // difficulties are set up as its item sets it up.
            level.cleanup();
            level.loadTutorial(play.players, play.difficulty);
            level.lives = 4;
        }
        const int stage = play.stage < 0 ? kArenas[play.arena].stage : play.stage;
        if (level.stageNumber != stage || level.getNumPlayers() != play.players ||
            (play.stage >= 0 && level.difficulty != play.difficulty))
            return fail("the menu started stage " + std::to_string(level.stageNumber) + " at difficulty " +
                        std::to_string(level.difficulty) + " with " + std::to_string(level.getNumPlayers()) +
                        " players");
        return true;
    }

    // Plays until the game is back in the menu: by the round's end, or by
    // the pause page's EXIT (now and then, and when the play's time is up).
    bool playRound(const Play& play, uint32_t ms) {
        player = std::make_unique<RandomPlayer>(random(), play.players, [this](int code, bool down) {
            const int dik = windowMessages ? plat::dikFromVk(code) : code;
            // Escape is the harness's: a stray one would pause the game.
            if (dik > 0 && dik != plat::DIK_ESCAPE) session.key(dik, down);
        });
        player->watch(game.level);
        driving = true;
        // Every third round nobody drops a bomb: such rounds last, and end
        // by the clock or by the enemies.
        player->calm = roundTrips % 3 == 2;
        lateFrames = true;
        uint32_t nextPause = plat::tickCount() + uint32_t(pick(3000, 20000));
        while (ok() && game.state == kStatePlaying) {
            const Level& level = game.level;
            const bool pausable = level.running && level.state == kLevelRunning && !game.paused;
            if (pausable && (playedMs >= ms || plat::tickCount() >= nextPause)) {
                if (!pauseOnce(playedMs >= ms || pick(0, 3) == 0)) break;
                nextPause = plat::tickCount() + uint32_t(pick(3000, 20000));
                continue;
            }
            pass();
        }
        player->releaseAll();
        player.reset();
        lateFrames = false;
        runFor(kTapUpMs);
        if (!ok()) return false;
        if (game.level.library != nullptr) return fail("back in the menu with the stage still loaded");
        if (loadedBefore) cleanUp();
        return ok();
    }

    // Escape, a while on the pause page, then RESUME or EXIT.
    bool pauseOnce(bool leave) {
        // The player keeps its hands off while the harness works the pause
        // page (the menu waits for every key to be up).
        driving = false;
        player->releaseAll();
        const int secondsBefore = game.level.secondsLeft;
        const uint32_t pausedAt = plat::tickCount();
        tap(plat::DIK_ESCAPE);
        if (!ok()) return false;
        if (!game.paused || game.menu.page != kPagePause) return fail("Escape did not pause");
        runFor(uint32_t(pick(100, 3000)));
        if (leave) {
            tap(plat::DIK_DOWN);
            tap(plat::DIK_RETURN);  // EXIT
            return runUntil([&] { return game.state == kStateMenu; }, kStageStartLimitMs) ||
                   fail("EXIT did not leave the stage");
        }
        tap(plat::DIK_RETURN);  // RESUME
        driving = true;
        if (!ok()) return false;
        if (game.paused) return fail("RESUME did not resume");
        pausedMs += plat::tickCount() - pausedAt;
        if (game.level.state == kLevelRunning && game.level.secondsLeft < secondsBefore - 1)
            return fail("the clock ran on during the pause");
        return true;
    }

    const int index;
    const std::vector<Play> plays;
    const std::vector<Play> warmUp;
    const uint32_t msPerPlay;
    std::mt19937 random;
    const bool windowMessages;
    replay::Session session;
    Game& game;

    const Play* current = nullptr;
    int roundTrips = 0;
    uint32_t playedMs = 0;
    std::unique_ptr<RandomPlayer> player;
    uint32_t lastKeyStep = 0;
    bool driving = false;
    bool lateFrames = false;
    bool warmingUp = false;

    int lastFrames = 0;
    uint32_t lastFrameAt = 0;
    const AnimationLibrary* lastLibrary = nullptr;
    uint32_t lastSetUp = 0;
    int startSeconds = 0;
    uint32_t pausedMs = 0;
    bool loadedBefore = false;

    std::array<StageStats, Play::kRows> stats{};
    std::size_t baseline = 0;
    int cleanUps = 0;
};

int runSession(int k, uint32_t seconds, uint32_t seed, std::size_t playLimit) {
    std::vector<Play> plays = sessionPlays(k);
    std::vector<Play> warmUp = warmUpPlays(plays.front().windowMessages);
    if (plays.size() > playLimit) {
        // A short session warms up only the stages it plays.
        plays.resize(playLimit);
        warmUp = plays;
    }
    const auto wallStart = std::chrono::steady_clock::now();
    std::string fault;
    {
        SoakSession s(k, plays, warmUp, seconds * 1000, seed);
        s.run();
        fault = s.fault;
        s.report(stdout);
    }
    const long wallMs = long(std::chrono::duration_cast<std::chrono::milliseconds>(
                                 std::chrono::steady_clock::now() - wallStart)
                                 .count());
    std::printf("wall\t%d\t%ld\n", k, wallMs);
    if (!fault.empty()) {
        std::printf("FAULT\t%s\n", fault.c_str());
        std::printf("again: emberhaunt_soak --session %d --seconds %u --seed %u\n", k, seconds, seed);
        return 1;
    }
    std::printf("done\t%d\n", k);
    return 0;
}

std::string mib(double bytes) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", bytes / (1024.0 * 1024.0));
    return text;
}

// The sessions' lines, summed by stage, as a table.
int report(int argc, char** argv, int first) {
    std::map<std::string, StageStats> rows;
    uint64_t simulatedMs = 0, stageMs = 0;
    long wallMs = 0;
    int sessions = 0, done = 0, cleanUps = 0;
    for (int i = first; i < argc; ++i) {
        std::ifstream in(argv[i]);
        std::string line;
        while (std::getline(in, line)) {
            std::istringstream f(line);
            std::string kind;
            std::getline(f, kind, '\t');
            if (kind == "stage") {
                std::string label;
                std::getline(f, label, '\t');
                unsigned players = 0, sources = 0;
                uint64_t ms = 0;
                int rounds = 0, cleans = 0;
                std::size_t peak = 0;
                long own = 0, lowest = 0, highest = 0;
                f >> players >> sources >> ms >> rounds >> cleans >> peak >> own >> lowest >> highest;
                StageStats& r = rows[label];
                r.players |= players;
                r.sources |= sources;
                r.ms += ms;
                stageMs += ms;
                r.rounds += rounds;
                r.cleanUps += cleans;
                r.peak = std::max(r.peak, peak);
                r.ownPeak = std::max(r.ownPeak, own);
                r.lowest = std::min(r.lowest, lowest);
                r.highest = std::max(r.highest, highest);
            } else if (kind == "session") {
                std::string k, ms, base, cleans;
                f >> k >> ms >> base >> cleans;
                ++sessions;
                simulatedMs += std::stoull(ms);
                cleanUps += std::stoi(cleans);
            } else if (kind == "wall") {
                std::string k, ms;
                f >> k >> ms;
                wallMs = std::max(wallMs, std::stol(ms));
            } else if (kind == "done") {
                ++done;
            }
        }
    }
    std::printf("| stage | players | key sources | simulated min | rounds | clean-ups | heap in play, peak MiB "
                "(over the menu's) | heap after clean-up, bytes off the first |\n|---|---|---|---|---|---|---|---|\n");
    for (int row = 0; row < Play::kRows; ++row) {
        const std::string label = Play::rowLabel(row);
        if (!rows.count(label)) continue;
        const StageStats& r = rows[label];
        std::string players;
        for (int p = 1; p <= 4; ++p)
            if (r.players & (1u << p)) players += (players.empty() ? "" : ",") + std::to_string(p);
        const std::string sources = r.sources == 3 ? "both" : r.sources == 1 ? "device" : "messages";
        std::printf("| %s | %s | %s | %.1f | %d | %d | %s (+%s) | %+ld .. %+ld |\n", label.c_str(),
                    players.c_str(), sources.c_str(), double(r.ms) / 60000.0, r.rounds, r.cleanUps,
                    mib(double(r.peak)).c_str(), mib(double(r.ownPeak)).c_str(), r.lowest, r.highest);
    }
    std::printf("\n%d sessions (%d finished), %.2f simulated hours in all, %.2f of them in stages; "
                "%d clean-ups; the longest session took %.1f min of wall time\n",
                sessions, done, double(simulatedMs) / 3.6e6, double(stageMs) / 3.6e6, cleanUps,
                double(wallMs) / 60000.0);
    return sessions > 0 && done == sessions ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    int session = -1;
    uint32_t seconds = kDefaultSecondsPerPlay;
    uint32_t seed = 1;
    std::size_t playLimit = SIZE_MAX;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto next = [&]() -> const char* { return i + 1 < argc ? argv[++i] : "0"; };
        if (arg == "--sessions") {
            std::printf("%d\n", 2 * kSessionsPerSource);
            return 0;
        } else if (arg == "--report") {
            return report(argc, argv, i + 1);
        } else if (arg == "--session") {
            session = std::atoi(next());
        } else if (arg == "--seconds") {
            seconds = uint32_t(std::strtoul(next(), nullptr, 10));
        } else if (arg == "--seed") {
            seed = uint32_t(std::strtoul(next(), nullptr, 10));
        } else if (arg == "--smoke") {
            // Two short plays of the last session (window messages, levels
            // and an arena): that the soak still runs.
            session = 2 * kSessionsPerSource - 1;
            seconds = 8;
            playLimit = 2;
        } else {
            std::fprintf(stderr, "unknown argument %s\n", arg.c_str());
            return 2;
        }
    }
    if (session < 0 || session >= 2 * kSessionsPerSource) {
        std::fprintf(stderr, "usage: %s --sessions | --session K [--seconds S] [--seed N] | --smoke | --report FILE...\n",
                     argv[0]);
        return 2;
    }
    try {
        return runSession(session, seconds, seed, playLimit);
    } catch (const CException& e) {
        std::printf("FAULT\tthe game did not start: %s\n", e.getMessage());
    } catch (const std::exception& e) {
        std::printf("FAULT\t%s\n", e.what());
    }
    return 1;
}
