#include "graphics/AnimationLibrary.h"

#include <map>
#include <set>
#include <vector>

#include "GraphicsFixture.h"

using namespace gfxtest;
using plat::headless::setTicks;
using Lib = AnimationLibrary;

namespace {

const char* const kDirections[] = {"right", "left", "up", "down"};

// Every section that some loader reads.
std::vector<std::string> allSections() {
    std::vector<std::string> s = {
        "introLevel1", "introLevel2", "introLevel3", "introLevel4", "introLevel5",
        "introTutorialLevel", "romanintroVS", "desertintroVS", "futureintroVS", "ninjaintroVS",
        "iceintroVS", "chineseintroVS", "backLevel1", "backLevel2", "backLevel3", "backLevel4",
        "backLevel5", "backTutorialLevel", "menubackground", "helpbackground", "pausebackground",
        "gameintro", "menuTitle", "bombpowerup", "explosionpowerup", "dynamitepowerup",
        "missilepowerup", "homingmissilepowerup", "kickpowerup", "healthpowerup",
        "hammerpowerup", "bomb", "dynamite", "dust", "explosioncentre", "explosionhorizontal",
        "explosionvertical", "explosiontipright", "explosiontipleft", "explosiontipup",
        "explosiontipdown", "missileExplosionAnimation", "ninjaDust", "ninjaDust2",
        "enemyMissileDustRight", "enemyMissileDustleft", "enemyMissileDustup",
        "enemyMissileDustdown", "enemyMissile3DustRight", "enemyMissile3Dustleft",
        "enemyMissile3Dustup", "enemyMissile3Dustdown", "enemydeath", "enemy1death",
        "enemy2death", "enemy3death", "enemy4death", "enemy5death", "Enemy5Headdeath",
        "Enemy5Bodydeath", "Enemy5Taildeath", "playerdeath", "player2death", "player3death",
        "player4death"};
    for (const char* p : {"missile", "homingmissile", "enemyMissile", "enemyMissile3"})
        for (const char* d : kDirections) s.push_back(std::string(p) + d);
    for (const char* p : {"enemy", "enemy1", "enemy2", "enemy3", "enemy4", "enemy5", "enemy5Head",
                          "enemy5Body", "enemy5Tail", "player", "player2", "player3", "player4"})
        for (const char* d : kDirections) {
            s.push_back(std::string(p) + d);
            s.push_back(std::string(p) + "hit" + d);
        }
    return s;
}

// Every loader; those of single images last, since only they fail on a
// missing section.
void loadEverything(Lib& lib) {
    lib.loadExplosion();
    lib.loadBomb();
    lib.loadDynamite();
    lib.loadPowerups();
    lib.loadMissile();
    lib.loadHomingMissile();
    lib.loadDust();
    lib.loadPlayer1();
    lib.loadPlayer2();
    lib.loadPlayer3();
    lib.loadPlayer4();
    lib.loadEnemy();
    lib.loadEnemy1();
    lib.loadEnemy2();
    lib.loadEnemyMissile();
    lib.loadEnemyMissile3();
    lib.loadEnemy3();
    lib.loadEnemy4();
    lib.loadEnemy5Head();
    lib.loadEnemy5Body();
    lib.loadEnemy5Tail();
    lib.loadEnemy5();
    lib.loadScreens();
    lib.loadMenuTitle();
    lib.loadLevelBitmap(getFrameFile("menuTitle", 1), 2, 2);
}

// Every animation of the library, arrays of 4 expanded.
std::vector<Animation*> everyAnimation(Lib& lib) {
    std::vector<Animation*> out = {
        lib.bombpowerup, lib.explosionpowerup, lib.dynamitepowerup, lib.missilepowerup,
        lib.homingmissilepowerup, lib.kickpowerup, lib.healthpowerup, lib.hammerpowerup,
        lib.explosioncentre, lib.explosionhorizontal, lib.explosionvertical,
        lib.explosiontipright, lib.explosiontipleft, lib.explosiontipup, lib.explosiontipdown,
        lib.dust, lib.ninjaDust, lib.ninjaDust2, lib.missileExplosionAnimation};
    out.insert(out.end(), std::begin(lib.enemyDeath), std::end(lib.enemyDeath));
    out.insert(out.end(), std::begin(lib.playerDeath), std::end(lib.playerDeath));
    out.insert(out.end(), std::begin(lib.enemyMissileDust), std::end(lib.enemyMissileDust));
    std::vector<Animation*> quads = {lib.bomb, lib.dynamite, lib.missile, lib.homingmissile,
                                     lib.enemyMissile};
    for (auto* group : {&lib.enemyWalk[0], &lib.enemyHit[0]})
        quads.insert(quads.end(), group, group + Lib::EnemySetCount);
    for (auto* group : {&lib.playerWalk[0], &lib.playerHit[0]})
        quads.insert(quads.end(), group, group + Lib::kPlayerCount);
    for (Animation* q : quads)
        for (int d = 0; d < 4; ++d) out.push_back(&q[d]);
    return out;
}

class AnimationLibraryTest : public GraphicsTest {
protected:
    // Every section with one 2 x 2 frame of frameColour(0), all from one file,
    // and a frame time of 100 ms; extra lines per section replace those keys.
    void configureEverything(const std::map<std::string, std::string>& extra = {}) {
        writeBmp(file("one.bmp"), 2, 2, frameColour(0));
        std::string text;
        for (const std::string& s : allSections()) {
            auto found = extra.find(s);
            std::string own = found == extra.end() ? "" : found->second;
            text += "[" + s + "]\n" + own;
            for (std::string line : {"frameCount=1", "width=2", "height=2", "frame1=one.bmp",
                                     "animationSpeed=100"})
                if (own.find(line.substr(0, line.find('=') + 1)) == std::string::npos)
                    text += line + "\n";
        }
        config(text);
    }

