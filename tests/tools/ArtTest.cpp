// The generated pictures and filepaths.cfg: every section the game loads is
// there, every frame file loads and is large enough, the animation keys are
// usable, the font fits the longest lines, the HUD's counts stand clear of
// their icons and of the bomb's spark, floor details are no brighter than
// their floor, no frame line crosses the credits, sprites keep the
// transparent key clean, and a second run writes the same bytes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "platform/SdlIcon.h"
#include "platform/Surface.h"
#include "support/TestFiles.h"

namespace {

const std::string kBin = EMBERHAUNT_BIN_DIR;
const std::string kGenerator = std::string(EMBERHAUNT_BIN_DIR) + "/../tools/emberhaunt_art";

std::string lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

std::string trim(const std::string& s) {
    size_t a = s.find_first_not_of(" \t\r"), b = s.find_last_not_of(" \t\r");
    return a == std::string::npos ? "" : s.substr(a, b - a + 1);
}

// filepaths.cfg as written: sections in file order, keys by lower-case name.
struct Section {
    std::string name;
    std::map<std::string, std::string> keys;
    bool has(const std::string& k) const { return keys.count(lower(k)) > 0; }
    int number(const std::string& k) const { return has(k) ? std::atoi(keys.at(lower(k)).c_str()) : -1; }
};

struct FilePaths {
    std::vector<Section> sections;
    const Section* find(const std::string& name) const {
        for (const Section& s : sections)
            if (lower(s.name) == lower(name)) return &s;
        return nullptr;
    }
};

FilePaths parse(const std::string& text) {
    FilePaths fp;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        line = trim(line);
        if (line.empty() || line[0] == ';' || line[0] == '#') continue;
        if (line.front() == '[' && line.back() == ']') {
            fp.sections.push_back({line.substr(1, line.size() - 2), {}});
            continue;
        }
        size_t eq = line.find('=');
        if (eq == std::string::npos || fp.sections.empty()) continue;
        fp.sections.back().keys[lower(trim(line.substr(0, eq)))] = trim(line.substr(eq + 1));
    }
    return fp;
}

const std::vector<std::string> kDirs = {"right", "left", "up", "down"};

// Every section the game asks for, spelt as it asks.
std::vector<std::string> requiredSections() {
    std::vector<std::string> s = {
        "checker", "fontsmall", "menuCursor", "menuTitle", "messageready", "messagego", "life", "timer",
        "enemyhealthbarBack", "enemyhealthbarTop",
        "introLevel1", "introLevel2", "introLevel3", "introLevel4", "introLevel5", "introTutorialLevel",
        "romanintroVS", "desertintroVS", "futureintroVS", "ninjaintroVS", "iceintroVS", "chineseintroVS",
        "backLevel1", "backLevel2", "backLevel3", "backLevel4", "backLevel5", "backTutorialLevel",
        "menubackground", "helpbackground", "pausebackground", "gameintro",
        "bombpowerup", "explosionpowerup", "dynamitepowerup", "missilepowerup", "homingmissilepowerup",
        "kickpowerup", "healthpowerup", "hammerpowerup", "bomb", "dynamite", "dust", "ninjaDust", "ninjaDust2",
        "explosioncentre", "explosionhorizontal", "explosionvertical", "explosiontipright", "explosiontipleft",
        "explosiontipup", "explosiontipdown", "missileExplosionAnimation",
        "playerdeath", "player2death", "player3death", "player4death", "enemydeath", "enemy1death", "enemy2death",
        "enemy3death", "enemy4death", "enemy5death", "Enemy5Headdeath", "Enemy5Bodydeath", "Enemy5Taildeath",
        "breakableblocktutoriallevel", "breakableblockLevel1", "breakableblocklevel2", "breakableblockLevel3",
        "breakableblockLevel4", "breakableblockLevel5", "breakableblockarena1", "breakableblockArena4",
    };
    for (int n = 1; n <= 4; ++n) {
        s.push_back("healthbarback" + std::to_string(n));
        s.push_back("healthbartop" + std::to_string(n));
    }
    for (const std::string& d : kDirs)
        for (const char* set : {"missile", "homingmissile", "enemyMissile", "enemyMissile3"}) s.push_back(set + d);
    for (const char* d : {"Right", "left", "up", "down"}) {
        s.push_back(std::string("enemyMissileDust") + d);
        s.push_back(std::string("enemyMissile3Dust") + d);
    }
    for (const char* who : {"player", "player2", "player3", "player4", "enemy", "enemy1", "enemy2", "enemy3", "enemy4",
                            "enemy5", "enemy5Head", "enemy5Body", "enemy5Tail"})
        for (const std::string& d : kDirs) {
            s.push_back(who + d);
            s.push_back(std::string(who) + "hit" + d);
        }
    // the standard layout, once per stage suffix
    for (const char* sfx : {"level1", "level2", "Level4", "Level5", "Arena4"}) {
        for (const char* t : {"solidblock", "floortile", "floordetail1", "floordetail2", "floordetail3", "floordetail4",
                              "edgetop", "edgeleft", "edgeright", "edgecornerleft", "edgecornerright", "edgebottom",
                              "edgecornerbottomleft", "edgecornerbottomright"})
            s.push_back(std::string(t) + sfx);
    }
    // the walled layout: inner codes with one suffix, the border with another
    for (auto [inner, border] : {std::pair<const char*, const char*>{"tutoriallevel", "tutoriallevel"}, {"arena1", "Arena1"}}) {
        for (const char* t : {"solidblock", "floortile", "floordetail1", "floordetail2", "floordetail3", "floordetail4",
                              "solidblock2"})
            s.push_back(std::string(t) + inner);
        for (const char* t : {"edgeCornerLeft", "edgeCornerRight", "edgeCornerBottomLeft", "edgeCornerBottomRight",
                              "edgeTop", "edgeRight", "edgeLeft", "edgeBottom"})
            s.push_back(std::string(t) + border);
    }
    // the pillar layout
    for (const char* t : {"solidblock", "floortile", "edgeCornerLeft", "edgeCornerRight", "edgeCornerBottomLeft",
                          "edgeCornerBottomRight", "edgeTop", "edgeRight", "edgeLeft", "edgeBottom"})
        s.push_back(std::string(t) + "level3");
    for (int k = 1; k <= 7; ++k) s.push_back("floordetail" + std::to_string(k) + "level3");
    for (const char* corner : {"TopLeft", "TopRight", "BottomLeft", "BottomRight"}) {
        std::string side = std::string(corner).find("Left") != std::string::npos ? "Left" : "Right";
        std::string end = std::string(corner).rfind("Top", 0) == 0 ? "Top" : "Bottom";
        for (const std::string& along : {side, end})
            for (int k = 1; k <= 2; ++k) s.push_back("edge" + std::string(corner) + "Corner" + along + std::to_string(k));
    }
    return s;
}

