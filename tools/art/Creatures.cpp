// Enemies that are not people: the tech base's walking mech, the ice
// field's replicating blob and the palace's lantern spirit.
#include <cmath>
#include <string>

#include "art/Paint.h"
#include "art/Sprites.h"

namespace art {

namespace {

// ---- the mech -------------------------------------------------------------

Image mech(Dir d, int phase) {
    Image img(32, 32);
    Pen pen(img);
    const bool mirror = d == kLeft;
    auto M = [&](const Mask& m) { return mirror ? m.flippedH() : m; };
    const Ramp steel = makeRamp(rgb(116, 128, 150)), dark = makeRamp(rgb(66, 72, 90)), glass = makeRamp(rgb(60, 150, 190));
    const Ramp hazard = makeRamp(rgb(232, 180, 40));
    const int bob = (phase % 2 == 1) ? -1 : 0;
    const int lift = phase == 1 ? -1 : phase == 3 ? 1 : 0;
    if (d == kDown || d == kUp) {
        for (int side = -1; side <= 1; side += 2) {
            int x = side < 0 ? 8 : 19;
            int up = lift == side ? 2 : 0;
            pen.shaded(pen.rect(x + 1, 19 + bob, 3, 8 - up), dark, soft(1.2));
            pen.shaded(pen.roundRect(x - 1, 26 - up, 7, 4, 1.2), steel, soft(1.5));
        }
        pen.shaded(pen.roundRect(5, 5 + bob, 22, 17, 4.0), steel, soft(3.0));
        pen.shaded(pen.rect(5, 17 + bob, 22, 3) & pen.roundRect(5, 5 + bob, 22, 17, 4.0), hazard, soft(1.0));
        for (int x = 6; x < 27; x += 4) pen.flat(pen.poly({{double(x), 20.0 + bob}, {x + 2.0, 17.0 + bob}, {x + 3.0, 17.0 + bob}, {x + 1.0, 20.0 + bob}}), rgb(40, 36, 40));
        // shoulder cannons
        for (int side = -1; side <= 1; side += 2) {
            int x = side < 0 ? 1 : 26;
            pen.shaded(pen.roundRect(x, 10 + bob, 5, 11, 1.5), dark, soft(1.5));
            if (d == kDown) pen.flat(pen.rect(x + 1, 19 + bob, 3, 2), rgb(20, 20, 28));
        }
        if (d == kDown) {
            pen.shaded(pen.roundRect(9, 8 + bob, 14, 7, 2.5), glass, soft(2.5));
            pen.flat(pen.rect(11, 9 + bob, 3, 1), rgb(220, 246, 255));
            img.set(16, 16 + bob, rgb(255, 80, 60));
        } else {
            for (int y = 9; y <= 13; y += 2) pen.flat(pen.rect(10, y + bob, 12, 1), rgb(44, 48, 62));
        }
        pen.shaded(pen.circle(16, 4.5 + bob, 2.0), makeRamp(rgb(230, 60, 50)), soft(2.0));
    } else {
        auto farFoot = 15.0 - 4.0 * lift, nearFoot = 15.0 + 4.0 * lift;
        pen.shaded(M(pen.line(15, 19 + bob, farFoot, 27, 3.5)), makeRamp(rgb(50, 54, 70)), soft(1.2));
        pen.shaded(M(pen.roundRect(int(farFoot) - 3, 26, 7, 4, 1.2)), dark, soft(1.5));
        pen.shaded(M(pen.roundRect(7, 5 + bob, 18, 17, 4.0)), steel, soft(3.0));
        pen.shaded(M(pen.rect(7, 17 + bob, 18, 3) & pen.roundRect(7, 5 + bob, 18, 17, 4.0)), hazard, soft(1.0));
        pen.shaded(M(pen.roundRect(17, 8 + bob, 8, 7, 2.5)), glass, soft(2.5));
        pen.flat(M(pen.rect(19, 9 + bob, 3, 1)), rgb(220, 246, 255));
        pen.shaded(M(pen.line(15, 19 + bob, nearFoot, 27, 3.5)), dark, soft(1.2));
        pen.shaded(M(pen.roundRect(int(nearFoot) - 3, 26, 7, 4, 1.2)), steel, soft(1.5));
        // the arm cannon, pointing ahead
        pen.shaded(M(pen.roundRect(12, 13 + bob, 19, 5, 1.5)), dark, soft(1.5));
        pen.flat(M(pen.rect(29, 14 + bob, 2, 3)), rgb(20, 20, 28));
        pen.shaded(M(pen.circle(12, 15.5 + bob, 3.0)), steel, soft(2.0));
        pen.shaded(M(pen.circle(11, 4.5 + bob, 2.0)), makeRamp(rgb(230, 60, 50)), soft(2.0));
    }
    outline(img);
    return img;
}

// ---- the ice blob ---------------------------------------------------------

Image blob(Dir d, int phase) {
    Image img(32, 32);
    Pen pen(img);
    const double rx[4] = {11.0, 12.5, 11.0, 9.8}, ry[4] = {9.5, 8.2, 9.5, 11.0};
    double w = rx[phase & 3], h = ry[phase & 3];
    double cx = 16, cy = 30.0 - h;
    Mask body = pen.ellipse(cx, cy, w, h) | pen.rect(int(cx - w + 2), int(cy), int(2 * w - 4), int(h));
    body &= pen.rect(0, 0, 32, 30);
    // Deep glacier violet: a pale blue jelly would melt into the ice floors.
    pen.shaded(body, makeRamp(rgb(98, 78, 196)), soft(7.0));
    // a brighter core seen through the jelly
    Shading core = soft(5.0, false, 0.1);
    pen.shaded(pen.ellipse(cx + 1, cy + 2, w * 0.5, h * 0.45), makeRamp(rgb(150, 170, 246)), core);
    // frost crystals on its crown
    const Ramp ice = makeRamp(rgb(226, 244, 255));
    double top = cy - h;
    pen.shaded(pen.poly({{cx - 4, top + 3}, {cx - 2, top - 4}, {cx, top + 3}}), ice, soft(1.0));
    pen.shaded(pen.poly({{cx, top + 3}, {cx + 3, top - 2}, {cx + 5, top + 4}}), ice, soft(1.0));
    pen.flat(pen.ellipse(cx - w * 0.45, cy - h * 0.45, 2.0, 1.3), rgb(246, 252, 255));
    if (d != kUp) {
        int ex = d == kRight ? 3 : d == kLeft ? -3 : 0;
        for (int side = -1; side <= 1; side += 2) {
            int x = int(cx) + ex + side * 4 - (side < 0 ? 1 : 0);
            int y = int(cy) - 1;
            img.fillRect(x, y, 2, 3, rgb(20, 14, 48));
            img.set(x, y, rgb(255, 255, 255));
        }
        img.hline(int(cx) + ex - 2, int(cx) + ex + 1, int(cy) + 4, rgb(40, 26, 90));
    }
    outline(img);
    return img;
}

// ---- the lantern spirit ---------------------------------------------------

Image lantern(Dir d, int phase) {
    Image img(32, 32);
    Pen pen(img);
    const int bobs[4] = {0, -1, -2, -1};
    int b = bobs[phase & 3];
    const Ramp gold = makeRamp(rgb(230, 178, 60));
    // tassel, swinging a little
    int sway = (phase & 3) == 1 ? 1 : (phase & 3) == 3 ? -1 : 0;
    pen.shaded(pen.line(16, 24 + b, 16 + sway, 28 + b, 1.8), makeRamp(rgb(214, 48, 40)), soft(1.0));
    pen.shaded(pen.roundRect(14 + sway, 27 + b, 4, 4, 1.2), gold, soft(1.0));
    Mask body = pen.ellipse(16, 16 + b, 10.5, 8.5);
    pen.shaded(body, makeRamp(rgb(214, 46, 40)), soft(8.0));
    for (int x : {10, 16, 22}) pen.flat(pen.rect(x, 8 + b, 1, 17) & body, rgb(150, 28, 34));
    // inner glow flickers
    double glowR = (phase & 1) ? 5.0 : 5.8;
    pen.shaded(pen.ellipse(16, 17 + b, glowR, glowR * 0.8) & body, makeRamp(rgb(255, 130, 60)), soft(4.0, false, 0.15));
    pen.shaded(pen.roundRect(10, 6 + b, 12, 3, 1.2), gold, soft(1.2));
    pen.shaded(pen.roundRect(10, 23 + b, 12, 3, 1.2), gold, soft(1.2));
    Mask loop = pen.circle(16, 4 + b, 2.2) - pen.circle(16, 4 + b, 1.0);
    pen.flat(loop, rgb(120, 90, 40));
    if (d != kUp) {
        int ex = d == kRight ? 3 : d == kLeft ? -3 : 0;
        const Colour ink = rgb(90, 20, 24);
        for (int side = -1; side <= 1; side += 2) {
            int x = 16 + ex + side * 4;
            img.hline(x - 1, x + 1, 14 + b, ink);
            img.set(x - 1, 15 + b, ink), img.set(x + 1, 15 + b, ink);
        }
        img.hline(14 + ex, 18 + ex, 19 + b, ink);
        img.hline(15 + ex, 17 + ex, 20 + b, rgb(150, 30, 30));
    } else {
        pen.shaded(pen.circle(16, 16 + b, 3.5), gold, soft(2.0));
        pen.flat(pen.rect(15, 14 + b, 2, 5), rgb(150, 28, 34));
    }
    outline(img);
    return img;
}

using Painter = Image (*)(Dir, int);

void addCreature(AssetSet& set, const std::string& name, Painter paint, int walkCount, bool stillLast,
                 int speed, int stillIndex, Colour ember, const std::string& deathName) {
    std::vector<Image> walks[4];
    for (int d = 0; d < 4; ++d) {
        for (int i = 0; i < walkCount; ++i) walks[d].push_back(paint(Dir(d), i));
        if (stillLast) walks[d].push_back(paint(Dir(d), 0));
    }
    const int order[4] = {kRight, kLeft, kUp, kDown};
    for (int d : order) {
        Section& s = set.add(name + kDirNames[d], name, walks[d]);
        if (d == kDown) {
            s.with("animationSpeed", speed);
            if (stillIndex >= 0) s.with("stillFrameIndex", stillIndex);
        }
    }
    for (int d : order) set.add(name + "hit" + kDirNames[d], name, hitFrames(walks[d]));
    set.add(deathName, name, burstDeath(walks[kDown][0], ember, 6, 313u + unsigned(name.size())))
        .with("animationSpeed", 110);
}

}  // namespace

void addCreatureEnemies(AssetSet& set) {
    addCreature(set, "enemy2", mech, 4, true, 150, -1, rgb(255, 150, 50), "enemy2death");
    addCreature(set, "enemy4", blob, 4, false, 140, 0, rgb(200, 240, 255), "enemy4death");
    addCreature(set, "enemy5", lantern, 4, false, 150, 0, rgb(255, 200, 80), "enemy5death");
}

}  // namespace art