    // The walk, hit and death sections of an enemy set, n frames each.
    void addEnemySet(const std::string& name, int n, const std::string& downExtra) {
        for (const char* d : kDirections) {
            addSet(name + d, n, std::string(d) == "down" ? downExtra : "");
            addSet(name + "hit" + d, n);
        }
        addSet(name + "death", 3, "animationSpeed=70\n");
    }
};

TEST_F(AnimationLibraryTest, EnemyWalksStandOnTheirStillFrames) {
    addEnemySet("enemy2", 5, "animationSpeed=40\n");
    addEnemySet("enemy1", 3, "animationSpeed=60\nstillFrameIndex=1\n");
    addEnemySet("enemy", 3, "stillFrameIndex=2\n");
    Lib lib;

    // enemy2 cycles all frames but the last, and stands on the last.
    Animation* walk = lib.loadEnemy2();
    EXPECT_EQ(walk, lib.enemyWalk[Lib::SetEnemy2]);
    for (int d = 0; d < 4; ++d) {
        Animation* hit = &lib.enemyHit[Lib::SetEnemy2][d];
        EXPECT_EQ(hit->getStillFrame(), 4);
        EXPECT_EQ(hit->getFrameCount(), 4);
        EXPECT_EQ(hit->frameTime, 40u);
        Animation enemyCopy(walk[d]);  // as an entity holds it
        EXPECT_EQ(drawnFrame(enemyCopy), 4);
        enemyCopy.play();
        std::vector<int> shown;
        for (uint32_t t = 1000; t < 1400; t += 40) {
            setTicks(t);
            shown.push_back(drawnFrame(enemyCopy));
        }
        EXPECT_EQ(shown, (std::vector<int>{4, 0, 1, 2, 3, 0, 1, 2, 3, 0}));
        enemyCopy.stop();
        EXPECT_EQ(drawnFrame(enemyCopy), 4);
        setTicks(1000);
    }
    Animation* death = lib.enemyDeath[Lib::SetEnemy2];
    EXPECT_FALSE(death->isShared());
    EXPECT_EQ(death->getFrameCount(), 3);
    EXPECT_EQ(death->frameTime, 70u);

    // enemy1's down section names the standing frame of every direction;
    // its hits stand on frame 0.
    walk = lib.loadEnemy1();
    for (int d = 0; d < 4; ++d) {
        EXPECT_EQ(walk[d].getFrameCount(), 3);
        EXPECT_EQ(walk[d].frameTime, 60u);
        EXPECT_EQ(drawnFrame(walk[d]), 1);
        EXPECT_EQ(lib.enemyHit[Lib::SetEnemy1][d].getStillFrame(), 0);
    }
    // The plain enemy stands on frame 0 whatever its down section says.
    walk = lib.loadEnemy();
    for (int d = 0; d < 4; ++d) EXPECT_EQ(walk[d].getStillFrame(), 0);
}

// Every enemy set with its own frame count, standing frame and speed, so a
// set loaded by the wrong rule or from another set's sections shows.
TEST_F(AnimationLibraryTest, EveryEnemySetStandsAndCyclesByItsOwnRule) {
    struct Case {
        const char* name;
        Animation* (Lib::*load)();
        Lib::EnemySet set;
        int frames;          // in each walk and hit section
        int stillIndex;      // stillFrameIndex of the down section
        int walkStill;       // expected
        int cycled;          // expected, walk and hit alike
        int hitStill;        // expected
    };
    const Case cases[] = {
        {"enemy", &Lib::loadEnemy, Lib::SetEnemy, 4, 2, 0, 4, 0},
        {"enemy1", &Lib::loadEnemy1, Lib::SetEnemy1, 5, 3, 3, 5, 0},
        {"enemy2", &Lib::loadEnemy2, Lib::SetEnemy2, 5, 1, 4, 4, 4},
        {"enemy3", &Lib::loadEnemy3, Lib::SetEnemy3, 6, 1, 5, 5, 5},
        {"enemy4", &Lib::loadEnemy4, Lib::SetEnemy4, 3, 2, 2, 3, 0},
        {"enemy5", &Lib::loadEnemy5, Lib::SetEnemy5, 4, 1, 1, 4, 0},
        {"enemy5Head", &Lib::loadEnemy5Head, Lib::SetEnemy5Head, 6, 4, 4, 6, 0},
        {"enemy5Body", &Lib::loadEnemy5Body, Lib::SetEnemy5Body, 3, 1, 1, 3, 0},
        {"enemy5Tail", &Lib::loadEnemy5Tail, Lib::SetEnemy5Tail, 5, 2, 2, 5, 0},
    };
    // Frame i of every section is one file in frameColour(i).
    for (int i = 0; i < 6; ++i)
        writeBmp(file("f" + std::to_string(i) + ".bmp"), 2, 2, frameColour(i));
    std::string text;
    auto section = [&](const std::string& name, int frames, const std::string& extra) {
        text += "[" + name + "]\nframeCount=" + std::to_string(frames) + "\nwidth=2\nheight=2\n";
        for (int i = 0; i < frames; ++i)
            text += "frame" + std::to_string(i + 1) + "=f" + std::to_string(i) + ".bmp\n";
        text += extra;
    };
    int speed = 30;
    for (const Case& c : cases) {
        const std::string name = c.name;
        const std::string down = "animationSpeed=" + std::to_string(speed) +
                                 "\nstillFrameIndex=" + std::to_string(c.stillIndex) + "\n";
        for (const char* d : kDirections) {
            section(name + d, c.frames, std::string(d) == "down" ? down : "");
            section(name + "hit" + d, c.frames, "");
        }
        // The dragon's deaths are written with a capital letter.
        const std::string death =
            name.rfind("enemy5", 0) == 0 && name != "enemy5" ? "E" + name.substr(1) : name;
        section(death + "death", 2, "animationSpeed=" + std::to_string(speed + 1) + "\n");
        speed += 10;
    }
    config(text);
    Lib lib;
    speed = 30;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Animation* walk = (lib.*c.load)();
        ASSERT_EQ(walk, lib.enemyWalk[c.set]);
        for (int d = 0; d < 4; ++d) {
            SCOPED_TRACE(kDirections[d]);
            const Animation& hit = lib.enemyHit[c.set][d];
            EXPECT_EQ(walk[d].getFrameSlots(), c.frames);
            EXPECT_EQ(walk[d].getStillFrame(), c.walkStill);
            EXPECT_EQ(walk[d].getFrameCount(), c.cycled);
            EXPECT_EQ(hit.getFrameSlots(), c.frames);
            EXPECT_EQ(hit.getStillFrame(), c.hitStill);
            EXPECT_EQ(hit.getFrameCount(), c.cycled);
            EXPECT_EQ(walk[d].frameTime, uint32_t(speed));
            EXPECT_EQ(hit.frameTime, uint32_t(speed));
            Animation standing(walk[d]);  // as an enemy holds it
            EXPECT_EQ(drawnFrame(standing), c.walkStill);
        }
        EXPECT_EQ(lib.enemyDeath[c.set]->getFrameCount(), 2);
        EXPECT_EQ(lib.enemyDeath[c.set]->frameTime, uint32_t(speed + 1));
        speed += 10;
    }
}