const std::vector<std::string> kSamples = {
    "draw",     "lose",      "win",    "ready",  "start",      "gameover",   "hurry",      "block",    "bombDrop",
    "death",    "health",    "kick",   "missile", "powerup",   "hurt",       "explosion",  "robot1",   "hit",
    "enemyDeath", "ninjaShout", "ninjaThrow", "robotHit", "dragonHit", "menu", "menuSelect"};
const std::vector<std::string> kMusic = {"menubgm",   "creditsbgm", "tutorialLevelbgm", "level1bgm",
                                         "level2bgm", "level3bgm",  "level4bgm",        "level5bgm"};

class ArtTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        std::string text = testsupport::readFile(kBin + "/filepaths.cfg");
        loaded_ = !text.empty();
        paths_ = parse(text);
    }
    void SetUp() override {
        ASSERT_TRUE(loaded_) << kBin << "/filepaths.cfg is missing: build the target emberhaunt_art_files first";
    }
    static bool loaded_;
    static FilePaths paths_;
};

bool ArtTest::loaded_ = false;
FilePaths ArtTest::paths_;

TEST_F(ArtTest, EverySectionTheGameLoadsIsPresentAsSpelt) {
    for (const std::string& name : requiredSections()) {
        const Section* s = paths_.find(name);
        ASSERT_NE(s, nullptr) << "missing section [" << name << "]";
        EXPECT_EQ(s->name, name) << "spelt differently";
    }
    // and no section is written twice (the first would hide the second)
    std::map<std::string, int> seen;
    for (const Section& s : paths_.sections) EXPECT_EQ(++seen[lower(s.name)], 1) << "[" << s.name << "] twice";
}

