// The store of every image and animation a stage or the menu draws, loaded
// by name from filepaths.cfg. Each set of frames is loaded once into an
// array that the library owns, and the animations on it are shared, so
// entities copy them without loading images; deaths own their frames and
// load them again on every copy. The library frees everything it loaded in
// release() (and when destroyed); entities holding shared animations from it
// must be gone by then.
//
// A section missing from filepaths.cfg gives an animation without frames
// (drawn as nothing); a frame file that does not load throws CException out
// of the loader, and whatever was loaded so far is still freed by release().
// Loading a set again frees the previous one first.
#pragma once

#include <string>

#include "graphics/Animation.h"
#include "graphics/Bitmap.h"

class AnimationLibrary {
public:
    // Index of an enemy set in enemyWalk, enemyHit and enemyDeath.
    enum EnemySet {
        SetEnemy,
        SetEnemy1,
        SetEnemy2,
        SetEnemy3,
        SetEnemy4,
        SetEnemy5,
        SetEnemy5Head,
        SetEnemy5Body,
        SetEnemy5Tail,
        EnemySetCount
    };
    static constexpr int kPlayerCount = 4;
    static constexpr int kFieldCount = 91;

    AnimationLibrary();
    ~AnimationLibrary();
    // Owns raw arrays that shared animations point into: never copied.
    AnimationLibrary(const AnimationLibrary&) = delete;
    AnimationLibrary& operator=(const AnimationLibrary&) = delete;

    void loadScreens();
    Bitmap* loadMenuTitle();
    void loadLevelBitmap(const std::string& file, int width, int height);
    void loadPowerups();
    Animation* loadBomb();
    Animation* loadDynamite();
    Animation* loadDust();
    void loadExplosion();
    Animation* loadMissile();
    Animation* loadHomingMissile();
    Animation* loadEnemyMissile();
    Animation* loadEnemyMissile3();
    Animation* loadEnemy();
    Animation* loadEnemy1();
    Animation* loadEnemy2();
    Animation* loadEnemy3();
    Animation* loadEnemy4();
    Animation* loadEnemy5();
    Animation* loadEnemy5Head();
    Animation* loadEnemy5Body();
    Animation* loadEnemy5Tail();
    Animation* loadPlayer1();
    Animation* loadPlayer2();
    Animation* loadPlayer3();
    Animation* loadPlayer4();

    // Frees everything loaded; every field becomes null.
    void release();

    // Number of fields that hold something (0 to kFieldCount).
    int loadedCount() const;

    // Arrays of 4 are indexed by direction: 0 right, 1 left, 2 up, 3 down.
    Bitmap* levelBitmap;

    Bitmap* introLevel1;
    Bitmap* backLevel1;
    Bitmap* introLevel2;
    Bitmap* backLevel2;
    Bitmap* introLevel3;
    Bitmap* backLevel3;
    Bitmap* introLevel4;
    Bitmap* backLevel4;
    Bitmap* introLevel5;
    Bitmap* backLevel5;
    Bitmap* backTutorialLevel;
    Bitmap* introTutorialLevel;
    Bitmap* romanintroVS;
    Bitmap* futureintroVS;
    Bitmap* desertintroVS;
    Bitmap* ninjaintroVS;
    Bitmap* iceintroVS;
    Bitmap* chineseintroVS;
    Bitmap* menubackground;
    Bitmap* helpbackground;
    Bitmap* pausebackground;
    Bitmap* gameintro;

    Bitmap* menuTitle;

    Animation* bombpowerup;
    Animation* explosionpowerup;
    Animation* dynamitepowerup;
    Animation* missilepowerup;
    Animation* homingmissilepowerup;
    Animation* kickpowerup;
    Animation* healthpowerup;
    Animation* hammerpowerup;

    Animation* bomb;      // array of 4, each with its own frames
    Animation* dynamite;  // array of 4, each with its own frames

    Animation* enemyWalk[EnemySetCount];   // arrays of 4
    Animation* enemyHit[EnemySetCount];    // arrays of 4
    Animation* enemyDeath[EnemySetCount];  // owned frames

    Animation* explosioncentre;
    Animation* explosionhorizontal;
    Animation* explosionvertical;
    Animation* explosiontipright;
    Animation* explosiontipleft;
    Animation* explosiontipup;
    Animation* explosiontipdown;

    Animation* missile;        // array of 4
    Animation* homingmissile;  // array of 4
    Animation* enemyMissile;   // array of 4

    Animation* enemyMissileDust[4];  // one animation per direction

    Animation* dust;
    Animation* ninjaDust;
    Animation* ninjaDust2;

    Animation* playerWalk[kPlayerCount];   // arrays of 4
    Animation* playerDeath[kPlayerCount];  // owned frames
    Animation* playerHit[kPlayerCount];    // arrays of 4

    Animation* missileExplosionAnimation;

private:
    Animation* loadEnemySet(EnemySet set, const char* name, const char* deathSection);
    Animation* loadPlayerSet(int index, const char* name);
    Animation* loadMissileSet(Animation*& field, const char* prefix, bool speedFromRight);
};
