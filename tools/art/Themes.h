// One look per stage: how its floor, blocks, walls and breakable block are
// drawn. The tile sets of every stage are cut from these.
#pragma once

#include <functional>
#include <string>

#include "art/TileKit.h"

namespace art {

struct Theme {
    std::string folder;                      // under assets/img/tiles/
    std::function<Image(int)> floor;         // 0 the plain floor, 1.. its details
    std::function<Image()> solid;            // the solid block
    std::function<Image()> solid2;           // an inner wall (walled stages)
    std::function<Image()> breakable;        // the breakable block
    Fill wallTop, wallFace;                  // the border ring's surfaces
    Ramp rim;                                // and the light on its edges
    // Dresses a border piece; `ornament` counts the decorated pieces beside
    // a corner (0 for a plain one). The two top corners, under the clock
    // and the lives row, are never dressed.
    std::function<void(Image&, Edge, int)> dress;
};

Theme trainingTheme();
Theme courtyardTheme();
Theme desertTheme();
Theme techTheme();
Theme templeTheme();
Theme iceTheme();
Theme arcticTheme();
Theme palaceTheme();

// A border piece of a theme, dressed.
Image themeWall(const Theme& t, Edge e, int ornament = 0);

}  // namespace art
