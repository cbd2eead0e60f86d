// Things lying on the field: the pulsing bomb, the dynamite bundle and the
// eight powerup plates.
#include <cmath>
#include <string>
#include <vector>

#include "art/Paint.h"
#include "art/Sprites.h"

namespace art {

namespace {

constexpr double kPi = 3.14159265358979323846;

using Pts = std::vector<std::pair<double, double>>;

Pts rotated(const Pts& pts, double deg, double cx = 16, double cy = 16) {
    double a = deg * kPi / 180.0, c = std::cos(a), s = std::sin(a);
    Pts out;
    for (const auto& p : pts) {
        double x = p.first - cx, y = p.second - cy;
        out.push_back({cx + x * c - y * s, cy + x * s + y * c});
    }
    return out;
}

void spark(Image& img, int x, int y, int frame) {
    const Colour hot = rgb(255, 250, 210), warm = rgb(255, 200, 60), red = rgb(255, 110, 40);
    int r = 1 + (frame % 2);
    for (int k = -r - 1; k <= r + 1; ++k) {
        img.set(x + k, y, std::abs(k) <= r - 1 ? hot : warm);
        img.set(x, y + k, std::abs(k) <= r - 1 ? hot : warm);
    }
    if (frame % 2 == 1) {
        img.set(x - 2, y - 2, red), img.set(x + 2, y - 2, red), img.set(x - 2, y + 2, red), img.set(x + 2, y + 2, red);
    }
    img.set(x, y, hot);
}

Image bombSprite(int frame, double r, double cx, double cy, bool glow) {
    Image img(32, 32);
    Pen pen(img);
    Shading sh;
    sh.round = 12;
    Colour body = glow ? rgb(96, 52, 70) : rgb(54, 56, 80);
    pen.shaded(pen.circle(cx, cy, r), makeRamp(body), sh);
    // a bright window reflection
    pen.flat(pen.ellipse(cx - r * 0.42, cy - r * 0.45, r * 0.22, r * 0.16), rgb(226, 232, 250));
    Shading cap;
    cap.round = 1.5;
    pen.shaded(pen.rect(int(cx + r * 0.35), int(cy - r - 1.5), 5, 4), makeRamp(rgb(170, 166, 176)), cap);
    // the fuse
    int fx = int(cx + r * 0.35) + 2, fy = int(cy - r - 1.5);
    Colour rope = rgb(214, 190, 140);
    img.set(fx, fy - 1, rope), img.set(fx + 1, fy - 2, rope), img.set(fx + 1, fy - 3, rope), img.set(fx + 2, fy - 4, rope);
    outline(img);
    spark(img, fx + 3, fy - 5, frame);
    return img;
}

Image dynamiteSprite(int frame) {
    Image img(32, 32);
    Pen pen(img);
    Shading sh;
    sh.round = 2.5;
    const int lean = (frame % 2) ? 1 : 0;
    for (int k = 0; k < 3; ++k) {
        int x = 8 + k * 5 + (k == 1 ? 0 : 0);
        int top = (k == 1 ? 9 : 11) + lean * (k == 1 ? 0 : 1);
        Mask stick = pen.roundRect(x, top, 6, 29 - top, 2.0);
        pen.shaded(stick, makeRamp(rgb(206, 52, 44)), sh);
        pen.shaded(pen.ellipse(x + 3, top + 1.5, 2.6, 1.4), makeRamp(rgb(236, 210, 170)), sh);
    }
    Mask band = pen.rect(7, 19, 18, 4);
    pen.shaded(band & pen.roundRect(7, 8, 18, 22, 2.0), makeRamp(rgb(230, 200, 120)), sh);
    pen.flat(pen.rect(7, 20, 18, 1), rgb(160, 120, 60));
    Colour rope = rgb(214, 190, 140);
    img.set(16, 8, rope), img.set(16, 7, rope), img.set(17, 6, rope), img.set(18, 5, rope);
    outline(img);
    spark(img, 19, 4, frame);
    return img;
}

// The HUD writes a player's counts over the top-left corner of these
// pictures, and counts pass 9: two digits of the game font stand in the
// cell's top-left 20 x 14 pixels. Every powerup leaves that corner open,
// with a pixel to spare round the digits for the outline, so its plate is a
// low pad along the bottom of the cell and the picture stands on the pad,
// rising up its right-hand end. The cell's outermost pixels stay empty too:
// under the HUD icons the panel's frame runs just below the cell.
constexpr int kOpenRight = 22;   // first column right of the open corner
constexpr int kOpenBottom = 16;  // first row below it

Mask countCorner(const Pen& pen) { return pen.rect(0, 0, kOpenRight, kOpenBottom); }

// The pad in the powerup's colour with a light sweeping across it.
Image plate(Colour base, int frame) {
    Image img(32, 32);
    Pen pen(img);
    Mask m = pen.roundRect(2, kOpenBottom, 28, 14, 5.0);
    pen.shaded(m, makeRamp(base), soft(3.0));
    Mask inner = m.eroded().eroded().eroded();
    pen.shaded(inner, makeRamp(shade(base, -0.15)), soft(2.0, true, -0.18));
    // shine band sweeping diagonally
    int offset = frame * 9 - 4;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            int d = x + y - 30 - offset;
            if ((d == 0 || d == 1) && m.at(x, y) && !inner.eroded().at(x, y)) img.set(x, y, shade(base, 0.7));
        }
    return img;
}

// Closes the picture; whatever strayed into the count corner is cut away
// first, so the outline cannot creep into it either.
void finish(Image& img) {
    Pen pen(img);
    const Mask corner = countCorner(pen);
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (corner.at(x, y)) img.set(x, y, kKey);
    outline(img);
}

Pts moved(Pts pts, double dx, double dy) {
    for (auto& p : pts) p.first += dx, p.second += dy;
    return pts;
}

// A lit fuse: the rope, and at its end a small spark that twinkles,
// its rays turning from diagonal to upright frame by frame.
void fuse(Image& img, const Pts& rope, int sx, int sy, int frame) {
    for (const auto& p : rope) img.set(int(p.first), int(p.second), rgb(214, 190, 140));
    const Colour hot = rgb(255, 250, 210), warm = rgb(255, 200, 60), red = rgb(255, 110, 40);
    const bool upright = frame % 2 == 1;
    for (int k = 1; k <= 2; ++k) {
        const Colour c = k == 1 ? warm : red;
        for (int sign : {-1, 1}) {
            if (upright) img.set(sx + sign * k, sy, c), img.set(sx, sy + sign * k, c);
            else img.set(sx + sign * k, sy + k, c), img.set(sx + sign * k, sy - k, c);
        }
    }
    img.set(sx, sy, hot);
}

// Each powerup's plate colour, in powerup order.
const Colour kPlates[8] = {rgb(56, 82, 170),  rgb(204, 76, 40),  rgb(112, 78, 56), rgb(38, 120, 106),
                           rgb(104, 54, 134), rgb(220, 168, 48), rgb(226, 226, 234), rgb(112, 114, 134)};

// The pictures on the pads. `bob` lifts a picture a pixel on the middle
// frames; each keeps the count corner clear at either height.
void paintBomb(Image& img, int bob, int frame) {
    // Low on the pad with a short fuse bent to the right: the HUD writes
    // the bomb count left of it and the fire count right of it, and a spark
    // up between the two would read as a sign between the numbers.
    Pen pen(img);
    pen.shaded(pen.circle(16.5, 23.6 + bob, 6.2), makeRamp(rgb(50, 52, 74)), soft(8.0));
    pen.flat(pen.ellipse(14, 20.9 + bob, 1.7, 1.2), rgb(220, 226, 246));
    const Pts cap = rotated({{-2.5, -1.5}, {2.5, -1.5}, {2.5, 1.5}, {-2.5, 1.5}}, -45, 0, 0);
    pen.shaded(pen.poly(moved(cap, 21.2, 19.2 + bob)), makeRamp(rgb(170, 166, 176)), soft(1.2));
    fuse(img, moved({{23, 18}, {24, 18}, {25, 19}}, 0, bob), 27, 19 + bob, frame);
}

void paintFire(Image& img, int bob) {
    Pen pen(img);
    // a flame licking up the right-hand end
    Pts outer = {{24, 2},  {27, 7},  {29, 13}, {30, 19}, {29, 24}, {26, 28}, {20, 30}, {14, 29}, {10, 26},
                 {9, 22},  {10, 17}, {13, 21}, {15, 19}, {18, 17}, {22, 17}, {22, 12}, {23, 8}};
    pen.shaded(pen.poly(moved(outer, 0, bob)), makeRamp(rgb(236, 80, 30)), soft(3.0));
    Pts core = {{25, 10}, {27, 15}, {27, 22}, {24, 27}, {17, 28}, {13, 25}, {15, 22}, {18, 22}, {22, 19}, {24, 15}};
    pen.shaded(pen.poly(moved(core, 0, bob)), makeRamp(rgb(255, 190, 50)), soft(2.0, false));
    pen.flat(pen.ellipse(21, 24.5 + bob, 3.4, 2.5), rgb(255, 250, 210));
}

void paintDynamite(Image& img, int bob, int frame) {
    Pen pen(img);
    // a bundle lying along the pad, its fuse rising at the end
    for (int k = 0; k < 3; ++k) {
        const int x = k == 1 ? 4 : 5, y = 17 + k * 4 + bob;
        pen.shaded(pen.roundRect(x, y, 20, 4, 1.5), makeRamp(rgb(210, 50, 44)), soft(2.0));
        pen.shaded(pen.ellipse(x + 1.2, y + 2, 1.2, 1.9), makeRamp(rgb(236, 210, 170)), soft(1.0));
    }
    pen.shaded(pen.rect(11, 17 + bob, 4, 12), makeRamp(rgb(232, 204, 124)), soft(1.2));
    Pts rope = {{24, 22}, {25, 21}};
    for (int y = 20; y >= 14; --y) rope.push_back({25, y});
    rope.push_back({26, 13});
    fuse(img, moved(rope, 0, bob), 27, 11 + bob, frame);
}

void paintMissile(Image& img, int bob, bool homing) {
    Pen pen(img);
    const Colour body = homing ? rgb(220, 52, 46) : rgb(80, 190, 100);
    const Colour dark = homing ? rgb(120, 40, 44) : rgb(50, 100, 64);
    // a rocket climbing out of the pad
    const double cx = 22.8, cy = 19.4 + bob, turn = -50;
    auto along = [&](Pts pts) { return moved(rotated(pts, turn, 0, 0), cx, cy); };
    pen.shaded(pen.poly(along({{-13, 0}, {-10, -2}, {-10, 2}})), makeRamp(rgb(255, 170, 50)), soft(1.0, false));
    pen.shaded(pen.poly(along({{-10.5, -4.5}, {-5, -2.5}, {-5, 2.5}, {-10.5, 4.5}})), makeRamp(dark), soft(1.5));
    pen.shaded(pen.poly(along({{-10, -2.5}, {6, -2.5}, {12, 0}, {6, 2.5}, {-10, 2.5}})), makeRamp(body), soft(2.5));
    pen.shaded(pen.poly(along({{6, -2.5}, {12, 0}, {6, 2.5}})), makeRamp(dark), soft(1.5, false));
    pen.flat(pen.poly(along({{2, -2.5}, {3.5, -2.5}, {3.5, 2.5}, {2, 2.5}})), shade(body, 0.6));
    if (homing) {
        // crosshair: the homing mark
        const Colour c = rgb(255, 246, 200);
        const int tx = 23, ty = 22 + bob;
        for (int k = -6; k <= 6; ++k)
            if (std::abs(k) > 2) img.set(tx + k, ty, c), img.set(tx, ty + k, c);
        pen.flat(pen.circle(tx + 0.5, ty + 0.5, 5.0) - pen.circle(tx + 0.5, ty + 0.5, 4.0), c);
    }
}

void paintBoot(Image& img, int bob) {
    Pen pen(img);
    // a boot, its leg up the right-hand end and its toe out along the pad
    const Pts boot = moved({{22, 5}, {29, 5}, {29, 25}, {28, 27}, {12, 27}, {9, 26}, {8, 24}, {9, 22}, {13, 21},
                            {18, 20}, {22, 17}},
                           0, bob);
    const Mask shape = pen.poly(boot);
    pen.shaded(shape, makeRamp(rgb(204, 146, 80)), soft(3.0));
    pen.flat(pen.rect(8, 26 + bob, 22, 2) & shape, rgb(120, 74, 44));
    pen.flat(pen.rect(24, 24 + bob, 6, 4) & shape, rgb(96, 58, 38));
    pen.shaded(pen.rect(22, 5 + bob, 8, 2), makeRamp(rgb(120, 74, 44)), soft(1.0));
    for (int y : {10, 13, 16}) img.set(23, y + bob, rgb(96, 58, 38)), img.set(24, y + bob - 1, rgb(96, 58, 38));
    // the swing
    const Colour line = rgb(255, 250, 230);
    img.hline(4, 8, 20 + bob, line), img.hline(3, 6, 23 + bob, line);
}

void paintMedikit(Image& img, int bob) {
    Pen pen(img);
    // a medikit: a red case with its handle and white cross
    pen.shaded(pen.roundRect(14, 17 + bob, 11, 5, 2.0) - pen.rect(16, 19 + bob, 7, 3), makeRamp(rgb(120, 116, 136)),
               soft(1.0));
    pen.shaded(pen.roundRect(9, 20 + bob, 21, 10, 2.0), makeRamp(rgb(214, 44, 52)), soft(2.0));
    const Mask cross = pen.rect(17, 21 + bob, 5, 8) | pen.rect(14, 23 + bob, 11, 4);
    pen.shaded(cross, makeRamp(rgb(246, 244, 248)), soft(1.5, false));
}

void paintHammer(Image& img, int bob) {
    Pen pen(img);
    // a sledgehammer standing on its head, the handle up the right-hand end
    const Mask handle = pen.roundRect(23, 4, 4, 20, 1.5).shifted(0, bob);
    pen.shaded(handle, makeRamp(rgb(170, 112, 62)), soft(1.5));
    pen.shaded(pen.roundRect(22, 3, 6, 6, 1.5).shifted(0, bob), makeRamp(rgb(70, 60, 84)), soft(1.5));
    const Mask head = pen.roundRect(13, 19, 21, 9, 2.0) - pen.rect(30, 0, 2, 32);
    pen.shaded(head.shifted(0, bob), makeRamp(rgb(186, 190, 206)), soft(2.0));
    pen.shaded(pen.rect(13, 19, 3, 9).shifted(0, bob) & head.shifted(0, bob), makeRamp(rgb(136, 140, 158)), soft(1.0));
}

Image powerup(int kind, int frame) {
    Image img = plate(kPlates[kind], frame);
    const int bob = (frame == 1 || frame == 2) ? -1 : 0;
    switch (kind) {
        case 0: paintBomb(img, bob, frame); break;
        case 1: paintFire(img, bob); break;
        case 2: paintDynamite(img, bob, frame); break;
        case 3: paintMissile(img, bob, false); break;
        case 4: paintMissile(img, bob, true); break;
        case 5: paintBoot(img, bob); break;
        case 6: paintMedikit(img, bob); break;
        default: paintHammer(img, bob); break;
    }
    finish(img);
    return img;
}

// ---- the help page's small pictures ---------------------------------------

// Drawn at 16 x 16 rather than halved from the field's pictures, whose
// plates would fill a halved picture and leave each thing on it a few
// pixels: there dynamite and the two missiles looked alike. Each stands on
// a thin plate of its powerup's colour.
Image badge(int kind) {
    Image img(16, 16);
    Pen pen(img);
    pen.shaded(pen.roundRect(1, 11, 14, 4, 1.5), makeRamp(kPlates[kind]), soft(1.5));
    const Colour hot = rgb(255, 250, 210), warm = rgb(255, 200, 60);
    auto spark = [&](int x, int y) {
        img.set(x, y, hot);
        img.set(x - 1, y, warm), img.set(x + 1, y, warm), img.set(x, y - 1, warm), img.set(x, y + 1, warm);
    };
    // a rocket climbing from the lower left to the upper right, as on the
    // field's plates
    auto rocket = [&](Colour body, Colour dark) {
        auto along = [](Pts pts) { return moved(rotated(pts, -45, 0, 0), 9, 6.5); };
        pen.shaded(pen.poly(along({{-5, -1.8}, {2.5, -1.8}, {6, 0}, {2.5, 1.8}, {-5, 1.8}})), makeRamp(body), soft(1.5));
        pen.flat(pen.poly(along({{2.5, -1.8}, {6, 0}, {2.5, 1.8}})), dark);
        // fins and exhaust over the tail, light enough to show on the plate
        pen.flat(pen.poly(along({{-5.5, -3.8}, {-3, -1.5}, {-5, -1.5}})) | pen.poly(along({{-5.5, 3.8}, {-3, 1.5}, {-5, 1.5}})),
                 rgb(200, 196, 206));
        pen.flat(pen.poly(along({{-8.5, 0}, {-5, -1.4}, {-5, 1.4}})), rgb(255, 190, 60));
        const auto tip = along({{-6, 0}});
        img.set(int(tip[0].first), int(tip[0].second), rgb(255, 250, 210));
    };
    switch (kind) {
        case 0:  // a bomb with its fuse lit
            pen.shaded(pen.circle(7, 8.5, 4.6), makeRamp(rgb(50, 52, 74)), soft(6.0));
            img.set(5, 6, rgb(220, 226, 246));
            pen.shaded(pen.rect(9, 3, 3, 2), makeRamp(rgb(170, 166, 176)), soft(1.0));
            img.set(12, 2, rgb(214, 190, 140));
            spark(13, 1);
            break;
        case 1: {  // a flame
            pen.shaded(pen.poly({{8, 0}, {11, 4}, {13, 8}, {12, 12}, {8, 13}, {4, 12}, {3, 8}, {5, 5}, {6, 7}}),
                       makeRamp(rgb(236, 80, 30)), soft(2.0));
            pen.shaded(pen.poly({{8, 5}, {10, 8}, {10, 11}, {8, 12}, {6, 11}, {6, 9}}), makeRamp(rgb(255, 190, 50)),
                       soft(1.5, false));
            img.set(8, 10, rgb(255, 250, 210));
            break;
        }
        case 2:  // three sticks of dynamite, upright, bound, a fuse lit
            for (int k = 0; k < 3; ++k) pen.shaded(pen.rect(3 + k * 3, k == 1 ? 4 : 5, 3, k == 1 ? 9 : 8), makeRamp(rgb(210, 50, 44)), soft(1.0));
            pen.flat(pen.rect(3, 8, 9, 2), rgb(232, 204, 124));
            img.set(8, 3, rgb(214, 190, 140)), img.set(9, 2, rgb(214, 190, 140));
            spark(11, 1);
            break;
        case 3: rocket(rgb(80, 190, 100), rgb(40, 96, 56)); break;
        case 4: {  // the red rocket in the rings of a target
            const Colour c = rgb(255, 246, 200);
            pen.flat(pen.circle(12, 3.5, 3.8) - pen.circle(12, 3.5, 2.7), c);
            rocket(rgb(220, 52, 46), rgb(120, 36, 40));
            break;
        }
        case 5: {  // a boot
            const Mask boot = pen.poly({{9, 1}, {14, 1}, {14, 12}, {3, 12}, {2, 10}, {5, 8}, {9, 7}});
            pen.shaded(boot, makeRamp(rgb(204, 146, 80)), soft(1.5));
            pen.flat(pen.rect(2, 11, 13, 1) & boot, rgb(110, 66, 40));
            pen.shaded(pen.rect(9, 1, 6, 2), makeRamp(rgb(120, 74, 44)), soft(1.0));
            break;
        }
        case 6:  // a medikit
            pen.shaded(pen.rect(6, 2, 5, 2) - pen.rect(7, 3, 3, 1), makeRamp(rgb(120, 116, 136)), soft(1.0));
            pen.shaded(pen.roundRect(2, 4, 13, 9, 1.5), makeRamp(rgb(214, 44, 52)), soft(1.5));
            pen.flat(pen.rect(7, 5, 3, 7) | pen.rect(5, 7, 7, 3), rgb(246, 244, 248));
            break;
        default:  // a sledgehammer, head down
            pen.shaded(pen.rect(9, 1, 2, 8), makeRamp(rgb(170, 112, 62)), soft(1.0));
            pen.shaded(pen.roundRect(4, 8, 11, 5, 1.2), makeRamp(rgb(186, 190, 206)), soft(1.5));
            break;
    }
    outline(img);
    return img;
}

}  // namespace

