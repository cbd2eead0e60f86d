// The numbers the play field is made of: the value each kind of object
// writes into the TileGrid, the layer it writes it on, the tile size and the
// direction numbers. Every actor uses these names instead of bare numbers,
// so a reader can follow who collides with whom.
#pragma once

// What a cell holds. A cell keeps only the value written last.
namespace cell {
constexpr int kEmpty = 0;
constexpr int kSolid = 1;      // solid block, inner wall or edge piece (layer 3)
constexpr int kBreakable = 2;  // breakable block (layer 3)
constexpr int kFloor = 3;      // floor tile or floor detail (layer 1)
constexpr int kPlayer = 4;     // layer 3
constexpr int kEnemy = 5;      // layer 3
constexpr int kBomb = 6;       // bomb or dynamite (layer 3)
constexpr int kMissile = 7;    // missile or homing missile (layer 3)
constexpr int kExplosion = 8;  // layer 4: hurts, breaks blocks, chains bombs
// Powerups, layer 2.
constexpr int kBombPowerup = 9;
constexpr int kFirePowerup = 10;
constexpr int kDynamitePowerup = 11;
constexpr int kMissilePowerup = 12;
constexpr int kHomingPowerup = 13;
constexpr int kKickPowerup = 14;
constexpr int kHealthPowerup = 15;
constexpr int kHammerPowerup = 16;

constexpr int kFirstPowerup = kBombPowerup;
constexpr int kLastPowerup = kHammerPowerup;

constexpr bool isPowerup(int value) { return value >= kFirstPowerup && value <= kLastPowerup; }

// Blocks are the two values a moving object never clears when it leaves a
// cell: only the block itself takes its mark away.
constexpr bool isBlock(int value) { return value == kSolid || value == kBreakable; }
}  // namespace cell

// Which layer of the grid each kind writes. Layers 0, 5 and 6 exist (the
// stage layouts have seven) but nothing writes them.
namespace layer {
constexpr int kFloor = 1;       // floor tiles: 3
constexpr int kPowerups = 2;    // powerups 9..16; dust puffs write 0
constexpr int kObjects = 3;     // blocks, players, enemies, bombs, missiles
constexpr int kExplosions = 4;  // explosions: 8
constexpr int kCount = 7;
}  // namespace layer

// Pixels per cell in every stage.
constexpr int kTileSize = 32;

// Directions, numbered alike in flags, animation arrays and key handling.
namespace dir {
constexpr int kRight = 0;
constexpr int kLeft = 1;
constexpr int kUp = 2;
constexpr int kDown = 3;
constexpr int kCount = 4;
}  // namespace dir
