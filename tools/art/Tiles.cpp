// The tile sections of every stage, named the way each map layout asks
// for them: the standard layout (a suffix per stage), the walled layout
// (tutorial and the desert arena) and the pillar layout (the temple).
#include <string>

#include "art/Sprites.h"
#include "art/Themes.h"

namespace art {

Image themeWall(const Theme& t, Edge e, int ornament) {
    Image img = wallTile(e, t.wallTop, t.wallFace, t.rim);
    // The clock stands on the top-left corner and the lives row on the
    // top-right one, so those two stay plain wall.
    if (t.dress && e != Edge::TopLeft && e != Edge::TopRight) t.dress(img, e, ornament);
    return img;
}

namespace {

std::string folderOf(const Theme& t) { return "tiles/" + t.folder; }

void addStandard(AssetSet& set, const Theme& t, const std::string& s, const std::string& breakableName) {
    const std::string f = folderOf(t);
    set.add("solidblock" + s, f, t.solid());
    set.add("floortile" + s, f, t.floor(0));
    for (int k = 1; k <= 4; ++k) set.add("floordetail" + std::to_string(k) + s, f, t.floor(k));
    set.add("edgetop" + s, f, themeWall(t, Edge::Top));
    set.add("edgeleft" + s, f, themeWall(t, Edge::Left));
    set.add("edgeright" + s, f, themeWall(t, Edge::Right));
    set.add("edgecornerleft" + s, f, themeWall(t, Edge::TopLeft));
    set.add("edgecornerright" + s, f, themeWall(t, Edge::TopRight));
    set.add("edgebottom" + s, f, themeWall(t, Edge::Bottom));
    set.add("edgecornerbottomleft" + s, f, themeWall(t, Edge::BottomLeft));
    set.add("edgecornerbottomright" + s, f, themeWall(t, Edge::BottomRight));
    set.add(breakableName, f, t.breakable());
}

// Codes 1 to 8 carry the first suffix, the border pieces the second.
void addWalled(AssetSet& set, const Theme& t, const std::string& inner, const std::string& border,
               const std::string& breakableName) {
    const std::string f = folderOf(t);
    set.add("solidblock" + inner, f, t.solid());
    set.add("floortile" + inner, f, t.floor(0));
    for (int k = 1; k <= 4; ++k) set.add("floordetail" + std::to_string(k) + inner, f, t.floor(k));
    set.add("solidblock2" + inner, f, t.solid2());
    set.add("edgeCornerLeft" + border, f, themeWall(t, Edge::TopLeft));
    set.add("edgeCornerRight" + border, f, themeWall(t, Edge::TopRight));
    set.add("edgeCornerBottomLeft" + border, f, themeWall(t, Edge::BottomLeft));
    set.add("edgeCornerBottomRight" + border, f, themeWall(t, Edge::BottomRight));
    set.add("edgeTop" + border, f, themeWall(t, Edge::Top));
    set.add("edgeRight" + border, f, themeWall(t, Edge::Right));
    set.add("edgeLeft" + border, f, themeWall(t, Edge::Left));
    set.add("edgeBottom" + border, f, themeWall(t, Edge::Bottom));
    set.add(breakableName, f, t.breakable());
}

void addPillared(AssetSet& set, const Theme& t) {
    const std::string f = folderOf(t), s = "level3";
    set.add("solidblock" + s, f, t.solid());
    set.add("floortile" + s, f, t.floor(0));
    for (int k = 1; k <= 7; ++k) set.add("floordetail" + std::to_string(k) + s, f, t.floor(k));
    set.add("edgeCornerLeft" + s, f, themeWall(t, Edge::TopLeft));
    set.add("edgeCornerRight" + s, f, themeWall(t, Edge::TopRight));
    set.add("edgeCornerBottomLeft" + s, f, themeWall(t, Edge::BottomLeft));
    set.add("edgeCornerBottomRight" + s, f, themeWall(t, Edge::BottomRight));
    set.add("edgeTop" + s, f, themeWall(t, Edge::Top));
    set.add("edgeRight" + s, f, themeWall(t, Edge::Right));
    set.add("edgeLeft" + s, f, themeWall(t, Edge::Left));
    set.add("edgeBottom" + s, f, themeWall(t, Edge::Bottom));
    // The decorated pieces beside the four corners: "1" next to the corner,
    // "2" one further along.
    struct Piece {
        const char* name;
        Edge edge;
        int ornament;
    };
    const Piece pieces[16] = {
        {"edgeTopLeftCornerLeft1", Edge::Left, 1},          {"edgeTopLeftCornerLeft2", Edge::Left, 2},
        {"edgeTopRightCornerRight1", Edge::Right, 1},       {"edgeTopRightCornerRight2", Edge::Right, 2},
        {"edgeTopRightCornerTop1", Edge::Top, 1},           {"edgeTopRightCornerTop2", Edge::Top, 2},
        {"edgeTopLeftCornerTop1", Edge::Top, 1},            {"edgeTopLeftCornerTop2", Edge::Top, 2},
        {"edgeBottomLeftCornerLeft1", Edge::Left, 3},       {"edgeBottomLeftCornerLeft2", Edge::Left, 4},
        {"edgeBottomLeftCornerBottom1", Edge::Bottom, 1},   {"edgeBottomLeftCornerBottom2", Edge::Bottom, 2},
        {"edgeBottomRightCornerRight1", Edge::Right, 3},    {"edgeBottomRightCornerRight2", Edge::Right, 4},
        {"edgeBottomRightCornerBottom1", Edge::Bottom, 1},  {"edgeBottomRightCornerBottom2", Edge::Bottom, 2},
    };
    for (const Piece& p : pieces) set.add(p.name, f, themeWall(t, p.edge, p.ornament));
    set.add("breakableblockLevel3", f, t.breakable());
}

}  // namespace

void addTiles(AssetSet& set) {
    addWalled(set, trainingTheme(), "tutoriallevel", "tutoriallevel", "breakableblocktutoriallevel");
    addStandard(set, courtyardTheme(), "level1", "breakableblockLevel1");
    addStandard(set, techTheme(), "level2", "breakableblocklevel2");
    addPillared(set, templeTheme());
    addStandard(set, iceTheme(), "Level4", "breakableblockLevel4");
    addStandard(set, palaceTheme(), "Level5", "breakableblockLevel5");
    addWalled(set, desertTheme(), "arena1", "Arena1", "breakableblockarena1");
    addStandard(set, arcticTheme(), "Arena4", "breakableblockArena4");
}

}  // namespace art