TEST_F(ArtTest, EveryFrameLoadsAndCoversTheSectionSize) {
    int frames = 0;
    for (const Section& s : paths_.sections) {
        if (lower(s.name) == "audio") continue;
        const int count = s.number("frameCount");
        ASSERT_GT(count, 0) << "[" << s.name << "] frameCount";
        EXPECT_FALSE(s.has("frame" + std::to_string(count + 1))) << "[" << s.name << "] has a frame past frameCount";
        const int w = s.number("width"), h = s.number("height");
        EXPECT_GT(w, 0) << "[" << s.name << "] width";
        EXPECT_GT(h, 0) << "[" << s.name << "] height";
        for (int i = 1; i <= count; ++i) {
            const std::string key = "frame" + std::to_string(i);
            ASSERT_TRUE(s.has(key)) << "[" << s.name << "] " << key;
            const std::string file = s.keys.at(key);
            EXPECT_NE(file.front(), '/') << "[" << s.name << "] paths are relative to filepaths.cfg";
            EXPECT_EQ(file.find('\\'), std::string::npos) << file;
            std::string error;
            auto img = plat::Surface::loadBmp(kBin + "/" + file, &error);
            ASSERT_TRUE(img) << "[" << s.name << "] " << file << ": " << error;
            EXPECT_GE(img->width(), w) << file;
            EXPECT_GE(img->height(), h) << file;
            ++frames;
        }
    }
    EXPECT_GT(frames, 500);
}

TEST_F(ArtTest, DrawnPixelsStayClearOfTheKeyColour) {
    // A colour close to pure green but not it would show as a green fringe
    // instead of being transparent.
    for (const Section& s : paths_.sections) {
        if (lower(s.name) == "audio") continue;
        for (int i = 1; i <= s.number("frameCount"); ++i) {
            const std::string file = s.keys.at("frame" + std::to_string(i));
            auto img = plat::Surface::loadBmp(kBin + "/" + file);
            ASSERT_TRUE(img) << file;
            int bad = 0;
            for (int y = 0; y < img->height(); ++y)
                for (int x = 0; x < img->width(); ++x) {
                    uint32_t c = img->pixel(x, y);
                    int r = int(c >> 16) & 255, g = int(c >> 8) & 255, b = int(c) & 255;
                    if (c != plat::kKeyColour && g >= 200 && r <= 60 && b <= 60) ++bad;
                }
            EXPECT_EQ(bad, 0) << file << " has near-key pixels";
        }
    }
    // Screens, the checker and the map tiles cover what lies under them (on
    // some maps nothing but the background lies there), so they are opaque.
    int opaque = 0;
    for (const Section& s : paths_.sections) {
        const std::string n = lower(s.name);
        bool tile = n.rfind("floortile", 0) == 0 || n.rfind("floordetail", 0) == 0 || n.rfind("solidblock", 0) == 0 ||
                    n.rfind("edge", 0) == 0;
        bool screen = s.number("width") == 640 || n == "pausebackground" || n == "checker";
        if (!tile && !screen) continue;
        auto img = plat::Surface::loadBmp(kBin + "/" + s.keys.at("frame1"));
        ASSERT_TRUE(img) << s.name;
        for (int y = 0; y < img->height(); ++y)
            for (int x = 0; x < img->width(); ++x)
                ASSERT_NE(img->pixel(x, y), plat::kKeyColour) << s.name << " is transparent at " << x << "," << y;
        ++opaque;
    }
    EXPECT_GT(opaque, 150);
}

TEST_F(ArtTest, AnimationKeysAreUsable) {
    auto frameCount = [&](const std::string& name) {
        const Section* s = paths_.find(name);
        return s ? s->number("frameCount") : -1;
    };
    auto speed = [&](const std::string& name, const char* key) {
        const Section* s = paths_.find(name);
        return s ? s->number(key) : -1;
    };
    for (const char* who : {"player", "player2", "player3", "player4", "enemy", "enemy1", "enemy2", "enemy3", "enemy4",
                            "enemy5", "enemy5Head", "enemy5Body", "enemy5Tail"}) {
        const std::string w = who;
        EXPECT_GT(speed(w + "down", "animationSpeed"), 0) << w;
        // a figure turning keeps its frame index, and its hit overlay shows
        // the walk's current frame, so all these sets match in length
        const int n = frameCount(w + "down");
        for (const std::string& d : kDirs) {
            EXPECT_EQ(frameCount(w + d), n) << w + d;
            EXPECT_GE(frameCount(w + "hit" + d), n) << w + "hit" + d;
        }
    }
    // the sets whose last walk frame is the standing pose need another to walk on
    EXPECT_GE(frameCount("enemy2down"), 2);
    EXPECT_GE(frameCount("enemy3down"), 2);
    for (const char* who : {"enemy1", "enemy4", "enemy5", "enemy5Head", "enemy5Body", "enemy5Tail"}) {
        const int still = speed(std::string(who) + "down", "stillFrameIndex");
        EXPECT_GE(still, 0) << who;
        EXPECT_LT(still, frameCount(std::string(who) + "down")) << who;
    }
    for (const char* death : {"enemydeath", "enemy1death", "enemy2death", "enemy3death", "enemy4death", "enemy5death",
                              "Enemy5Headdeath", "Enemy5Bodydeath", "Enemy5Taildeath"})
        EXPECT_GT(speed(death, "animationSpeed"), 0) << death;
    for (const char* s : {"enemyMissileDustRight", "enemyMissile3right", "enemyMissile3DustRight"})
        EXPECT_GT(speed(s, "animationSpeed"), 0) << s;
    EXPECT_GT(speed("ninjaDust", "animSpeed"), 0);
    EXPECT_GT(speed("ninjaDust2", "animSpeed"), 0);
    // pieces of one explosion burn for the same time, so they share a length
    for (const char* piece : {"explosionhorizontal", "explosionvertical", "explosiontipright", "explosiontipleft",
                              "explosiontipup", "explosiontipdown"})
        EXPECT_EQ(frameCount(piece), frameCount("explosioncentre")) << piece;
}

