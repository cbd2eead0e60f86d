// The filepaths.cfg readers and everything that loads pictures through
// them, on any filepaths.cfg: the animation library's loaders, the game
// font and a health bar, then every animation and image drawn stopped,
// playing, far into its run and as a copy; then the menu, every page with
// each of its items selected. The file names the input may use
// are small images made once at start-up (a.bmp, b.bmp, c.bmp, font.bmp,
// img/d.bmp) and one file that is no image (bad.bmp). A load may fail (with
// CException) but must never crash, leak or run away.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

#include "FuzzSupport.h"
#include "graphics/AnimationLibrary.h"
#include "graphics/BitmapText.h"
#include "graphics/HealthBar.h"
#include "menu/Menu.h"
#include "platform/Headless.h"
#include "platform/Platform.h"
#include "platform/Surface.h"
#include "shell/CException.h"
#include "shell/FilePaths.h"

namespace {

void makeImage(const std::string& name, int w, int h, uint32_t colour) {
    auto image = plat::Surface::create(w, h);
    image->fill(0, 0, w, h, colour);
    image->setPixel(w - 1, 0, plat::kKeyColour);
    if (!image->saveBmp(fuzzsupport::scratchFile(name))) fuzzsupport::fail("cannot write " + name);
}

void setUp() {
    plat::init(plat::Backend::Headless);
    plat::headless::reset();
    makeImage("a.bmp", 2, 2, plat::rgb(200, 10, 7));
    makeImage("b.bmp", 8, 8, plat::rgb(20, 30, 200));
    makeImage("c.bmp", 1, 1, plat::rgb(90, 90, 90));
    makeImage("font.bmp", 84, 4, plat::rgb(255, 255, 255));
    fuzzsupport::writeFile(fuzzsupport::scratchFile("bad.bmp"), "no image here");
    std::error_code ec;
    std::filesystem::create_directories(fuzzsupport::scratchFile("img"), ec);
    makeImage("img/d.bmp", 3, 5, plat::rgb(1, 2, 3));
}

template <class F>
void attempt(F&& load) {
    try {
        load();
    } catch (const CException&) {
        // A missing or broken picture: the game reports it; nothing to check.
    }
}

uint32_t now = 1000;

void drawImage(plat::Surface& target, Bitmap* image) {
    if (!image) return;
    image->x = 3;
    image->y = -2;
    image->draw(target);
}

void drawAnimation(plat::Surface& target, Animation* a) {
    if (!a) return;
    a->draw(target);
    a->play();
    for (uint32_t step : {1u, 250u, 100000u, 4000000000u}) {
        plat::headless::setTicks(now += step);
        a->draw(target);
    }
    attempt([&] {
        Animation copy(*a);  // an entity's copy: a death loads its frames again
        copy.draw(target);
    });
    a->stop();
    a->draw(target);
}

void drawQuad(plat::Surface& target, Animation* quad) {
    if (!quad) return;
    for (int d = 0; d < 4; ++d) drawAnimation(target, &quad[d]);
}

// One loader of each kind: the others run the same code on other names.
void loadAll(AnimationLibrary& lib) {
    attempt([&] { lib.loadMenuTitle(); });  // a single image, as every screen
    attempt([&] {
        lib.loadLevelBitmap(getFrameFile("breakableblockLevel1", 1), getWidth("breakableblockLevel1"),
                            getHeight("breakableblockLevel1"));
    });
    attempt([&] { lib.loadBomb(); });            // four animations on one section
    attempt([&] { lib.loadEnemyMissile3(); });   // frame time from another section
    attempt([&] { lib.loadEnemy(); });           // stands on its first frame
    attempt([&] { lib.loadEnemy1(); });          // stands on a frame the file names
    attempt([&] { lib.loadEnemy3(); });          // stands on its last frame; ninja dust
    attempt([&] { lib.loadPlayer1(); });         // a death owns its frames
}

void drawAll(plat::Surface& target, AnimationLibrary& lib) {
    for (Bitmap* b : {lib.levelBitmap, lib.introLevel1, lib.backLevel1, lib.introLevel2, lib.backLevel2,
                      lib.introLevel3, lib.backLevel3, lib.introLevel4, lib.backLevel4, lib.introLevel5,
                      lib.backLevel5, lib.backTutorialLevel, lib.introTutorialLevel, lib.romanintroVS,
                      lib.futureintroVS, lib.desertintroVS, lib.ninjaintroVS, lib.iceintroVS,
                      lib.chineseintroVS, lib.menubackground, lib.helpbackground, lib.pausebackground,
                      lib.gameintro, lib.menuTitle})
        drawImage(target, b);
    for (Animation* a : {lib.bombpowerup, lib.explosionpowerup, lib.dynamitepowerup, lib.missilepowerup,
                         lib.homingmissilepowerup, lib.kickpowerup, lib.healthpowerup, lib.hammerpowerup,
                         lib.explosioncentre, lib.explosionhorizontal, lib.explosionvertical,
                         lib.explosiontipright, lib.explosiontipleft, lib.explosiontipup,
                         lib.explosiontipdown, lib.dust, lib.ninjaDust, lib.ninjaDust2,
                         lib.missileExplosionAnimation})
        drawAnimation(target, a);
    for (Animation* a : lib.enemyDeath) drawAnimation(target, a);
    for (Animation* a : lib.enemyMissileDust) drawAnimation(target, a);
    for (Animation* a : lib.playerDeath) drawAnimation(target, a);
    for (Animation* q : {lib.bomb, lib.dynamite, lib.missile, lib.homingmissile, lib.enemyMissile})
        drawQuad(target, q);
    for (Animation* q : lib.enemyWalk) drawQuad(target, q);
    for (Animation* q : lib.enemyHit) drawQuad(target, q);
    for (Animation* q : lib.playerWalk) drawQuad(target, q);
    for (Animation* q : lib.playerHit) drawQuad(target, q);
}

void drawText(plat::Surface& target) {
    attempt([&] {
        BitmapText text;
        text.initGameFont(2, 3);
        text.setText("EMBER 0:9|?! x");
        text.setX(-(text.getPixelWidth() / 2));  // centred, as the menus place text
        text.draw(target);
        text.setBlink(true);
        plat::headless::setTicks(now += 200);
        text.draw(target);
    });
    attempt([&] {
        HealthBar bar;
        bar.init(getWidth("healthbarback1"), getHeight("healthbarback1"), getFrameFile("healthbarback1", 1),
                 getFrameFile("healthbartop1", 1), 1, 1, 100);
        for (int value : {0, 50, -7, 1000}) {
            plat::headless::setTicks(now += 500);
            bar.draw(target, value);
        }
    });
}

// A menu that cannot be set up ends the game at start-up: only one that was
// is drawn. Each page is drawn over a while with each item selected, so
// that the cursor, the labels, the values, every hint's marquee and the
// title's bounce and credits scroll all run.
void drawMenu(plat::Surface& target) {
    auto menu = std::make_unique<Menu>();
    try {
        menu->init(265, 290);
        buildMenuTree(nullptr, menu.get());
    } catch (const CException&) {
        return;
    }
    menu->introDone = true;  // the title page's timer would change the page through the game
    for (int page = kPageTitle; page <= kPageIntroChina; ++page) {
        menu->setPage(page);
        const int selections = menu->showCursor ? menu->countItemsOnPage(page) : 1;
        for (int i = 0; i < selections; ++i) {
            for (uint32_t step : {1u, 30u, 700u, 100000u}) {
                plat::headless::setTicks(now += step);
                menu->draw(target);
            }
            menu->selectNext();
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    static const bool ready = (setUp(), true);
    (void)ready;
    filePathsPath = fuzzsupport::scratchFile("filepaths.cfg");
    fuzzsupport::writeFile(filePathsPath, fuzzsupport::bytesOf(data, size));

    auto target = plat::Surface::create(24, 24);
    {
        AnimationLibrary lib;
        loadAll(lib);
        drawAll(*target, lib);
    }
    drawText(*target);
    drawMenu(*target);
    return 0;
}
