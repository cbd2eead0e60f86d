// The families of pictures the game loads, each added to the asset set
// under the section names the game asks for.
#pragma once

#include <initializer_list>
#include <utility>
#include <vector>

#include "art/AssetSet.h"
#include "art/Image.h"

namespace art {

// Facing directions in the game's order.
enum Dir { kRight = 0, kLeft = 1, kUp = 2, kDown = 3 };
extern const char* const kDirNames[4];  // "right", "left", "up", "down"

void addPlayers(AssetSet& set);
void addHumanoidEnemies(AssetSet& set);  // training bot, legionary, ninja
void addCreatureEnemies(AssetSet& set);  // mech, ice blob, lantern spirit
void addDragon(AssetSet& set);
void addItems(AssetSet& set);     // bomb, dynamite, powerups
void addEffects(AssetSet& set);   // explosions, missiles, dust
void addTiles(AssetSet& set);
void addInterface(AssetSet& set); // font, bars, cursor, icons, messages, checker, title
void addScreens(AssetSet& set);
void addAudio(AssetSet& set);
Image makeIcon();

// Single pictures the screens borrow from the sprite families.
Image playerStanding(int player, Dir d);  // player 1 to 4
Image powerupIcon(int kind, int frame);   // kinds in powerup order: bomb, fire, dynamite, missile,
                                          // homing missile, kick, health, hammer
// The same powerups as 16 x 16 pictures for the help page's list.
Image powerupBadge(int kind);
Image bombPicture(int frame);

// The title lettering, drawn with flames licking up behind it.
Image titleLogo(int scale, int width, int height);

// Shared helpers of the sprite families.

// Hit frames: each walk frame flashed, alternately pale and red.
std::vector<Image> hitFrames(const std::vector<Image>& walk);

// A death: the creature flashes, bursts and drifts off as smoke and embers.
std::vector<Image> burstDeath(const Image& body, Colour ember, int frames, unsigned seed);

// Maps a point given along (u) and across (v) a direction of travel onto
// the 32 x 32 cell, so one drawing serves all four directions.
struct Oriented {
    Dir dir;
    std::pair<double, double> operator()(double u, double v) const;
    std::vector<std::pair<double, double>> operator()(std::initializer_list<std::pair<double, double>> pts) const;
};

// A soft puff of smoke or snow, `frames` long, growing and thinning.
std::vector<Image> puffFrames(Colour base, int frames, double startR, double endR, unsigned seed, int cx = 16,
                              int cy = 18);

}  // namespace art