TEST_F(ArtTest, FontAndScreenPiecesFitWhereTheGameDrawsThem) {
    const Section* font = paths_.find("fontsmall");
    ASSERT_NE(font, nullptr);
    const int cw = font->number("charWidth"), ch = font->number("charHeight");
    ASSERT_GT(cw, 3);
    EXPECT_GE(font->number("width"), 42 * cw);
    EXPECT_GE(font->number("height"), ch);
    // Lines advance charWidth - 3 per character; the longest hint starts at
    // x 10 and the longest help line at x 20, and both must end on screen.
    auto right = [&](int x, const std::string& line) { return x + int(line.size() - 1) * (cw - 3) + cw; };
    EXPECT_LE(right(10, "USE THE SECONDARY KEY TO PLACE A BLOCK WITH THE HAMMER POWERUP"), 640);
    EXPECT_LE(right(10, "STAND IN FRONT OF A BLOCK AND PRESS THE SECONDARY KEY TO DO SO"), 640);
    EXPECT_LE(right(20, "   RED MISSILE: PRESS SECONDARY KEY TO FIRE HOMING MISSILE"), 640);
    EXPECT_LE(right(20, "SECONDARY     :  CONTROL         Q        I       NUM DEL"), 640);

    const Section* checker = paths_.find("checker");
    ASSERT_NE(checker, nullptr);
    EXPECT_EQ(checker->number("width"), checker->number("height")) << "transition cells are square";
    const Section* pause = paths_.find("pausebackground");
    ASSERT_NE(pause, nullptr);
    EXPECT_GE(pause->number("width"), 110);
    EXPECT_GE(pause->number("height"), 58);
    const Section* title = paths_.find("menuTitle");
    ASSERT_NE(title, nullptr);
    ASSERT_TRUE(title->has("xpos") && title->has("ypos"));
    EXPECT_LE(title->number("xpos") + title->number("width"), 640);
    EXPECT_LE(title->number("ypos") + title->number("height"), 290) << "the title would cover the menu items";
    for (int n = 1; n <= 4; ++n) {
        const Section* back = paths_.find("healthbarback" + std::to_string(n));
        const Section* top = paths_.find("healthbartop" + std::to_string(n));
        ASSERT_TRUE(back && top);
        // the top is drawn at the back's size
        EXPECT_GE(top->number("width"), back->number("width"));
        EXPECT_GE(top->number("height"), back->number("height"));
    }
}

TEST_F(ArtTest, EverySoundIsMapped) {
    const Section* audio = paths_.find("audio");
    ASSERT_NE(audio, nullptr);
    for (const std::string& name : kSamples) {
        ASSERT_TRUE(audio->has(name)) << name;
        EXPECT_EQ(audio->keys.at(lower(name)), "assets/sfx/" + name + ".wav");
    }
    for (const std::string& name : kMusic) {
        ASSERT_TRUE(audio->has(name)) << name;
        EXPECT_EQ(audio->keys.at(lower(name)), "assets/music/" + name + ".wav");
    }
}

// Perceived brightness of a colour, 0 to 255.
double luma(uint32_t c) { return 0.299 * ((c >> 16) & 255) + 0.587 * ((c >> 8) & 255) + 0.114 * (c & 255); }

// The frames of one section, loaded.
std::vector<std::unique_ptr<plat::Surface>> framesOf(const FilePaths& fp, const std::string& name) {
    std::vector<std::unique_ptr<plat::Surface>> out;
    const Section* s = fp.find(name);
    if (!s) return out;
    for (int i = 1; i <= s->number("frameCount"); ++i) out.push_back(plat::Surface::loadBmp(kBin + "/" + s->keys.at("frame" + std::to_string(i))));
    return out;
}

