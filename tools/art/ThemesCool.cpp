// The shaded and cold stages: the tech base, the temple, the ice field and
// the arctic arena.
#include <algorithm>
#include <cmath>

#include "art/Noise.h"
#include "art/Themes.h"

namespace art {

namespace {

// ---- tech base -----------------------------------------------------------------

const Colour kSteel = rgb(104, 112, 130);

Image techFloor(int variant) {
    Image img = blank();
    switch (variant) {
        case 1: {  // the darker plate of the checkerboard, with a tread pattern
            const Ramp r = makeRamp(rgb(84, 92, 114));
            plate(img, r, 403);
            for (int y = 4; y < 28; y += 4)
                for (int x = 4 + (y / 4 % 2) * 2; x < 28; x += 4) {
                    img.set(x, y, r[4]);
                    img.set(x + 1, y + 1, r[2]);
                }
            return img;
        }
        default: plate(img, makeRamp(kSteel), 401); break;
    }
    Pen pen(img);
    switch (variant) {
        case 2: {  // a vent grate
            pen.shaded(pen.rect(6, 6, 20, 20), makeRamp(rgb(60, 64, 78)), soft(1.0));
            for (int y = 8; y < 25; y += 3) img.hline(8, 23, y, rgb(24, 26, 34));
            break;
        }
        case 3: {  // hazard stripes
            for (int y = 10; y < 22; ++y)
                for (int x = 2; x < 30; ++x) img.set(x, y, ((x + y) / 4) % 2 ? rgb(236, 184, 40) : rgb(40, 38, 44));
            img.hline(2, 29, 9, rgb(30, 30, 36));
            img.hline(2, 29, 22, rgb(30, 30, 36));
            break;
        }
        case 4: {  // a guide light set flush in the plate: a thin lit strip, not a gem to pick up
            const Colour glow = rgb(90, 210, 236);
            img.hline(4, 27, 15, rgb(30, 30, 36));
            img.hline(4, 27, 16, mix(img.at(16, 16), glow, 0.8));
            img.hline(4, 27, 17, rgb(30, 30, 36));
            for (int x = 4; x < 28; ++x)
                for (int y : {14, 18}) img.set(x, y, mix(img.at(x, y), glow, 0.25));
            break;
        }
        default: break;
    }
    return img;
}

Image machineBlock() {
    const Ramp steel = makeRamp(rgb(128, 136, 156));
    auto top = [&](Image& img) {
        plate(img, steel, 411);
        Pen pen(img);
        pen.shaded(pen.roundRect(7, 5, 18, 12, 2.0), makeRamp(rgb(40, 60, 80)), soft(1.5));
        pen.flat(pen.rect(9, 7, 14, 1), rgb(90, 220, 240));
        pen.flat(pen.rect(9, 10, 9, 1), rgb(90, 220, 240));
        pen.flat(pen.rect(9, 13, 11, 1), rgb(60, 160, 190));
    };
    auto face = [&](Image& img) {
        img.fill(steel[2]);
        for (int x = 3; x < 29; x += 5) img.vline(x, 2, 8, rgb(40, 44, 54));
        img.set(26, 5, rgb(255, 80, 60));
        img.set(23, 5, rgb(255, 210, 80));
    };
    return raisedBlock(top, face, 11);
}

Image supplyCrate() {
    Image obj = blank();
    Pen pen(obj);
    const Ramp orange = makeRamp(rgb(226, 132, 44)), dark = makeRamp(rgb(70, 70, 84));
    pen.shaded(pen.roundRect(3, 3, 26, 26, 2.0), dark, soft(2.0));
    pen.shaded(pen.rect(6, 6, 20, 20), orange, soft(2.0));
    Mask brace = pen.line(7, 7, 25, 25, 3.0) | pen.line(25, 7, 7, 25, 3.0);
    pen.shaded(brace & pen.rect(6, 6, 20, 20), dark, soft(1.0));
    pen.flat(pen.rect(13, 13, 6, 6), rgb(240, 230, 200));
    obj.set(15, 15, rgb(200, 40, 40)), obj.set(16, 15, rgb(200, 40, 40)), obj.set(15, 16, rgb(200, 40, 40)),
        obj.set(16, 16, rgb(200, 40, 40));
    return standing(techFloor(0), obj);
}

}  // namespace

Theme techTheme() {
    Theme t;
    t.folder = "tech";
    t.floor = techFloor;
    t.solid = machineBlock;
    t.solid2 = machineBlock;
    t.breakable = supplyCrate;
    const Ramp wall = makeRamp(rgb(78, 86, 106));
    t.wallTop = [wall](Image& img) {
        plate(img, wall, 421);
        img.hline(0, 31, 15, wall[1]);
        img.hline(0, 31, 16, wall[4]);
        hush(img, 0.5);
    };
    t.wallFace = [wall](Image& img) {
        img.fill(wall[2]);
        const int top = kWallFaceTop + 1;
        for (int y = top; y < top + 4; ++y)
            for (int x = 0; x < 32; ++x) img.set(x, y, ((x + y) / 3) % 2 ? rgb(236, 184, 40) : rgb(36, 34, 40));
        img.hline(0, 31, top + 6, wall[4]);
        img.hline(0, 31, top + 7, wall[3]);
        img.hline(0, 31, top + 8, wall[1]);
        img.set(8, top + 5, rgb(90, 220, 240));
        img.set(24, top + 5, rgb(255, 80, 60));
    };
    t.rim = makeRamp(rgb(110, 120, 146));
    t.dress = [](Image& img, Edge e, int) {
        if (e == Edge::TopLeft || e == Edge::TopRight || e == Edge::BottomLeft || e == Edge::BottomRight) {
            Pen pen(img);
            pen.shaded(pen.circle(16, 16, 8), makeRamp(rgb(70, 76, 96)), soft(5.0));
            pen.shaded(pen.circle(16, 16, 3.5), makeRamp(rgb(90, 210, 236)), soft(2.5, true, 0.2));
        }
    };
    return t;
}

// ---- temple ---------------------------------------------------------------------

namespace {

const Colour kWood = rgb(150, 98, 58);
const Colour kTatami = rgb(184, 174, 106);

Image boards() {
    Image img = blank();
    planks(img, makeRamp(kWood), 601, 8, false);
    return img;
}

// A tatami mat filling the cell, its cloth border on the given sides.
Image tatami(bool left, bool right, bool vertical) {
    Image img = blank();
    const Ramp r = makeRamp(kTatami);
    for (int y = 0; y < kTile; ++y)
        for (int x = 0; x < kTile; ++x) {
            int a = vertical ? x : y;
            int level = (a % 2 == 0) ? 3 : 4;
            if (hashUnit(x, y, 611) > 0.9) level = 2;
            img.set(x, y, r[level]);
        }
    const Ramp cloth = makeRamp(rgb(54, 66, 56));
    for (int k = 0; k < kTile; ++k) {
        if (vertical) {
            img.set(0, k, cloth[1]), img.set(1, k, cloth[3]), img.set(30, k, cloth[3]), img.set(31, k, cloth[1]);
        } else {
            img.set(k, 0, cloth[1]), img.set(k, 1, cloth[4]), img.set(k, 2, cloth[3]);
            img.set(k, 29, cloth[3]), img.set(k, 30, cloth[2]), img.set(k, 31, cloth[1]);
        }
        if (left) img.set(0, k, cloth[1]), img.set(1, k, cloth[3]), img.set(2, k, cloth[2]);
        if (right) img.set(29, k, cloth[3]), img.set(30, k, cloth[2]), img.set(31, k, cloth[1]);
    }
    return img;
}

Image templeFloor(int variant) {
    switch (variant) {
        case 1: return tatami(true, false, false);
        case 2: return tatami(false, true, false);
        case 3: return tatami(false, false, true);
        case 5: return tatami(false, false, false);
        case 4: {  // darker boards between the pillars
            Image img = blank();
            planks(img, makeRamp(shade(kWood, -0.15)), 621, 8, true);
            return img;
        }
        case 6:
        case 7: {  // boards with a carved border at the row's end
            Image img = boards();
            int x = variant == 6 ? 2 : 28;
            const Ramp dark = makeRamp(shade(kWood, -0.3));
            for (int y = 0; y < kTile; ++y) {
                img.set(x, y, dark[1]);
                img.set(x + 1, y, dark[4]);
                if (y % 8 == 4) img.set(x + (variant == 6 ? 2 : -1), y, rgb(214, 170, 70));
            }
            return img;
        }
        default: return boards();
    }
}

Image redPillar() {
    const Ramp lacquer = makeRamp(rgb(196, 56, 40)), gold = makeRamp(rgb(220, 170, 70));
    auto top = [&](Image& img) {
        planks(img, makeRamp(shade(kWood, -0.2)), 631, 8, false);
        Pen pen(img);
        pen.shaded(pen.roundRect(3, 1, 26, 20, 3.0), makeRamp(rgb(70, 60, 56)), soft(2.0));
        pen.shaded(pen.circle(16, 11, 8), lacquer, soft(6.0));
        pen.flat(pen.circle(16, 11, 8.6) - pen.circle(16, 11, 7.6), gold[3]);
    };
    auto face = [&](Image& img) {
        img.fill(lacquer[3]);
        for (int x = 0; x < 32; ++x) img.set(x, 22, gold[4]), img.set(x, 23, gold[2]);
        img.fillRect(0, 24, 32, 8, rgb(60, 50, 48));
    };
    return raisedBlock(top, face, 11);
}

Image shojiBox() {
    Image obj = blank();
    Pen pen(obj);
    const Ramp frame = makeRamp(rgb(110, 72, 44)), paper = makeRamp(rgb(240, 230, 206));
    pen.shaded(pen.rect(3, 3, 26, 26), frame, soft(1.5));
    pen.shaded(pen.rect(5, 5, 22, 22), paper, soft(2.0, false));
    for (int k = 0; k < 3; ++k) {
        obj.vline(5 + 7 * k + 6, 5, 26, frame[2]);
        obj.hline(5, 26, 5 + 7 * k + 6, frame[2]);
    }
    pen.flat(pen.circle(16, 16, 3) - pen.circle(16, 16, 2), rgb(200, 50, 40));
    return standing(templeFloor(0), obj);
}

}  // namespace

Theme templeTheme() {
    Theme t;
    t.folder = "temple";
    t.floor = templeFloor;
    t.solid = redPillar;
    t.solid2 = redPillar;
    t.breakable = shojiBox;
    const Ramp tile = makeRamp(rgb(92, 104, 124)), plaster = makeRamp(rgb(232, 224, 206));
    t.wallTop = [tile](Image& img) {
        // rows of round roof tiles
        img.fill(tile[1]);
        Pen pen(img);
        for (int k = 0; k < 4; ++k) pen.shaded(pen.rect(k * 8 + 1, 0, 6, 32), tile, soft(3.0));
        for (int y = 7; y < 32; y += 8) img.hline(0, 31, y, tile[0]);
        hush(img, 0.45);
    };
    t.wallFace = [plaster](Image& img) {
        img.fill(plaster[3]);
        const int top = kWallFaceTop + 1;
        for (int x = 0; x < 32; ++x) img.set(x, top, rgb(60, 44, 36)), img.set(x, top + 1, rgb(90, 64, 48)), img.set(x, 29, rgb(60, 44, 36));
        for (int x = 7; x < 32; x += 16) img.vline(x, top, 31, rgb(90, 64, 48));
    };
    t.rim = makeRamp(rgb(110, 80, 60));
    t.dress = [](Image& img, Edge e, int ornament) {
        Pen pen(img);
        const Ramp gold = makeRamp(rgb(222, 176, 70));
        bool corner = e == Edge::TopLeft || e == Edge::TopRight || e == Edge::BottomLeft || e == Edge::BottomRight;
        if (corner) {
            // a stone lantern at each corner
            pen.shaded(pen.roundRect(9, 12, 14, 14, 2.0), makeRamp(rgb(150, 150, 150)), soft(2.0));
            pen.shaded(pen.poly({{5, 13}, {16, 4}, {27, 13}}), makeRamp(rgb(130, 130, 136)), soft(2.0));
            pen.shaded(pen.rect(13, 16, 6, 6), makeRamp(rgb(255, 200, 90)), soft(2.0, true, 0.2));
        }
        // Along the top wall the ornaments hang on its face, below the roof
        // where the clock and the lives row are written.
        const bool top = e == Edge::Top;
        if (ornament == 1 || ornament == 3) {
            // a gold crest fitting beside the corner
            const double cy = top ? kWallFaceTop + 5.5 : 16, r = top ? 4.5 : 5;
            pen.shaded(pen.circle(16, cy, r), gold, soft(3.0));
            pen.flat(pen.circle(16, cy, 2), rgb(140, 40, 36));
        } else if (ornament == 2 || ornament == 4) {
            // a red beam end one further along
            const int y = top ? kWallFaceTop + 1 : 10, h = top ? 9 : 10;
            pen.shaded(pen.roundRect(10, y, 12, h, 2.0), makeRamp(rgb(190, 50, 40)), soft(2.0));
            pen.flat(pen.rect(12, y + h / 2 - 1, 8, 1), gold[4]);
        }
    };
    return t;
}

// ---- ice field and arctic arena --------------------------------------------------

namespace {

Image iceFloorWith(Colour base, uint32_t seed, int variant) {
    Image img = blank();
    const Ramp r = makeRamp(base);
    for (int y = 0; y < kTile; ++y)
        for (int x = 0; x < kTile; ++x) {
            double v = fractalNoise(x, y, 16, seed, 3, kTile);
            int level = v > 0.62 ? 4 : v < 0.36 ? 2 : 3;
            // polished streaks catching the light
            int d = (x + 2 * y + int(hashUnit(0, 0, seed) * 32)) % 32;
            if (d == 0 || d == 1) level = 5;
            img.set(x, y, r[level]);
        }
    Pen pen(img);
    switch (variant) {
        case 1: {  // powder snow blown over the ice
            // Thin, flat and ragged, no whiter than the ice's own polish and
            // with the ice showing through: a domed white lump would pass
            // for one of the snow blocks.
            const Colour powder = r[5];
            for (int y = 0; y < kTile; ++y)
                for (int x = 0; x < kTile; ++x) {
                    const double dx = (x - 15.5) / 15.0, dy = (y - 15.5) / 11.0;
                    const double edge = 1.0 - std::min(1.0, std::sqrt(dx * dx + dy * dy));
                    const double n = fractalNoise(x, y, 8, seed + 31, 3, kTile);
                    const double amount = std::clamp((n - 0.42) * 4.0, 0.0, 1.0) * std::min(1.0, edge * 2.5);
                    if (amount > 0) img.set(x, y, mix(img.at(x, y), powder, 0.7 * amount));
                }
            break;
        }
        case 2: {  // a crack
            Rng rng(seed);
            int x = 4, y = 6;
            for (int k = 0; k < 28; ++k) {
                img.set(x, y, r[1]);
                img.set(x, y + 1, r[5]);
                x += 1;
                y += rng.range(-1, 1);
            }
            break;
        }
        case 3: pebbles(img, makeRamp(rgb(120, 130, 150)), seed + 9, 5, 5, 5, 27, 27); break;
        case 4: {  // rime feathers grown along a hairline in the ice
            // Faint and one-sided, in the ice's own lights: a white star is
            // the very sign of something to pick up.
            const Colour rime = r[5];
            for (int k = 0; k < 20; ++k) {
                const int x = 6 + k, y = 24 - (k * 3) / 4;
                img.set(x, y, mix(img.at(x, y), rime, 0.7));
                if (k % 4 != 1 || k > 17) continue;
                for (int j = 1; j <= 3 - k / 8; ++j) {
                    img.set(x - j, y - j, mix(img.at(x - j, y - j), rime, 0.55));
                    img.set(x + j, y + j / 2 + 1, mix(img.at(x + j, y + j / 2 + 1), rime, 0.45));
                }
            }
            break;
        }
        default: break;
    }
    return img;
}

Image iceBlockWith(Colour base) {
    const Ramp ice = makeRamp(base);
    auto top = [&](Image& img) {
        img.fill(ice[4]);
        Pen pen(img);
        pen.shaded(pen.rect(1, 1, 30, 30), ice, soft(5.0, false, 0.15));
        img.frameRect(0, 0, 32, 32, ice[1]);
        img.line(5, 17, 17, 5, ice[5]);
        img.line(6, 17, 18, 5, ice[5]);
        img.line(10, 19, 20, 9, ice[5]);
    };
    auto face = [&](Image& img) {
        img.fill(ice[1]);
        for (int x = 3; x < 32; x += 7) img.vline(x, 0, 31, ice[2]);
        for (int x = 1; x < 32; x += 5) img.vline(x, 22, 22 + (x * 3) % 4, ice[4]);
    };
    return raisedBlock(top, face, 11);
}

Image snowBlock(Colour tint, uint32_t seed) {
    Image obj = blank();
    Pen pen(obj);
    const Ramp snow = makeRamp(rgb(232, 240, 250));
    Mask m = pen.roundRect(3, 5, 26, 24, 6.0) | pen.circle(12, 8, 6) | pen.circle(21, 9, 5);
    pen.shaded(m, snow, soft(6.0));
    Rng rng(seed);
    for (int k = 0; k < 5; ++k) {
        int x = rng.range(6, 24);
        pen.shaded(pen.poly({{double(x), 26}, {x + 3.0, 26}, {x + 1.5, 30}}), makeRamp(tint), soft(1.0));
    }
    pen.flat(pen.line(8, 16, 14, 20, 1.0) | pen.line(14, 20, 20, 17, 1.0), shade(tint, -0.2));
    return obj;
}

Image crystals(Colour tint) {
    Image obj = blank();
    Pen pen(obj);
    const Ramp r = makeRamp(tint);
    pen.shaded(pen.poly({{9, 28}, {6, 12}, {11, 6}, {14, 28}}), r, soft(1.5));
    pen.shaded(pen.poly({{13, 29}, {13, 8}, {17, 2}, {21, 8}, {21, 29}}), r, soft(2.0));
    pen.shaded(pen.poly({{19, 29}, {23, 10}, {27, 14}, {25, 29}}), r, soft(1.5));
    obj.vline(16, 6, 25, r[5]);
    return obj;
}

const Colour kIce = rgb(150, 204, 234);
const Colour kNightIce = rgb(104, 150, 206);

Fill snowTop(uint32_t seed) {
    return [seed](Image& img) { noiseFill(img, makeRamp(rgb(226, 236, 248)), seed, 8, 3, 5); };
}

Fill rockFace(Colour rock) {
    return [rock](Image& img) {
        bricks(img, makeRamp(rock), 701, 10, 6, shade(rock, -0.6));
        // icicles along the top of the face
        for (int x = 1; x < 32; x += 4) {
            int len = 2 + (x * 7) % 5;
            for (int k = 0; k < len; ++k) img.set(x, kWallFaceTop + 1 + k, rgb(226, 244, 255));
        }
    };
}

}  // namespace

Theme iceTheme() {
    Theme t;
    t.folder = "ice";
    t.floor = [](int v) { return iceFloorWith(kIce, 801, v); };
    t.solid = [] { return iceBlockWith(rgb(130, 200, 236)); };
    t.solid2 = t.solid;
    t.breakable = [] { return standing(iceFloorWith(kIce, 801, 0), snowBlock(rgb(200, 236, 252), 11)); };
    t.wallTop = snowTop(811);
    t.wallFace = rockFace(rgb(96, 108, 132));
    t.rim = makeRamp(rgb(200, 220, 240));
    t.dress = [](Image& img, Edge e, int) {
        if (e == Edge::TopLeft || e == Edge::TopRight || e == Edge::BottomLeft || e == Edge::BottomRight) {
            Pen pen(img);
            pen.shaded(pen.poly({{6, 26}, {12, 8}, {16, 12}, {20, 4}, {26, 26}}), makeRamp(rgb(130, 150, 176)), soft(2.0));
            pen.shaded(pen.poly({{10, 14}, {12, 8}, {16, 12}, {20, 4}, {23, 13}}), makeRamp(rgb(240, 246, 252)), soft(1.5));
        }
    };
    return t;
}

Theme arcticTheme() {
    Theme t;
    t.folder = "arctic";
    t.floor = [](int v) { return iceFloorWith(kNightIce, 901, v); };
    t.solid = [] { return iceBlockWith(rgb(90, 140, 200)); };
    t.solid2 = t.solid;
    t.breakable = [] { return standing(iceFloorWith(kNightIce, 901, 0), crystals(rgb(150, 220, 250))); };
    t.wallTop = snowTop(911);
    t.wallFace = rockFace(rgb(70, 80, 110));
    t.rim = makeRamp(rgb(180, 200, 230));
    t.dress = [](Image& img, Edge e, int) {
        if (e == Edge::TopLeft || e == Edge::TopRight || e == Edge::BottomLeft || e == Edge::BottomRight) {
            Image c = crystals(rgb(150, 220, 250));
            outline(c);
            img.blit(c, 0, 0);
        }
    };
    return t;
}

}  // namespace art
