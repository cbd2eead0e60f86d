// The HUD on the stage backgrounds: wherever four players' gauges, labels,
// counts and icons fall on a stage, the background under them is plain
// panel, with no frame line or wall pattern running through them; and the
// wall under the clock and the lives row is quiet enough to read them on.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "stages/StageFixture.h"

namespace {

using stagetest::StageTest;

struct Stage {
    const char* name;
    std::function<void(Level&)> load;
};

const std::vector<Stage> kStages = {
    {"tutorial", [](Level& l) { l.loadTutorial(4, 1); }},
    {"level 1", [](Level& l) { l.loadLevel1(4, 1); }},
    {"level 2", [](Level& l) { l.loadLevel2(4, 1); }},
    {"level 3", [](Level& l) { l.loadLevel3(4, 1); }},
    {"level 4", [](Level& l) { l.loadLevel4(4, 1); }},
    {"level 5", [](Level& l) { l.loadLevel5(4, 1); }},
    {"DESERT", [](Level& l) { l.loadArenaDesert(4); }},
    {"ROMAN", [](Level& l) { l.loadArenaRoman(4); }},
    {"FUTURE", [](Level& l) { l.loadArenaFuture(4); }},
    {"ARCTIC", [](Level& l) { l.loadArenaArctic(4); }},
    {"NINJA", [](Level& l) { l.loadArenaNinja(4); }},
    {"CHINA", [](Level& l) { l.loadArenaChina(4); }},
};

int channelGap(uint32_t a, uint32_t b) {
    int gap = 0;
    for (int shift : {16, 8, 0}) gap = std::max(gap, std::abs(int((a >> shift) & 255) - int((b >> shift) & 255)));
    return gap;
}

class HudPanelTest : public StageTest {};

// Every pixel drawn on the key-filled `hud`, and a pixel round it.
std::vector<std::pair<int, int>> footprint(const plat::Surface& hud) {
    std::vector<std::pair<int, int>> out;
    for (int y = 0; y < hud.height(); ++y)
        for (int x = 0; x < hud.width(); ++x) {
            bool near = false;
            for (int dy = -1; dy <= 1 && !near; ++dy)
                for (int dx = -1; dx <= 1 && !near; ++dx)
                    near = x + dx >= 0 && x + dx < hud.width() && y + dy >= 0 && y + dy < hud.height() &&
                           hud.pixel(x + dx, y + dy) != plat::kKeyColour;
            if (near) out.emplace_back(x, y);
        }
    return out;
}

TEST_F(HudPanelTest, FourPlayersHudsLieOnPlainPanelOnEveryStage) {
    for (const Stage& stage : kStages) {
        SCOPED_TRACE(stage.name);
        stage.load(level);
        ASSERT_EQ(level.players.size(), 4u);
        ASSERT_TRUE(level.backgroundImage && level.backgroundImage->getImage());
        const plat::Surface& back = *level.backgroundImage->getImage();

        // The widest HUD a player can show: kick and a missile ability held
        // (the other specials exclude the missile), so four icons and all
        // three counts, each at two digits.
        auto hud = plat::Surface::create(640, 480);
        hud->fill(0, 0, 640, 480, plat::kKeyColour);
        for (Player& p : level.players) {
            p.kick = true;
            p.missile = true;
            p.setBombCount(28);
            p.bombPower = 20;
            p.missilesFired = p.maxMissileCount() - 24;
            p.drawHud(*hud);
        }

        // Everything the HUD drew, and a pixel round it, must lie on one
        // plain colour of the background.
        const auto drawn = footprint(*hud);
        ASSERT_GT(drawn.size(), 4u * 1000u) << "the HUD drew almost nothing";
        std::map<uint32_t, int> colours;
        for (const auto& [x, y] : drawn) ++colours[back.pixel(x, y)];
        uint32_t panel = 0;
        int most = 0;
        for (const auto& [colour, count] : colours)
            if (count > most) panel = colour, most = count;
        int off = 0;
        for (const auto& [x, y] : drawn)
            if (channelGap(back.pixel(x, y), panel) > 8) {
                if (off++ < 3) ADD_FAILURE() << "the background is not plain under the HUD at " << x << "," << y;
            }
        EXPECT_EQ(off, 0);
        level.cleanup();
    }
}

TEST_F(HudPanelTest, ClockAndLivesRowStandOnQuietWallOnEveryStage) {
    // The clock and its icon stand on the top-left of the field's border,
    // the lives row on its top-right. Whatever the stage dresses its border
    // with, the wall under them (and a pixel round them) must be plain
    // enough for the digits and hearts to read on: its colours spread by
    // no more than a calm texture's, so no ornament, crest or busy pattern
    // shows there, not even peeking out beside a heart (the corner studs,
    // crests and roof tiles that stood there spread 50 and more).
    auto spread = [](const plat::Surface& ground, const std::vector<std::pair<int, int>>& pixels) {
        double sum[3] = {}, squares[3] = {};
        for (const auto& [x, y] : pixels)
            for (int c = 0; c < 3; ++c) {
                const double v = (ground.pixel(x, y) >> (16 - 8 * c)) & 255;
                sum[c] += v, squares[c] += v * v;
            }
        double variance = 0;
        for (int c = 0; c < 3; ++c) {
            const double mean = sum[c] / pixels.size();
            variance += squares[c] / pixels.size() - mean * mean;
        }
        return std::sqrt(std::max(0.0, variance));
    };
    for (const Stage& stage : kStages) {
        SCOPED_TRACE(stage.name);
        stage.load(level);
        ASSERT_TRUE(level.backgroundImage && level.timerIcon && level.lifeIcon);
        // the field as drawn before any actor: background, then every tile
        auto ground = plat::Surface::create(640, 480);
        level.backgroundImage->draw(*ground);
        for (auto& tiles : level.tileLists)
            for (GridObject& tile : tiles) tile.draw(*ground);

        // The clock at its widest (every digit in each of its places) with
        // its icon, and the four hearts of a fresh game, right to left
        // from x 610 as the lives row draws them.
        auto clock = plat::Surface::create(640, 480), lives = plat::Surface::create(640, 480);
        clock->fill(0, 0, 640, 480, plat::kKeyColour);
        lives->fill(0, 0, 640, 480, plat::kKeyColour);
        for (int d = 0; d <= 9; ++d) {
            level.clockText.setText(std::to_string(d % 6) + ":" + std::to_string(d % 6) + std::to_string(d));
            level.clockText.draw(*clock);
        }
        level.timerIcon->draw(*clock);
        for (int heart = 0; heart < 4; ++heart) {
            level.lifeIcon->x = 610 - 20 * heart;
            level.lifeIcon->y = 0;
            level.lifeIcon->draw(*lives);
        }
        for (const auto& [what, hud] : {std::pair{"clock", clock.get()}, std::pair{"lives row", lives.get()}}) {
            const auto under = footprint(*hud);
            ASSERT_GT(under.size(), 500u) << what;
            EXPECT_LE(spread(*ground, under), 32.0) << "the wall is busy under the " << what;
        }
        level.cleanup();
    }
}

}  // namespace
