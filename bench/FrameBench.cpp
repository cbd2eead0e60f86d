// What one frame of real play costs: the main loop's passes of input
// handling and one draw tick of the whole game (level, transition, the copy
// to the window), on the headless back end with the built game's files.
// Each is reported beside a plain copy of one 640 x 480 frame
// ("frame_copies": how many such copies the frame costs).
//
// - The busiest frame: four players in ARCTIC and in CHINA, with the most
//   the multiplayer options allow (health 500, 20 bombs of power 20, 100
//   missiles) and a powerup from every block, most of them missiles,
//   played by seeded random keys. A first run finds the frame with the most
//   kinds of things on the field (bombs, explosions, missiles, dust,
//   enemies), then the most things; each iteration replays the run and
//   times that frame alone. Target: under 1 ms and under 20 frame copies.
//
// Frames are timed in the thread's processor time (see BenchGame.h).
// - Ten seconds of play of level 1 (six walkers hunting the player), level 3
//   and level 5 (the dragon and the enemies its blocks release), averaged
//   per frame; and a frame of the main menu.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "menu/Menu.h"
#include "platform/Clock.h"
#include "platform/Headless.h"
#include "platform/Platform.h"
#include "shell/Config.h"
#include "shell/Game.h"
#include "shell/Transition.h"
#include "support/BenchGame.h"

namespace {

constexpr uint32_t kFrameMs = 15;
constexpr uint32_t kPassesPerFrame = 3;
constexpr int kDifficulty = 1;  // EXPERIENCED
// A seed whose runs pick up missiles in both arenas.
constexpr uint32_t kSeed = 3;

Game* ticking = nullptr;
void tick() {
    if (ticking) ticking->draw();
}

// A game started the way the entry point starts it, on a fresh headless
// back end, so that every run from it is the same.
class HeadlessGame {
public:
    explicit HeadlessGame(const bench::GameFolder& folder) {
        plat::init(plat::Backend::Headless);
        plat::headless::reset();
        resetConfig();
        configDirectory = folder.path();
        game = std::make_unique<Game>();
        ticking = game.get();
        game->init(tick);
    }
    ~HeadlessGame() {
        ticking = nullptr;
        game->level.cleanup();
        game.reset();
        plat::headless::reset();
    }
    HeadlessGame(const HeadlessGame&) = delete;
    HeadlessGame& operator=(const HeadlessGame&) = delete;

    // As a menu action starts a stage.
    void startStage(const bench::Stage& stage) {
        game->level.cleanup();
        stage.load(game->level, stage.players, kDifficulty);
        introCoverStarted = false;
        game->state = kStatePlaying;
    }

    // One frame of time: the loop's passes, each after the keys changed,
    // then the draw tick. Returns the seconds spent in the game's code.
    double frame(bench::KeyDriver* keys) {
        double spent = 0;
        for (uint32_t pass = 0; pass < kPassesPerFrame; ++pass) {
            plat::headless::advance(kFrameMs / kPassesPerFrame);
            if (keys) keys->step(plat::tickCount());
            const double t0 = bench::threadSeconds();
            game->update();
            spent += bench::threadSeconds() - t0;
        }
        const double t0 = bench::threadSeconds();
        game->draw();
        spent += bench::threadSeconds() - t0;
        plat::headless::clearAudioLog();  // the recording would only grow
        return spent;
    }

    // The round is on: past the intro, no result yet.
    bool playing() const {
        const Level& l = game->level;
        return game->state == kStatePlaying && l.running && l.state == kLevelRunning && !l.isLevelOver();
    }
    // The round has not ended: the intro and ready phases count.
    bool roundOn() const {
        const Level& l = game->level;
        return game->state == kStatePlaying && l.state == kLevelRunning && !l.isLevelOver();
    }

