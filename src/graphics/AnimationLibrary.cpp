#include "graphics/AnimationLibrary.h"

#include <cstdint>
#include <memory>

#include "shell/CException.h"
#include "shell/FilePaths.h"

static_assert(sizeof(AnimationLibrary) == AnimationLibrary::kFieldCount * sizeof(void*),
              "the library holds its pointers and nothing else");

namespace {

enum Direction { Right = 0, Left = 1, Up = 2, Down = 3 };
constexpr uint32_t kDefaultFrameTime = 100;

// How a set picks its still frame and the frames it cycles through.
enum class StillRule {
    First,     // stands on frame 0, cycles all n
    Given,     // stands on the given frame, cycles all n
    LastOnly,  // stands on the last frame, cycles the n - 1 before it
};

// No set the game draws has nearly this many frames.
constexpr int kUsualMaxFrames = 64;

// The frames of one section, each loaded at the section's size. A missing
// section (frame count -1) gives none. The array is held by a smart pointer
// until complete, so a frame that fails to load leaks nothing.
std::unique_ptr<Bitmap[]> loadFrames(const std::string& section, int& count) {
    count = getFrameCount(section.c_str());
    if (count <= 0) {
        count = 0;
        return nullptr;
    }
    int width = getWidth(section.c_str());
    int height = getHeight(section.c_str());
    if (count > kUsualMaxFrames) {
        // A malformed file may promise billions of frames: make sure each
        // is named before making room for all, so that it fails like the
        // missing frame's load would instead of exhausting memory.
        for (int i = 1; i <= count; ++i) {
            if (getFrameFile(section.c_str(), i) == "00")
                throw CException("Error loading bitmap! ");
        }
    }
    std::unique_ptr<Bitmap[]> frames(new Bitmap[count]);
    for (int i = 0; i < count; ++i)
        frames[i].load(getFrameFile(section.c_str(), i + 1), width, height);
    return frames;
}

// Sets anim up shared on a new array loaded from section; the library frees
// the array later through Animation::freeFrames.
void loadShared(Animation& anim, const std::string& section, uint32_t frameTime,
                StillRule rule = StillRule::First, int givenStill = 0) {
    int n = 0;
    std::unique_ptr<Bitmap[]> frames = loadFrames(section, n);
    int still = 0;
    int cycled = n;
    if (rule == StillRule::Given) {
        still = givenStill;
    } else if (rule == StillRule::LastOnly) {
        still = n - 1;
        cycled = n - 1;
    }
    anim.setupShared(0, 0, frames.get(), cycled, still, frameTime, n);
    frames.release();
}

// A death: the animation owns its own copy of the frames.
void loadOwned(Animation& anim, const std::string& section, uint32_t frameTime) {
    int n = 0;
    std::unique_ptr<Bitmap[]> frames = loadFrames(section, n);
    anim.setup(0, 0, frames.get(), n, 0, frameTime);
}

void freeBitmap(Bitmap*& field) {
    delete field;
    field = nullptr;
}

void freeSingle(Animation*& field) {
    if (!field) return;
    field->freeFrames();
    delete field;
    field = nullptr;
}

void freeQuad(Animation*& field) {
    if (!field) return;
    for (int d = 0; d < 4; ++d) field[d].freeFrames();
    delete[] field;
    field = nullptr;
}

// The field is stored before anything is loaded, so a failed load leaves a
// partly filled set that release() still frees.
Animation& newSingle(Animation*& field) {
    freeSingle(field);
    field = new Animation;
    return *field;
}

Animation* newQuad(Animation*& field) {
    freeQuad(field);
    field = new Animation[4];
    return field;
}

Bitmap* loadImage(Bitmap*& field, const char* section) {
    freeBitmap(field);
    field = new Bitmap;
    field->load(getFrameFile(section, 1), getWidth(section), getHeight(section));
    return field;
}

uint32_t speedOf(const std::string& section, const char* key = "animationSpeed") {
    // A missing key reads -1: a frame time of 4294967295 ms, a set that
    // stays on its first frame.
    return static_cast<uint32_t>(getPathInt(section.c_str(), key));
}

// Visits every field in declaration order; Lib is const or not.
template <class Lib, class B, class S, class Q>
void visitFields(Lib& lib, B&& bitmap, S&& single, Q&& quad) {
    bitmap(lib.levelBitmap);
    bitmap(lib.introLevel1);
    bitmap(lib.backLevel1);
    bitmap(lib.introLevel2);
    bitmap(lib.backLevel2);
    bitmap(lib.introLevel3);
    bitmap(lib.backLevel3);
    bitmap(lib.introLevel4);
    bitmap(lib.backLevel4);
    bitmap(lib.introLevel5);
    bitmap(lib.backLevel5);
    bitmap(lib.backTutorialLevel);
    bitmap(lib.introTutorialLevel);
    bitmap(lib.romanintroVS);
    bitmap(lib.futureintroVS);
    bitmap(lib.desertintroVS);
    bitmap(lib.ninjaintroVS);
    bitmap(lib.iceintroVS);
    bitmap(lib.chineseintroVS);
    bitmap(lib.menubackground);
    bitmap(lib.helpbackground);
    bitmap(lib.pausebackground);
    bitmap(lib.gameintro);
    bitmap(lib.menuTitle);
    single(lib.bombpowerup);
    single(lib.explosionpowerup);
    single(lib.dynamitepowerup);
    single(lib.missilepowerup);
    single(lib.homingmissilepowerup);
    single(lib.kickpowerup);
    single(lib.healthpowerup);
    single(lib.hammerpowerup);
    quad(lib.bomb);
    quad(lib.dynamite);
    for (auto& p : lib.enemyWalk) quad(p);
    for (auto& p : lib.enemyHit) quad(p);
    for (auto& p : lib.enemyDeath) single(p);
    single(lib.explosioncentre);
    single(lib.explosionhorizontal);
    single(lib.explosionvertical);
    single(lib.explosiontipright);
    single(lib.explosiontipleft);
    single(lib.explosiontipup);
    single(lib.explosiontipdown);
    quad(lib.missile);
    quad(lib.homingmissile);
    quad(lib.enemyMissile);
    for (auto& p : lib.enemyMissileDust) single(p);
    single(lib.dust);
    single(lib.ninjaDust);
    single(lib.ninjaDust2);
    for (auto& p : lib.playerWalk) quad(p);
    for (auto& p : lib.playerDeath) single(p);
    for (auto& p : lib.playerHit) quad(p);
    single(lib.missileExplosionAnimation);
}

}  // namespace