// Which pixels of one edge of an image are drawn: column x (vertical edge)
// or row y (horizontal edge).
std::string edgeColumn(const plat::Surface& s, int x) {
    std::string out;
    for (int y = 0; y < s.height(); ++y) out += s.pixel(x, y) == plat::kKeyColour ? '.' : '#';
    return out;
}
std::string edgeRow(const plat::Surface& s, int y) {
    std::string out;
    for (int x = 0; x < s.width(); ++x) out += s.pixel(x, y) == plat::kKeyColour ? '.' : '#';
    return out;
}

TEST_F(ArtTest, ExplosionPiecesJoinIntoOneCross) {
    // Pieces lie in neighbouring cells and burn in step, so on every frame
    // the flame leaving one cell's edge must enter the next cell's edge.
    auto centre = framesOf(paths_, "explosioncentre"), horiz = framesOf(paths_, "explosionhorizontal"),
         vert = framesOf(paths_, "explosionvertical"), right = framesOf(paths_, "explosiontipright"),
         left = framesOf(paths_, "explosiontipleft"), up = framesOf(paths_, "explosiontipup"),
         down = framesOf(paths_, "explosiontipdown");
    ASSERT_FALSE(centre.empty());
    for (size_t f = 0; f < centre.size(); ++f) {
        for (auto* set : {&horiz, &vert, &right, &left, &up, &down}) ASSERT_TRUE(f < set->size() && (*set)[f]);
        ASSERT_TRUE(centre[f]);
        const int e = centre[f]->width() - 1;
        // centre -> arm -> arm -> tip, to the right and to the left
        EXPECT_EQ(edgeColumn(*centre[f], e), edgeColumn(*horiz[f], 0)) << "frame " << f;
        EXPECT_EQ(edgeColumn(*horiz[f], e), edgeColumn(*horiz[f], 0)) << "frame " << f;
        EXPECT_EQ(edgeColumn(*horiz[f], e), edgeColumn(*right[f], 0)) << "frame " << f;
        EXPECT_EQ(edgeColumn(*left[f], e), edgeColumn(*horiz[f], 0)) << "frame " << f;
        EXPECT_EQ(edgeColumn(*left[f], e), edgeColumn(*centre[f], 0)) << "frame " << f;
        // and upward and downward
        EXPECT_EQ(edgeRow(*up[f], e), edgeRow(*centre[f], 0)) << "frame " << f;
        EXPECT_EQ(edgeRow(*vert[f], e), edgeRow(*vert[f], 0)) << "frame " << f;
        EXPECT_EQ(edgeRow(*centre[f], e), edgeRow(*down[f], 0)) << "frame " << f;
        // a tip ends inside its own cell
        EXPECT_EQ(edgeColumn(*right[f], e).find('#'), std::string::npos) << "frame " << f;
        EXPECT_EQ(edgeRow(*down[f], e).find('#'), std::string::npos) << "frame " << f;
        EXPECT_NE(edgeColumn(*centre[f], e).find('#'), std::string::npos) << "frame " << f << " has no arm";
    }
}

TEST_F(ArtTest, FontGlyphsStayInTheirCells) {
    auto strip = framesOf(paths_, "fontsmall");
    ASSERT_EQ(strip.size(), 1u);
    ASSERT_TRUE(strip[0]);
    const Section* font = paths_.find("fontsmall");
    const int cw = font->number("charWidth"), h = strip[0]->height();
    std::map<std::string, int> shapes;
    for (int cell = 0; cell < 42; ++cell) {
        std::string shape;
        int drawn = 0;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < cw; ++x) {
                const uint32_t c = strip[0]->pixel(cell * cw + x, y);
                bool on = c != plat::kKeyColour;
                shape += std::to_string(c) + ",";
                drawn += on;
                // the last three columns overlap the next character
                if (x >= cw - 3) {
                    EXPECT_FALSE(on) << "cell " << cell << " spills at column " << x;
                }
            }
        if (cell == 41) {
            EXPECT_EQ(drawn, 0) << "the blank cell must draw nothing";
            continue;
        }
        EXPECT_GT(drawn, 0) << "cell " << cell << " is empty";
        EXPECT_EQ(++shapes[shape], 1) << "cell " << cell << " looks like another glyph";
    }
}