TEST_F(AnimationLibraryTest, EachSetGetsItsOwnFramesAndFrameTime) {
    configureEverything({{"ninjaDust", "animSpeed=30\n"},
                         {"enemyMissile3right", "animationSpeed=20\n"},
                         {"enemyMissile3DustRight", "animationSpeed=25\n"},
                         {"enemyMissileDustRight", "animationSpeed=35\n"},
                         {"playerdown", "animationSpeed=45\n"}});
    Lib lib;
    Animation* bombs = lib.loadBomb();
    std::set<const Bitmap*> arrays;
    for (int d = 0; d < 4; ++d) arrays.insert(bombs[d].getFrames());
    EXPECT_EQ(arrays.size(), 4u) << "four arrays, each loaded from \"bomb\"";

    lib.loadEnemyMissile();
    EXPECT_EQ(lib.enemyMissile[0].frameTime, 100u);
    for (Animation* a : lib.enemyMissileDust) EXPECT_EQ(a->frameTime, 35u);
    lib.loadEnemyMissile3();  // the same fields from other sections
    for (int d = 0; d < 4; ++d) EXPECT_EQ(lib.enemyMissile[d].frameTime, 20u);
    for (Animation* a : lib.enemyMissileDust) EXPECT_EQ(a->frameTime, 25u);

    lib.loadEnemy3();
    EXPECT_EQ(lib.ninjaDust->frameTime, 30u);
    EXPECT_EQ(lib.ninjaDust2->frameTime, 4294967295u) << "no animSpeed key";

    lib.loadPlayer1();
    for (int d = 0; d < 4; ++d) {
        EXPECT_EQ(lib.playerWalk[0][d].frameTime, 45u);
        EXPECT_EQ(lib.playerHit[0][d].frameTime, 45u);
    }
    EXPECT_FALSE(lib.playerDeath[0]->isShared());
    EXPECT_EQ(lib.playerDeath[0]->frameTime, 100u);
}