AnimationLibrary::AnimationLibrary() {
    visitFields(
        *this, [](Bitmap*& p) { p = nullptr; }, [](Animation*& p) { p = nullptr; },
        [](Animation*& p) { p = nullptr; });
}

AnimationLibrary::~AnimationLibrary() { release(); }

void AnimationLibrary::release() { visitFields(*this, freeBitmap, freeSingle, freeQuad); }

int AnimationLibrary::loadedCount() const {
    int count = 0;
    auto counter = [&count](auto* const& p) { count += p != nullptr; };
    visitFields(*this, counter, counter, counter);
    return count;
}

void AnimationLibrary::loadScreens() {
    loadImage(introLevel1, "introLevel1");
    loadImage(introLevel2, "introLevel2");
    loadImage(introLevel3, "introLevel3");
    loadImage(introLevel4, "introLevel4");
    loadImage(introLevel5, "introLevel5");
    loadImage(introTutorialLevel, "introTutorialLevel");
    loadImage(romanintroVS, "romanintroVS");
    loadImage(desertintroVS, "desertintroVS");
    loadImage(futureintroVS, "futureintroVS");
    loadImage(ninjaintroVS, "ninjaintroVS");
    loadImage(iceintroVS, "iceintroVS");
    loadImage(chineseintroVS, "chineseintroVS");
    loadImage(backLevel1, "backLevel1");
    loadImage(backLevel2, "backLevel2");
    loadImage(backLevel3, "backLevel3");
    loadImage(backLevel4, "backLevel4");
    loadImage(backLevel5, "backLevel5");
    loadImage(backTutorialLevel, "backTutorialLevel");
    loadImage(menubackground, "menubackground");
    loadImage(helpbackground, "helpbackground");
    loadImage(pausebackground, "pausebackground");
    loadImage(gameintro, "gameintro");
}

Bitmap* AnimationLibrary::loadMenuTitle() { return loadImage(menuTitle, "menuTitle"); }

void AnimationLibrary::loadLevelBitmap(const std::string& file, int width, int height) {
    freeBitmap(levelBitmap);
    levelBitmap = new Bitmap;
    levelBitmap->load(file, width, height);
}

