// The [audio] section: every sample and music name the game plays, mapped
// to the files the sound generator writes.
#include "art/Sprites.h"

namespace art {

void addAudio(AssetSet& set) {
    const char* const samples[] = {"draw",  "lose",     "win",       "ready",      "start",      "gameover", "hurry",
                                   "block", "bombDrop", "death",     "health",     "kick",       "missile",  "powerup",
                                   "hurt",  "explosion", "robot1",   "hit",        "enemyDeath", "ninjaShout",
                                   "ninjaThrow", "robotHit", "dragonHit", "menu", "menuSelect"};
    const char* const music[] = {"menubgm",   "creditsbgm", "tutorialLevelbgm", "level1bgm",
                                 "level2bgm", "level3bgm",  "level4bgm",        "level5bgm"};
    for (const char* s : samples) set.addAudio(s, std::string("assets/sfx/") + s + ".wav");
    for (const char* m : music) set.addAudio(m, std::string("assets/music/") + m + ".wav");
}

}  // namespace art