TEST_F(AnimationLibraryTest, ReleaseFreesEverythingTheLoadersFilled) {
    configureEverything();
    Lib menu;  // the menu's library: screens and title only
    menu.loadScreens();
    EXPECT_EQ(menu.loadMenuTitle(), menu.menuTitle);
    EXPECT_EQ(menu.loadedCount(), 23);
    menu.release();
    EXPECT_EQ(menu.loadedCount(), 0);

    Lib lib;
    loadEverything(lib);
    EXPECT_EQ(lib.loadedCount(), Lib::kFieldCount);
    for (Animation* a : everyAnimation(lib)) {
        Animation copy(*a);
        copy.play();
        EXPECT_EQ(drawnFrame(copy), 0);
    }
    lib.loadBomb();  // loading again replaces a set without leaking it
    lib.loadPlayer1();
    lib.loadScreens();
    lib.release();
    EXPECT_EQ(lib.loadedCount(), 0);
    lib.release();
}

TEST_F(AnimationLibraryTest, MissingSectionsGiveAnimationsThatDrawNothing) {
    config("[unrelated]\nframeCount=1\n");
    Lib lib;
    // Only the single images fail: their file name is "00".
    EXPECT_EQ(thrownMessage([&] { loadEverything(lib); }), "Error loading bitmap! ");
    EXPECT_EQ(lib.loadedCount(), Lib::kFieldCount - 24 + 1);
    for (Animation* a : everyAnimation(lib)) {
        EXPECT_EQ(a->getFrameCount(), 0);
        a->play();
        setTicks(5000);
        EXPECT_EQ(drawnFrame(*a), -1);
        EXPECT_EQ(drawnFrame(*a), -1);
        setTicks(1000);
    }
}

TEST_F(AnimationLibraryTest, AFrameThatDoesNotLoadStopsTheLoader) {
    addSet("bombpowerup", 2);
    config("[explosionpowerup]\nframeCount=2\nframe1=bombpowerup_1.bmp\nframe2=gone.bmp\n");
    Lib lib;
    EXPECT_EQ(thrownMessage([&] { lib.loadPowerups(); }), "Error loading bitmap! ");
    EXPECT_EQ(lib.dynamitepowerup, nullptr);
    addSet("enemy2down", 2);
    config("[enemy2left]\nframeCount=1\nframe1=gone.bmp\n");
    EXPECT_EQ(thrownMessage([&] { lib.loadEnemy2(); }), "Error loading bitmap! ");
    // What was loaded is freed with the library (LeakSanitizer checks).
}

TEST_F(AnimationLibraryTest, AnAbsurdFrameCountFailsLikeAMissingFrame) {
    // Billions of frames promised, one given: the loader must fail on the
    // missing frames, not try to make room for all of them first.
    addSet("dust", 1);
    config("[bomb]\nframeCount=2000000000\nwidth=2\nheight=2\nframe1=dust_1.bmp\n");
    Lib lib;
    EXPECT_EQ(thrownMessage([&] { lib.loadBomb(); }), "Error loading bitmap! ");
    // A long set whose frames are all there loads whole.
    std::string text = "[explosioncentre]\nframeCount=100\nwidth=2\nheight=2\n";
    for (int i = 1; i <= 100; ++i) text += "frame" + std::to_string(i) + "=dust_1.bmp\n";
    config(text);
    lib.loadExplosion();
    EXPECT_EQ(lib.explosioncentre->getFrameCount(), 100);
}

}  // namespace