TEST_F(ArtTest, FiguresAreCutOutAndAnimated) {
    for (const char* who : {"player", "player2", "player3", "player4", "enemy", "enemy1", "enemy2", "enemy3", "enemy4",
                            "enemy5", "enemy5Head", "enemy5Body", "enemy5Tail"}) {
        std::map<std::string, std::string> firstFrames;
        for (const std::string& d : kDirs) {
            auto walk = framesOf(paths_, who + d), hit = framesOf(paths_, std::string(who) + "hit" + d);
            ASSERT_GE(walk.size(), 2u) << who + d;
            std::set<std::string> distinct;
            for (size_t i = 0; i < walk.size(); ++i) {
                ASSERT_TRUE(walk[i] && i < hit.size() && hit[i]) << who + d;
                const plat::Surface& s = *walk[i];
                EXPECT_EQ(s.pixel(0, 0), plat::kKeyColour) << who + d << " is not cut out";
                std::string all;
                for (int y = 0; y < s.height(); ++y)
                    for (int x = 0; x < s.width(); ++x) all += std::to_string(s.pixel(x, y)) + ",";
                distinct.insert(all);
                std::string flash;
                for (int y = 0; y < s.height(); ++y)
                    for (int x = 0; x < s.width(); ++x) flash += std::to_string(hit[i]->pixel(x, y)) + ",";
                EXPECT_NE(flash, all) << who + std::string("hit") + d << " frame " << i << " shows no hit";
                if (i == 0) firstFrames[d] = all;
            }
            EXPECT_GE(distinct.size(), 2u) << who + d << " does not move";
        }
        EXPECT_NE(firstFrames["right"], firstFrames["left"]) << who;
        EXPECT_NE(firstFrames["up"], firstFrames["down"]) << who;
    }
}

TEST_F(ArtTest, CountDigitsStandClearOfTheirIcons) {
    // The HUD writes the bomb count and the bomb power at the very place of
    // the bomb and fire icons, and the missiles left two pixels left of the
    // missile icon it counts for. Counts pass 9 (versus can start at 20, and
    // pick-ups add up), so every one- and two-digit count, laid out as the
    // game lays out text (each character charWidth - 3 right of the one
    // before), must stay off every pixel of its icon in every frame.
    auto strip = framesOf(paths_, "fontsmall");
    ASSERT_EQ(strip.size(), 1u);
    ASSERT_TRUE(strip[0]);
    const int cw = paths_.find("fontsmall")->number("charWidth");
    const int advance = cw - 3;
    auto ink = [&](char digit, int x, int y) {
        const int cell = digit == '0' ? 38 : 29 + (digit - '1');
        return x >= 0 && x < cw && y < strip[0]->height() && strip[0]->pixel(cell * cw + x, y) != plat::kKeyColour;
    };
    const std::vector<std::pair<std::string, int>> icons = {
        {"bombpowerup", 0}, {"explosionpowerup", 0}, {"missilepowerup", -2}, {"homingmissilepowerup", -2}};
    for (const auto& [name, shift] : icons) {
        auto frames = framesOf(paths_, name);
        ASSERT_FALSE(frames.empty()) << name;
        for (size_t f = 0; f < frames.size(); ++f) {
            ASSERT_TRUE(frames[f]) << name;
            const plat::Surface& icon = *frames[f];
            std::string touching;
            for (int count = 0; count <= 99; ++count) {
                const std::string text = std::to_string(count);
                int overlap = 0;
                for (int y = 0; y < icon.height(); ++y)
                    for (int ix = 0; ix < icon.width(); ++ix) {
                        if (icon.pixel(ix, y) == plat::kKeyColour) continue;
                        const int tx = ix - shift;  // the same point in the text's own coordinates
                        for (size_t i = 0; i < text.size(); ++i) overlap += ink(text[i], tx - int(i) * advance, y);
                    }
                if (overlap > 0) touching += " " + text;
            }
            EXPECT_EQ(touching, "") << "counts over " << name << " frame " << f + 1;
        }
    }

    // Between the bomb count and the fire count, which starts on the fire
    // icon 32 pixels on, lies the right of the bomb icon. A spark there, in
    // the digits' rows, reads as a sign between the numbers ("1x1").
    int top = 99, bottom = -1;
    for (char digit : std::string("0123456789"))
        for (int y = 0; y < strip[0]->height(); ++y)
            for (int x = 0; x < cw; ++x)
                if (ink(digit, x, y)) top = std::min(top, y), bottom = std::max(bottom, y);
    ASSERT_LE(top, bottom);
    auto bomb = framesOf(paths_, "bombpowerup");
    for (size_t f = 0; f < bomb.size(); ++f) {
        ASSERT_TRUE(bomb[f]);
        std::string between;
        for (int count = 0; count <= 99; ++count) {
            const std::string text = std::to_string(count);
            int end = 0;  // first column right of the count's ink
            for (int y = top; y <= bottom; ++y)
                for (int x = 0; x < 32; ++x)
                    for (size_t i = 0; i < text.size(); ++i)
                        if (ink(text[i], x - int(i) * advance, y)) end = std::max(end, x + 1);
            int inGap = 0;
            for (int y = top; y <= bottom; ++y)
                for (int x = end; x < bomb[f]->width(); ++x) inGap += bomb[f]->pixel(x, y) != plat::kKeyColour;
            if (inGap > 0) between += " " + text;
        }
        EXPECT_EQ(between, "") << "bombpowerup frame " << f + 1 << " draws between these bomb counts and the fire count";
    }
}