Image powerupIcon(int kind, int frame) { return powerup(kind % 8, frame); }

Image powerupBadge(int kind) { return badge(kind % 8); }

Image bombPicture(int frame) {
    const double r[4] = {9.5, 10.2, 10.8, 10.2}, cy[4] = {18, 17.6, 17.3, 17.6};
    return bombSprite(frame & 3, r[frame & 3], 16, cy[frame & 3], (frame & 3) == 2);
}

void addItems(AssetSet& set) {
    std::vector<Image> bomb;
    for (int f = 0; f < 4; ++f) bomb.push_back(bombPicture(f));
    set.add("bomb", "bomb", bomb);
    std::vector<Image> dyn;
    for (int f = 0; f < 4; ++f) dyn.push_back(dynamiteSprite(f));
    set.add("dynamite", "bomb", dyn);

    const char* names[8] = {"bombpowerup",    "explosionpowerup",     "dynamitepowerup", "missilepowerup",
                            "homingmissilepowerup", "kickpowerup", "healthpowerup",   "hammerpowerup"};
    for (int k = 0; k < 8; ++k) {
        std::vector<Image> frames;
        for (int f = 0; f < 4; ++f) frames.push_back(powerup(k, f));
        set.add(names[k], "powerup", frames);
    }
}

}  // namespace art