void AnimationLibrary::loadPowerups() {
    loadShared(newSingle(bombpowerup), "bombpowerup", kDefaultFrameTime);
    loadShared(newSingle(explosionpowerup), "explosionpowerup", kDefaultFrameTime);
    loadShared(newSingle(dynamitepowerup), "dynamitepowerup", kDefaultFrameTime);
    loadShared(newSingle(missilepowerup), "missilepowerup", kDefaultFrameTime);
    loadShared(newSingle(homingmissilepowerup), "homingmissilepowerup", kDefaultFrameTime);
    loadShared(newSingle(kickpowerup), "kickpowerup", kDefaultFrameTime);
    loadShared(newSingle(healthpowerup), "healthpowerup", kDefaultFrameTime);
    loadShared(newSingle(hammerpowerup), "hammerpowerup", kDefaultFrameTime);
}

Animation* AnimationLibrary::loadBomb() {
    // Four animations, each on its own frames: a bomb moves like any moving
    // object, with one animation per direction.
    Animation* set = newQuad(bomb);
    for (int d = 0; d < 4; ++d) loadShared(set[d], "bomb", kDefaultFrameTime);
    return set;
}

Animation* AnimationLibrary::loadDynamite() {
    Animation* set = newQuad(dynamite);
    for (int d = 0; d < 4; ++d) loadShared(set[d], "dynamite", kDefaultFrameTime);
    return set;
}

Animation* AnimationLibrary::loadDust() {
    loadShared(newSingle(dust), "dust", kDefaultFrameTime);
    return dust;
}

void AnimationLibrary::loadExplosion() {
    loadShared(newSingle(explosioncentre), "explosioncentre", kDefaultFrameTime);
    loadShared(newSingle(explosionhorizontal), "explosionhorizontal", kDefaultFrameTime);
    loadShared(newSingle(explosionvertical), "explosionvertical", kDefaultFrameTime);
    loadShared(newSingle(explosiontipright), "explosiontipright", kDefaultFrameTime);
    loadShared(newSingle(explosiontipleft), "explosiontipleft", kDefaultFrameTime);
    loadShared(newSingle(explosiontipup), "explosiontipup", kDefaultFrameTime);
    loadShared(newSingle(explosiontipdown), "explosiontipdown", kDefaultFrameTime);
    loadShared(newSingle(missileExplosionAnimation), "missileExplosionAnimation",
               kDefaultFrameTime);
}

Animation* AnimationLibrary::loadMissileSet(Animation*& field, const char* prefix,
                                            bool speedFromRight) {
    std::string base = prefix;
    uint32_t frameTime = speedFromRight ? speedOf(base + "right") : kDefaultFrameTime;
    Animation* set = newQuad(field);
    loadShared(set[Right], base + "right", frameTime);
    loadShared(set[Left], base + "left", frameTime);
    loadShared(set[Up], base + "up", frameTime);
    loadShared(set[Down], base + "down", frameTime);
    return set;
}

Animation* AnimationLibrary::loadMissile() { return loadMissileSet(missile, "missile", false); }

Animation* AnimationLibrary::loadHomingMissile() {
    return loadMissileSet(homingmissile, "homingmissile", false);
}

Animation* AnimationLibrary::loadEnemyMissile() {
    Animation* set = loadMissileSet(enemyMissile, "enemyMissile", false);
    uint32_t frameTime = speedOf("enemyMissileDustRight");
    loadShared(newSingle(enemyMissileDust[Right]), "enemyMissileDustRight", frameTime);
    loadShared(newSingle(enemyMissileDust[Left]), "enemyMissileDustleft", frameTime);
    loadShared(newSingle(enemyMissileDust[Up]), "enemyMissileDustup", frameTime);
    loadShared(newSingle(enemyMissileDust[Down]), "enemyMissileDustdown", frameTime);
    return set;
}

Animation* AnimationLibrary::loadEnemyMissile3() {
    Animation* set = loadMissileSet(enemyMissile, "enemyMissile3", true);
    uint32_t frameTime = speedOf("enemyMissile3DustRight");
    loadShared(newSingle(enemyMissileDust[Right]), "enemyMissile3DustRight", frameTime);
    loadShared(newSingle(enemyMissileDust[Left]), "enemyMissile3Dustleft", frameTime);
    loadShared(newSingle(enemyMissileDust[Up]), "enemyMissile3Dustup", frameTime);
    loadShared(newSingle(enemyMissileDust[Down]), "enemyMissile3Dustdown", frameTime);
    return set;
}

