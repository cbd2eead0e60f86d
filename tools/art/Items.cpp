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
// pictures, so every plate leaves that corner open: a digit of the game
// font stands in the cell's top-left 10 x 14 pixels, and the bite keeps
// the plate and its outline clear of them.
Mask countCorner(const Pen& pen) { return pen.roundRect(-8, -8, 20, 24, 4.0); }

// Rounded plate in the powerup's colour with a light sweeping across it.
Image plate(Colour base, int frame) {
    Image img(32, 32);
    Pen pen(img);
    Shading sh;
    sh.round = 3.0;
    const Mask corner = countCorner(pen);
    Mask m = pen.roundRect(3, 3, 26, 26, 6.0) - corner;
    pen.shaded(m, makeRamp(base), sh);
    Mask inner = pen.roundRect(6, 6, 20, 20, 4.0) - corner.dilated().dilated().dilated();
    Shading in;
    in.round = 2.0;
    in.bias = -0.18;
    pen.shaded(inner, makeRamp(shade(base, -0.15)), in);
    // shine band sweeping diagonally
    int offset = frame * 9 - 6;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            int d = x + y - 16 - offset;
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

Image powerup(int kind, int frame) {
    const Colour plates[8] = {rgb(56, 82, 170),  rgb(204, 76, 40),  rgb(150, 104, 64), rgb(38, 120, 106),
                              rgb(104, 54, 134), rgb(220, 168, 48), rgb(226, 226, 234), rgb(112, 114, 134)};
    Image img = plate(plates[kind], frame);
    Pen pen(img);
    Shading sh;
    sh.round = 3.0;
    const int bob = (frame == 1 || frame == 2) ? -1 : 0;
    switch (kind) {
        case 0: {  // bomb
            pen.shaded(pen.circle(15, 18 + bob, 6.5), makeRamp(rgb(50, 52, 74)), Shading{8.0});
            pen.flat(pen.ellipse(12.5, 15.5 + bob, 1.6, 1.1), rgb(220, 226, 246));
            pen.shaded(pen.rect(18, 10 + bob, 4, 3), makeRamp(rgb(170, 166, 176)), Shading{1.2});
            img.set(21, 9 + bob, rgb(214, 190, 140)), img.set(22, 8 + bob, rgb(214, 190, 140));
            img.set(23, 7 + bob, rgb(255, 236, 120)), img.set(24, 7 + bob, rgb(255, 160, 50));
            break;
        }
        case 1: {  // fire
            Pts outer = {{16, 6}, {20, 11}, {23, 16}, {23, 21}, {20, 25}, {12, 25}, {9, 21}, {9, 16}, {11, 12}, {13, 15}};
            for (auto& p : outer) p.second += bob;
            pen.shaded(pen.poly(outer), makeRamp(rgb(236, 80, 30)), sh);
            pen.shaded(pen.poly({{16, 12.0 + bob}, {20, 18.0 + bob}, {19, 23.0 + bob}, {13, 23.0 + bob}, {12, 18.0 + bob}}),
                       makeRamp(rgb(255, 190, 50)), Shading{2.0, false});
            pen.flat(pen.ellipse(16, 21 + bob, 2.2, 2.4), rgb(255, 250, 210));
            break;
        }
        case 2: {  // dynamite
            for (int k = 0; k < 2; ++k) {
                Pts stick = rotated({{12, 9}, {17, 9}, {17, 25}, {12, 25}}, 28, 16, 17);
                for (auto& p : stick) p.first += k * 5 - 3, p.second += bob;
                pen.shaded(pen.poly(stick), makeRamp(rgb(210, 50, 44)), Shading{2.0});
            }
            pen.shaded(pen.poly(rotated({{9, 16}, {24, 16}, {24, 19}, {9, 19}}, 28, 16, 17)) & pen.rect(0, 0, 32, 32),
                       makeRamp(rgb(232, 204, 124)), Shading{1.2});
            img.set(21, 9 + bob, rgb(214, 190, 140)), img.set(22, 8 + bob, rgb(214, 190, 140));
            img.set(23, 7 + bob, rgb(255, 236, 120)), img.set(24, 7 + bob, rgb(255, 160, 50));
            break;
        }
        case 3:
        case 4: {  // missile, homing missile
            bool homing = kind == 4;
            Colour body = homing ? rgb(220, 52, 46) : rgb(80, 190, 100);
            Pts hull = rotated({{8, 13.5}, {20, 13.5}, {25, 16}, {20, 18.5}, {8, 18.5}}, -45);
            Pts fins = rotated({{7, 10}, {12, 13}, {12, 19}, {7, 22}}, -45);
            for (auto* v : {&hull, &fins})
                for (auto& p : *v) p.second += bob;
            pen.shaded(pen.poly(fins), makeRamp(homing ? rgb(120, 40, 44) : rgb(50, 100, 64)), Shading{1.5});
            pen.shaded(pen.poly(hull), makeRamp(body), Shading{2.5});
            if (homing) {
                // crosshair: the homing mark
                Colour c = rgb(255, 246, 200);
                for (int k = -6; k <= 6; ++k)
                    if (std::abs(k) > 2) img.set(16 + k, 16 + bob, c), img.set(16, 16 + k + bob, c);
                Mask ring = pen.circle(16, 16.0 + bob, 5.5) - pen.circle(16, 16.0 + bob, 4.5);
                pen.flat(ring, c);
            }
            break;
        }
        case 5: {  // kick: a boot with speed lines
            Pts boot = {{14, 7}, {20, 7}, {20, 17}, {26, 19}, {27, 23}, {26, 25}, {13, 25}, {13, 19}};
            for (auto& p : boot) p.second += bob;
            pen.shaded(pen.poly(boot), makeRamp(rgb(140, 74, 44)), sh);
            pen.flat(pen.rect(13, 23 + bob, 14, 2), rgb(70, 40, 30));
            pen.flat(pen.rect(14, 9 + bob, 6, 2), rgb(236, 200, 120));
            for (int k = 0; k < 3; ++k) img.hline(5 + k, 10, 17 + k * 3 + bob, rgb(255, 250, 230));
            break;
        }
        case 6: {  // health: a medikit with its cross
            pen.shaded(pen.roundRect(8, 10, 16, 14, 2.0).shifted(0, bob), makeRamp(rgb(246, 246, 250)), Shading{2.0});
            pen.flat(pen.rect(13, 8 + bob, 6, 3) - pen.rect(14, 9 + bob, 4, 2), rgb(120, 120, 140));
            Mask cross = pen.rect(14, 12 + bob, 4, 10) | pen.rect(11, 15 + bob, 10, 4);
            pen.shaded(cross, makeRamp(rgb(226, 40, 48)), Shading{1.5});
            break;
        }
        default: {  // hammer
            Pts handle = rotated({{15, 10}, {17.5, 10}, {17.5, 27}, {15, 27}}, 35, 16, 17);
            Pts head = rotated({{9, 6}, {23, 6}, {23, 12}, {9, 12}}, 35, 16, 17);
            for (auto* v : {&handle, &head})
                for (auto& p : *v) p.second += bob;
            pen.shaded(pen.poly(handle), makeRamp(rgb(170, 112, 62)), Shading{1.5});
            pen.shaded(pen.poly(head), makeRamp(rgb(176, 180, 196)), Shading{2.0});
            break;
        }
    }
    finish(img);
    return img;
}

}  // namespace

Image powerupIcon(int kind, int frame) { return powerup(kind % 8, frame); }

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