    std::unique_ptr<Game> game;
};

// Runs frames until the round is on, at most `limitMs` of game time.
bool playUntilPlaying(HeadlessGame& g, bench::KeyDriver* keys, uint32_t limitMs) {
    for (uint32_t t = 0; t < limitMs && !g.playing(); t += kFrameMs) g.frame(keys);
    return g.playing();
}

void setCounters(benchmark::State& state, const bench::FieldCount& n) {
    state.counters["bombs"] = n.bombs;
    state.counters["explosions"] = n.explosions;
    state.counters["missiles"] = n.missiles;
    state.counters["dust"] = n.dust;
    state.counters["enemies"] = n.enemies;
}

void BM_MenuFrame(benchmark::State& state) {
    bench::GameFolder folder;
    HeadlessGame g(folder);
    // Past the title and its opening transition, on the main page.
    g.game->menu.introDone = true;
    g.game->menu.setPage(kPageMain);
    for (int i = 0; i < 200; ++i) g.frame(nullptr);
    double total = 0;
    for (auto _ : state) {
        const double t = g.frame(nullptr);
        state.SetIterationTime(t);
        total += t;
    }
    bench::reportAgainstFrameCopy(state, total / double(state.iterations()));
}
BENCHMARK(BM_MenuFrame)->UseManualTime()->Unit(benchmark::kMicrosecond);

// Ten seconds of play from the go message on, averaged per frame.
void levelFrames(benchmark::State& state, const char* stageName) {
    const bench::Stage& stage = bench::stageNamed(stageName);
    bench::GameFolder folder;
    constexpr int kFrames = 10000 / kFrameMs;
    double total = 0;
    int64_t frames = 0;
    bench::FieldCount most;
    for (auto _ : state) {
        HeadlessGame g(folder);
        g.startStage(stage);
        bench::KeyDriver keys(kSeed, stage.players);
        if (!playUntilPlaying(g, &keys, 10000)) {
            state.SkipWithError("the round did not start");
            return;
        }
        double t = 0;
        int n = 0;
        for (; n < kFrames && g.playing(); ++n) {
            t += g.frame(&keys);
            const bench::FieldCount c = bench::countField(g.game->level);
            if (c.busierThan(most)) most = c;
        }
        state.SetIterationTime(t / n);
        total += t;
        frames += n;
    }
    setCounters(state, most);
    state.counters["frames"] = double(frames) / double(state.iterations());
    bench::reportAgainstFrameCopy(state, total / double(frames));
}
BENCHMARK_CAPTURE(levelFrames, Level1, "Level1")->UseManualTime()->Iterations(3)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(levelFrames, Level3, "Level3")->UseManualTime()->Iterations(3)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(levelFrames, Level5, "Level5")->UseManualTime()->Iterations(3)->Unit(benchmark::kMicrosecond);

// The busiest settings the multiplayer options page allows.
void busiestRules(const bench::GameFolder& folder) {
    folder.setConfig("multiplayer", "maxHealth", "500");
    folder.setConfig("multiplayer", "bombCount", "20");
    folder.setConfig("multiplayer", "bombPower", "20");
    folder.setConfig("multiplayer", "maxMissiles", "100");
    // Every block leaves a powerup, most of them missiles.
    const char* table[][2] = {{"powerupFrequency", "100"}, {"dynamitePowerupBoundary", "0"},
                              {"missilePowerupBoundary", "35"}, {"hmissilePowerupBoundary", "70"},
                              {"kickPowerupBoundary", "70"}, {"bombPowerupBoundary", "80"},
                              {"explosionPowerupBoundary", "90"}, {"healthPowerupBoundary", "100"},
                              {"hammerPowerupBoundary", "100"}};
    for (const auto& entry : table) folder.setConfig("powerup", entry[0], entry[1]);
}

void busiestFrame(benchmark::State& state, const char* stageName) {
    const bench::Stage& stage = bench::stageNamed(stageName);
    bench::GameFolder folder;
    busiestRules(folder);
    constexpr int kRunFrames = 60000 / kFrameMs;

    // The frame after which the field holds the most.
    int busiest = -1;
    bench::FieldCount most;
    {
        HeadlessGame g(folder);
        g.startStage(stage);
        bench::KeyDriver keys(kSeed, stage.players);
        for (int f = 0; f < kRunFrames && g.roundOn(); ++f) {
            g.frame(&keys);
            const bench::FieldCount c = bench::countField(g.game->level);
            if (c.busierThan(most)) {
                most = c;
                busiest = f;
            }
        }
    }
    if (busiest < 0) {
        state.SkipWithError("nothing happened on the field");
        return;
    }
    double total = 0;
    for (auto _ : state) {
        HeadlessGame g(folder);
        g.startStage(stage);
        bench::KeyDriver keys(kSeed, stage.players);
        double t = 0;
        for (int f = 0; f <= busiest; ++f) t = g.frame(&keys);
        const bench::FieldCount c = bench::countField(g.game->level);
        if (c.total() != most.total() || c.busierThan(most) || most.busierThan(c)) {
            state.SkipWithError("the seeded run did not repeat itself");
            return;
        }
        state.SetIterationTime(t);
        total += t;
    }
    setCounters(state, most);
    state.counters["at_second"] = double(busiest + 1) * kFrameMs / 1000.0;
    bench::reportAgainstFrameCopy(state, total / double(state.iterations()));
}
BENCHMARK_CAPTURE(busiestFrame, Arctic, "Arctic")->UseManualTime()->Iterations(10)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(busiestFrame, China, "China")->UseManualTime()->Iterations(10)->Unit(benchmark::kMicrosecond);

}  // namespace