Animation* AnimationLibrary::loadEnemySet(EnemySet set, const char* name,
                                          const char* deathSection) {
    std::string base = name;
    std::string down = base + "down";
    uint32_t frameTime = speedOf(down);

    // The plain enemy stands on its first frame; the two sets whose last
    // frame is a standing pose cycle the others; the rest name their
    // standing frame in the down section.
    StillRule walkRule = StillRule::Given;
    StillRule hitRule = StillRule::First;
    if (set == SetEnemy) {
        walkRule = StillRule::First;
    } else if (set == SetEnemy2 || set == SetEnemy3) {
        walkRule = StillRule::LastOnly;
        hitRule = StillRule::LastOnly;
    }
    int still = walkRule == StillRule::Given ? getPathInt(down.c_str(), "stillFrameIndex") : 0;

    Animation* walk = newQuad(enemyWalk[set]);
    loadShared(walk[Down], down, frameTime, walkRule, still);
    loadShared(walk[Left], base + "left", frameTime, walkRule, still);
    loadShared(walk[Right], base + "right", frameTime, walkRule, still);
    loadShared(walk[Up], base + "up", frameTime, walkRule, still);

    Animation* hit = newQuad(enemyHit[set]);
    loadShared(hit[Down], base + "hitdown", frameTime, hitRule);
    loadShared(hit[Left], base + "hitleft", frameTime, hitRule);
    loadShared(hit[Right], base + "hitright", frameTime, hitRule);
    loadShared(hit[Up], base + "hitup", frameTime, hitRule);

    loadOwned(newSingle(enemyDeath[set]), deathSection, speedOf(deathSection));
    return walk;
}

Animation* AnimationLibrary::loadEnemy() { return loadEnemySet(SetEnemy, "enemy", "enemydeath"); }

Animation* AnimationLibrary::loadEnemy1() {
    return loadEnemySet(SetEnemy1, "enemy1", "enemy1death");
}

Animation* AnimationLibrary::loadEnemy2() {
    return loadEnemySet(SetEnemy2, "enemy2", "enemy2death");
}

Animation* AnimationLibrary::loadEnemy3() {
    Animation* walk = loadEnemySet(SetEnemy3, "enemy3", "enemy3death");
    loadShared(newSingle(ninjaDust), "ninjaDust", speedOf("ninjaDust", "animSpeed"));
    loadShared(newSingle(ninjaDust2), "ninjaDust2", speedOf("ninjaDust2", "animSpeed"));
    return walk;
}

Animation* AnimationLibrary::loadEnemy4() {
    return loadEnemySet(SetEnemy4, "enemy4", "enemy4death");
}

Animation* AnimationLibrary::loadEnemy5() {
    return loadEnemySet(SetEnemy5, "enemy5", "enemy5death");
}

Animation* AnimationLibrary::loadEnemy5Head() {
    return loadEnemySet(SetEnemy5Head, "enemy5Head", "Enemy5Headdeath");
}

Animation* AnimationLibrary::loadEnemy5Body() {
    return loadEnemySet(SetEnemy5Body, "enemy5Body", "Enemy5Bodydeath");
}

Animation* AnimationLibrary::loadEnemy5Tail() {
    return loadEnemySet(SetEnemy5Tail, "enemy5Tail", "Enemy5Taildeath");
}

Animation* AnimationLibrary::loadPlayerSet(int index, const char* name) {
    std::string base = name;
    std::string down = base + "down";
    uint32_t frameTime = speedOf(down);

    Animation* walk = newQuad(playerWalk[index]);
    loadShared(walk[Down], down, frameTime);
    loadShared(walk[Left], base + "left", frameTime);
    loadShared(walk[Right], base + "right", frameTime);
    loadShared(walk[Up], base + "up", frameTime);

    Animation* hit = newQuad(playerHit[index]);
    loadShared(hit[Down], base + "hitdown", frameTime);
    loadShared(hit[Left], base + "hitleft", frameTime);
    loadShared(hit[Right], base + "hitright", frameTime);
    loadShared(hit[Up], base + "hitup", frameTime);

    loadOwned(newSingle(playerDeath[index]), base + "death", kDefaultFrameTime);
    return walk;
}

Animation* AnimationLibrary::loadPlayer1() { return loadPlayerSet(0, "player"); }
Animation* AnimationLibrary::loadPlayer2() { return loadPlayerSet(1, "player2"); }
Animation* AnimationLibrary::loadPlayer3() { return loadPlayerSet(2, "player3"); }
Animation* AnimationLibrary::loadPlayer4() { return loadPlayerSet(3, "player4"); }