TEST_F(ArtTest, FloorDetailsAreNoBrighterThanTheirFloor) {
    // A floor detail lies flat in its floor's own colours; a marking
    // clearly brighter than anything on the plain floor (a white ring, a
    // white star) is the usual sign of something to pick up.
    auto brightest = [&](const plat::Surface& s) {
        double most = 0;
        for (int y = 0; y < s.height(); ++y)
            for (int x = 0; x < s.width(); ++x) most = std::max(most, luma(s.pixel(x, y)));
        return most;
    };
    int details = 0;
    for (const Section& s : paths_.sections) {
        const std::string n = lower(s.name);
        if (n.rfind("floordetail", 0) != 0) continue;
        const std::string floor = "floortile" + n.substr(std::string("floordetail").size() + 1);
        auto detail = framesOf(paths_, s.name), plain = framesOf(paths_, floor);
        ASSERT_TRUE(!detail.empty() && detail[0] && !plain.empty() && plain[0]) << s.name << " / " << floor;
        EXPECT_LE(brightest(*detail[0]), brightest(*plain[0]) + 6.0) << s.name << " is brighter than " << floor;
        ++details;
    }
    EXPECT_GE(details, 30);
}

TEST_F(ArtTest, NoFrameLineCrossesTheCreditsColumn) {
    // The credits scroll up the whole height of the menu background, their
    // lines starting at x 205 and the longest 39 characters long. A frame
    // line across that column would strike every line through in turn. A
    // line is a thin row that stands out from the rows just above and just
    // below it along most of the column; the scene's own edges are steps,
    // not lines.
    auto back = framesOf(paths_, "menubackground");
    ASSERT_EQ(back.size(), 1u);
    ASSERT_TRUE(back[0]);
    const plat::Surface& img = *back[0];
    const int cw = paths_.find("fontsmall")->number("charWidth");
    const int x0 = 205, x1 = x0 + 38 * (cw - 3) + cw;
    ASSERT_LE(x1, img.width());
    for (int y = 2; y < img.height() - 2; ++y) {
        int standsOut = 0;
        for (int x = x0; x < x1; ++x) {
            const double here = luma(img.pixel(x, y));
            standsOut += std::abs(here - luma(img.pixel(x, y - 2))) > 20 && std::abs(here - luma(img.pixel(x, y + 2))) > 20;
        }
        EXPECT_LT(standsOut, (x1 - x0) / 2) << "a line runs across the credits at y " << y;
    }
}

// Mean colour of the drawn pixels of a picture.
struct Mean {
    double r = 0, g = 0, b = 0;
    int n = 0;
};
Mean meanOf(const plat::Surface& s) {
    Mean m;
    for (int y = 0; y < s.height(); ++y)
        for (int x = 0; x < s.width(); ++x) {
            uint32_t c = s.pixel(x, y);
            if (c == plat::kKeyColour) continue;
            m.r += (c >> 16) & 255, m.g += (c >> 8) & 255, m.b += c & 255, ++m.n;
        }
    if (m.n) m.r /= m.n, m.g /= m.n, m.b /= m.n;
    return m;
}
double distance(const Mean& a, const Mean& b) {
    return std::sqrt((a.r - b.r) * (a.r - b.r) + (a.g - b.g) * (a.g - b.g) + (a.b - b.b) * (a.b - b.b));
}

