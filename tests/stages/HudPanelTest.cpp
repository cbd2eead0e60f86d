// The players' HUD on the stage backgrounds: wherever four players' gauges,
// labels, counts and icons fall on a stage, the background under them is
// plain panel, with no frame line or wall pattern running through them.
#include <algorithm>
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
        std::map<uint32_t, int> colours;
        std::vector<std::pair<int, int>> footprint;
        for (int y = 0; y < 480; ++y)
            for (int x = 0; x < 640; ++x) {
                bool near = false;
                for (int dy = -1; dy <= 1 && !near; ++dy)
                    for (int dx = -1; dx <= 1 && !near; ++dx)
                        near = x + dx >= 0 && x + dx < 640 && y + dy >= 0 && y + dy < 480 &&
                               hud->pixel(x + dx, y + dy) != plat::kKeyColour;
                if (!near) continue;
                footprint.emplace_back(x, y);
                ++colours[back.pixel(x, y)];
            }
        ASSERT_GT(footprint.size(), 4u * 1000u) << "the HUD drew almost nothing";
        uint32_t panel = 0;
        int most = 0;
        for (const auto& [colour, count] : colours)
            if (count > most) panel = colour, most = count;
        int off = 0;
        for (const auto& [x, y] : footprint)
            if (channelGap(back.pixel(x, y), panel) > 8) {
                if (off++ < 3) ADD_FAILURE() << "the background is not plain under the HUD at " << x << "," << y;
            }
        EXPECT_EQ(off, 0);
        level.cleanup();
    }
}

}  // namespace
