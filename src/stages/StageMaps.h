// The level designs: the constant map layers of the tutorial, levels 1 to 5
// and the six versus arenas. Each layer is width x height cell codes, row
// major (element y * width + x, both 0-based from the top-left corner). The
// floor layer goes into grid layer 1, the block layer into layer 3; the
// 20 x 13 stages also copy kEmptyLayer into layer 5. Code 0 means "nothing
// here"; what the other codes build is the stage's own tile table.
//
// A map that several stages share is stored once; the other stages' names
// are references to it, so every stage can be named the same way.
#pragma once

// Grid sizes of the two map shapes.
constexpr int kWideMapWidth = 20;
constexpr int kWideMapHeight = 13;
constexpr int kWideMapCells = kWideMapWidth * kWideMapHeight;
constexpr int kSquareMapSize = 15;
constexpr int kSquareMapCells = kSquareMapSize * kSquareMapSize;

// The all-zero layer 5 of the 20 x 13 stages.
extern const int kEmptyLayer[kWideMapCells];

// Tutorial, walled layout; its floor is shared with levels 1, 4, 5 and the
// ARCTIC and CHINA arenas.
extern const int kTutorialFloor[kWideMapCells];
extern const int kTutorialBlocks[kWideMapCells];

// Levels 1 to 5.
inline constexpr const int (&kLevel1Floor)[kWideMapCells] = kTutorialFloor;
extern const int kLevel1Blocks[kWideMapCells];
extern const int kLevel2Floor[kWideMapCells];
extern const int kLevel2Blocks[kWideMapCells];
// Pillar layout; the floor is shared with the NINJA arena.
extern const int kLevel3Floor[kWideMapCells];
extern const int kLevel3Blocks[kWideMapCells];
inline constexpr const int (&kLevel4Floor)[kWideMapCells] = kTutorialFloor;
extern const int kLevel4Blocks[kWideMapCells];
inline constexpr const int (&kLevel5Floor)[kWideMapCells] = kTutorialFloor;
extern const int kLevel5Blocks[kWideMapCells];

// Versus arenas, 15 x 15. DESERT and ROMAN share a floor; FUTURE uses only
// the 9 x 9 square of columns and rows 3 to 11.
extern const int kArenaDesertFloor[kSquareMapCells];
extern const int kArenaDesertBlocks[kSquareMapCells];
inline constexpr const int (&kArenaRomanFloor)[kSquareMapCells] = kArenaDesertFloor;
extern const int kArenaRomanBlocks[kSquareMapCells];
extern const int kArenaFutureFloor[kSquareMapCells];
extern const int kArenaFutureBlocks[kSquareMapCells];

// Versus arenas, 20 x 13.
inline constexpr const int (&kArenaArcticFloor)[kWideMapCells] = kTutorialFloor;
extern const int kArenaArcticBlocks[kWideMapCells];
inline constexpr const int (&kArenaNinjaFloor)[kWideMapCells] = kLevel3Floor;
extern const int kArenaNinjaBlocks[kWideMapCells];
inline constexpr const int (&kArenaChinaFloor)[kWideMapCells] = kTutorialFloor;
extern const int kArenaChinaBlocks[kWideMapCells];