TEST_F(ArtTest, PicturesThatMustBeToldApartDiffer) {
    // Powerups are read at a glance by their plates, players by their colours.
    const std::vector<std::string> powerups = {"bombpowerup",   "explosionpowerup", "dynamitepowerup",
                                               "missilepowerup", "homingmissilepowerup", "kickpowerup",
                                               "healthpowerup",  "hammerpowerup"};
    const std::vector<std::string> players = {"playerdown", "player2down", "player3down", "player4down"};
    for (const auto* group : {&powerups, &players}) {
        std::vector<Mean> means;
        for (const std::string& name : *group) {
            auto f = framesOf(paths_, name);
            ASSERT_FALSE(f.empty() || !f[0]) << name;
            means.push_back(meanOf(*f[0]));
        }
        for (size_t i = 0; i < means.size(); ++i)
            for (size_t j = i + 1; j < means.size(); ++j)
                EXPECT_GT(distance(means[i], means[j]), 25.0) << (*group)[i] << " and " << (*group)[j] << " look alike";
    }
    // the lit bomb pulses: its frames do not all cover the same area
    std::set<int> areas;
    for (auto& f : framesOf(paths_, "bomb")) {
        ASSERT_TRUE(f);
        areas.insert(meanOf(*f).n);
    }
    EXPECT_GE(areas.size(), 2u);
}

TEST_F(ArtTest, EveryFileIsAnUncompressed24BitBitmap) {
    // 24 bits keep the key colour exact through any loader.
    for (const Section& s : paths_.sections) {
        if (lower(s.name) == "audio") continue;
        for (int i = 1; i <= s.number("frameCount"); ++i) {
            const std::string file = s.keys.at("frame" + std::to_string(i));
            std::ifstream in(kBin + "/" + file, std::ios::binary);
            unsigned char head[34] = {};
            ASSERT_TRUE(in.read(reinterpret_cast<char*>(head), sizeof head)) << file;
            EXPECT_EQ(head[0], 'B');
            EXPECT_EQ(head[1], 'M');
            EXPECT_EQ(head[28] | head[29] << 8, 24) << file;
            EXPECT_EQ(head[30] | head[31] << 8 | head[32] << 16 | head[33] << 24, 0) << file << " is compressed";
        }
    }
}

TEST_F(ArtTest, TheWindowIconIsA32By32IconWithATransparentGround) {
    plat::internal::IconImage icon;
    ASSERT_TRUE(plat::internal::readIconFile(kBin + "/Emberhaunt.ico", &icon));
    ASSERT_EQ(icon.width, 32);
    ASSERT_EQ(icon.height, 32);
    EXPECT_EQ(icon.argb[0] >> 24, 0u) << "the corner shows the desktop";
    EXPECT_EQ(icon.argb[16 * 32 + 14] >> 24, 255u) << "the picture itself is opaque";
}

std::map<std::string, std::string> treeOf(const std::string& dir) {
    std::map<std::string, std::string> out;
    for (const auto& e : std::filesystem::recursive_directory_iterator(dir))
        if (e.is_regular_file())
            out[std::filesystem::relative(e.path(), dir).string()] = testsupport::readFile(e.path().string());
    return out;
}

// One run more, beside the build's own: the two must agree to the byte.
TEST(ArtGenerator, WritesTheSameBytesEveryRun) {
    ASSERT_TRUE(testsupport::fileExists(kGenerator)) << kGenerator << " is missing: build the target emberhaunt_art";
    testsupport::TempDir again;
    const std::string command = "\"" + kGenerator + "\" \"" + again.path() + "/bin\"";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    const auto fresh = treeOf(again.path());
    EXPECT_GT(fresh.size(), 500u);
    EXPECT_TRUE(fresh.count("contact-sheet.bmp")) << "the review sheet lies beside the game's folder";
    EXPECT_TRUE(fresh.count("bin/Emberhaunt.ico"));
    // The build's folder holds the game and its sounds as well: what the
    // generator writes is what must match.
    const std::string built = kBin + "/..";
    for (const auto& [name, bytes] : fresh) {
        ASSERT_TRUE(testsupport::fileExists(built + "/" + name)) << name;
        EXPECT_TRUE(testsupport::readFile(built + "/" + name) == bytes) << name << " differs between runs";
    }
}

TEST(ArtGenerator, FailsClearlyWhenItCannotWrite) {
    ASSERT_TRUE(testsupport::fileExists(kGenerator));
    testsupport::TempDir dir;
    ASSERT_TRUE(testsupport::writeFile(dir.file("plain"), "not a folder"));
    EXPECT_NE(std::system(("\"" + kGenerator + "\" 2> /dev/null").c_str()), 0) << "no folder given";
    EXPECT_NE(std::system(("\"" + kGenerator + "\" \"" + dir.file("plain") + "\" 2> /dev/null").c_str()), 0);
}

}  // namespace
