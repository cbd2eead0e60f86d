// The sunlit stages: the training ground, the courtyard, the desert
// fortress and the palace.
#include <cmath>

#include "art/Noise.h"
#include "art/Themes.h"

namespace art {

namespace {

constexpr double kPi = 3.14159265358979323846;

// ---- training ground ---------------------------------------------------------

const Colour kDirt = rgb(176, 140, 96);

Image dirt(uint32_t seed) {
    Image img = blank();
    noiseFill(img, makeRamp(kDirt), seed, 8);
    pebbles(img, makeRamp(rgb(160, 150, 140)), seed + 1, 3);
    return img;
}

Image trainingFloor(int variant) {
    Image img = dirt(101);
    Pen pen(img);
    switch (variant) {
        case 1: pebbles(img, makeRamp(rgb(170, 160, 150)), 211, 7, 4, 4, 28, 28); break;
        case 2: {  // a tuft of grass
            const Colour blades[3] = {rgb(96, 150, 64), rgb(124, 176, 76), rgb(70, 118, 52)};
            Rng rng(5);
            for (int k = 0; k < 14; ++k) {
                int x = 10 + rng.range(0, 12), h = 3 + rng.range(0, 5);
                int lean = rng.range(-1, 1);
                for (int j = 0; j < h; ++j) img.set(x + (j * lean) / 3, 22 - j, blades[k % 3]);
            }
            break;
        }
        case 3: {  // a target scratched into the dirt
            // A groove with a lit lip below it, in the dirt's own colours: a
            // bright ring would pass for something to pick up.
            Mask ring = pen.circle(16, 16, 11) - pen.circle(16, 16, 9.8);
            ring |= pen.circle(16, 16, 5.5) - pen.circle(16, 16, 4.4);
            const Mask lip = ring.shifted(0, 1) - ring;
            for (int y = 0; y < kTile; ++y)
                for (int x = 0; x < kTile; ++x) {
                    if (hashUnit(x, y, 9) < 0.15) continue;
                    if (ring.at(x, y)) img.set(x, y, shade(img.at(x, y), -0.22));
                    else if (lip.at(x, y)) img.set(x, y, shade(img.at(x, y), 0.12));
                }
            break;
        }
        default: {  // a puddle soaked into the dirt
            // Flat and see-through, with wet dirt round it: a shaded blue
            // lump would look like something to pick up.
            const Mask p = pen.ellipse(15, 17, 9, 5.5) | pen.ellipse(20, 15, 5, 4);
            const Mask wet = p.dilated().dilated();
            for (int y = 0; y < kTile; ++y)
                for (int x = 0; x < kTile; ++x) {
                    if (p.at(x, y)) img.set(x, y, mix(shade(img.at(x, y), -0.3), rgb(110, 126, 146), 0.45));
                    else if (wet.at(x, y)) img.set(x, y, shade(img.at(x, y), -0.18));
                }
            img.hline(12, 15, 15, mix(img.at(13, 15), rgb(220, 234, 246), 0.5));
            break;
        }
        case 0: break;
    }
    return img;
}

Image trainingCrate() {
    const Ramp wood = makeRamp(rgb(168, 116, 66));
    auto top = [&](Image& img) {
        planks(img, wood, 31, 8, false);
        img.frameRect(0, 0, 32, 32, wood[1]);
        bevel(img, 1, 1, 4, 4, makeRamp(rgb(150, 150, 160)));
        bevel(img, 27, 1, 4, 4, makeRamp(rgb(150, 150, 160)));
    };
    auto face = [&](Image& img) {
        planks(img, wood, 37, 8, true);
        for (int x : {2, 28}) img.vline(x, 0, 31, rgb(120, 120, 132));
    };
    return raisedBlock(top, face, 10);
}

Image palisade() {
    const Ramp bark = makeRamp(rgb(132, 90, 54)), end = makeRamp(rgb(206, 166, 112));
    auto top = [&](Image& img) {
        img.fill(bark[1]);
        Pen pen(img);
        for (int k = 0; k < 4; ++k) {
            double cx = 4 + k * 8;
            pen.shaded(pen.circle(cx, 11, 4.2), end, soft(2.0));
            pen.flat(pen.circle(cx, 11, 2.2) - pen.circle(cx, 11, 1.4), end[2]);
        }
        for (int y = 0; y < 6; ++y) img.hline(0, 31, y, bark[2]);
    };
    auto face = [&](Image& img) {
        img.fill(bark[3]);
        for (int k = 0; k < 4; ++k) {
            int x = k * 8;
            img.vline(x, 0, 31, bark[0]);
            img.vline(x + 1, 0, 31, bark[4]);
            img.vline(x + 6, 0, 31, bark[2]);
            img.vline(x + 7, 0, 31, bark[1]);
        }
        img.hline(0, 31, 26, rgb(110, 110, 124));
    };
    return raisedBlock(top, face, 16);
}

Image hayBale() {
    Image obj = blank();
    Pen pen(obj);
    const Ramp straw = makeRamp(rgb(226, 186, 84));
    Mask bale = pen.roundRect(3, 5, 26, 23, 4.0);
    pen.shaded(bale, straw, soft(3.0));
    Rng rng(17);
    for (int k = 0; k < 40; ++k) {
        int x = rng.range(5, 26), y = rng.range(7, 25), len = rng.range(2, 4);
        for (int j = 0; j < len; ++j) obj.setOnSolid(x + j, y, straw[rng.chance(0.5) ? 2 : 4]);
    }
    for (int x : {10, 21}) {
        Mask band = pen.rect(x, 5, 2, 23) & bale;
        pen.flat(band, rgb(120, 72, 44));
    }
    return standing(trainingFloor(0), obj);
}

}  // namespace

Theme trainingTheme() {
    Theme t;
    t.folder = "training";
    t.floor = trainingFloor;
    t.solid = trainingCrate;
    t.solid2 = palisade;
    t.breakable = hayBale;
    const Ramp stone = makeRamp(rgb(150, 144, 134));
    t.wallTop = [stone](Image& img) {
        paving(img, stone, 61, 16, 16, true, stone[1]);
        hush(img, 0.5);
    };
    t.wallFace = [stone](Image& img) { bricks(img, stone, 67, 16, 7, stone[1]); };
    t.rim = stone;
    t.dress = [](Image& img, Edge e, int) {
        if (e == Edge::TopLeft || e == Edge::TopRight || e == Edge::BottomLeft || e == Edge::BottomRight) {
            Pen pen(img);
            pen.shaded(pen.circle(16, 16, 7), makeRamp(rgb(132, 90, 54)), soft(3.0));
            pen.flat(pen.circle(16, 16, 3) - pen.circle(16, 16, 2), rgb(90, 60, 36));
        }
    };
    return t;
}

// ---- courtyard -----------------------------------------------------------------

namespace {

const Colour kMarble = rgb(224, 208, 176);

Image courtyardFloor(int variant) {
    Image img = blank();
    const Ramp r = makeRamp(kMarble);
    paving(img, r, 201, 16, 16, false, r[1]);
    Pen pen(img);
    switch (variant) {
        case 1: {  // a mosaic slab: tesserae set flush, a muted diamond in them
            // Laid across the whole cell and kept to the paving's own tones,
            // so it reads as floor, not as something lying on it.
            const Colour terracotta = mix(r[3], rgb(176, 86, 62), 0.4), slate = mix(r[2], rgb(90, 80, 86), 0.3);
            for (int y = 0; y < kTile; y += 4)
                for (int x = 0; x < kTile; x += 4) {
                    const int d = std::abs(x + 2 - 16) + std::abs(y + 2 - 16);
                    Colour c = d < 6 ? slate : d >= 10 && d < 16 ? terracotta : r[hashUnit(x, y, 207) > 0.5 ? 4 : 3];
                    img.fillRect(x, y, 4, 4, c);
                    img.hline(x, x + 3, y + 3, shade(c, -0.12));
                    img.vline(x + 3, y, y + 3, shade(c, -0.12));
                }
            break;
        }
        case 2: {  // a cracked slab
            Colour crack = r[1];
            int x = 5, y = 3;
            Rng rng(3);
            while (y < 29) {
                img.set(x, y, crack);
                img.set(x + 1, y, r[4]);
                y += 1;
                x += rng.range(0, 1);
            }
            break;
        }
        case 3: {  // an engraved rosette
            for (int k = 0; k < 8; ++k) {
                double a = k * kPi / 4;
                Mask petal = pen.ellipse(16 + std::cos(a) * 5, 16 + std::sin(a) * 5, 2.5, 2.5);
                pen.flat(petal, r[2]);
            }
            pen.flat(pen.circle(16, 16, 2.5), r[4]);
            break;
        }
        case 4: {  // sand blown across the slabs
            for (int y = 0; y < kTile; ++y)
                for (int x = 0; x < kTile; ++x)
                    if (fractalNoise(x, y, 8, 77, 2, kTile) > 0.58) img.set(x, y, mix(img.at(x, y), rgb(206, 170, 110), 0.45));
            break;
        }
        default: break;
    }
    return img;
}

Image pedestal() {
    const Ramp marble = makeRamp(rgb(196, 198, 212));
    auto top = [&](Image& img) {
        paving(img, marble, 211, 32, 32, false, marble[1]);
        Pen pen(img);
        pen.shaded(pen.circle(16, 11, 8), marble, soft(5.0));
        pen.flat(pen.circle(16, 11, 8) - pen.circle(16, 11, 7), marble[1]);
        pen.flat(pen.circle(16, 11, 4) - pen.circle(16, 11, 3), marble[2]);
    };
    auto face = [&](Image& img) {
        img.fill(marble[3]);
        for (int x = 2; x < 32; x += 4) {
            img.vline(x, 0, 31, marble[2]);
            img.vline(x + 1, 0, 31, marble[4]);
        }
        img.hline(0, 31, 9, marble[1]);
    };
    return raisedBlock(top, face, 11);
}

Image amphora() {
    Image obj = blank();
    Pen pen(obj);
    const Ramp clay = makeRamp(rgb(196, 100, 56));
    Mask body = pen.ellipse(16, 18, 9.5, 9.5) | pen.poly({{11, 27}, {21, 27}, {18, 30}, {14, 30}});
    body |= pen.rect(13, 4, 6, 8);
    pen.shaded(body, clay, soft(7.0));
    pen.shaded(pen.roundRect(11, 2, 10, 3, 1.2), clay, soft(1.2));
    for (int side = -1; side <= 1; side += 2) {
        Mask handle = pen.circle(16 + side * 7, 9, 3.2) - pen.circle(16 + side * 7, 9, 1.8);
        handle -= pen.rect(side < 0 ? 16 : 0, 0, 16, 32);
        pen.shaded(handle, clay, soft(1.0));
    }
    Mask band = pen.rect(6, 16, 20, 3) & body;
    pen.flat(band, rgb(40, 30, 34));
    for (int x = 8; x < 25; x += 3) obj.setOnSolid(x, 17, rgb(226, 170, 90));
    return standing(courtyardFloor(0), obj);
}

}  // namespace

Theme courtyardTheme() {
    Theme t;
    t.folder = "courtyard";
    t.floor = courtyardFloor;
    t.solid = pedestal;
    t.solid2 = pedestal;
    t.breakable = amphora;
    const Ramp stone = makeRamp(rgb(214, 206, 194)), plaster = makeRamp(rgb(176, 54, 44));
    t.wallTop = [stone](Image& img) {
        paving(img, stone, 231, 16, 8, true, stone[1]);
        hush(img, 0.4);
    };
    t.wallFace = [plaster](Image& img) {
        img.fill(plaster[3]);
        // a meander band in the frieze
        const Colour line = rgb(244, 226, 190);
        for (int x = 0; x < 32; ++x) {
            int p = x % 8;
            img.set(x, 21, line);
            img.set(x, 29, line);
            if (p == 0 || p == 4) img.vline(x, 22, 27, line);
            if (p < 4) img.set(x, 27, line);
            else img.set(x, 23, line);
        }
    };
    t.rim = stone;
    t.dress = [](Image& img, Edge e, int) {
        if (e == Edge::TopLeft || e == Edge::TopRight || e == Edge::BottomLeft || e == Edge::BottomRight) {
            Pen pen(img);
            pen.shaded(pen.roundRect(7, 7, 18, 18, 3.0), makeRamp(rgb(236, 230, 220)), soft(3.0));
            pen.shaded(pen.circle(16, 16, 4.5), makeRamp(rgb(214, 170, 70)), soft(3.0));
        }
    };
    return t;
}

// ---- desert fortress -------------------------------------------------------------

namespace {

const Colour kSand = rgb(224, 186, 122);

Image sand(uint32_t seed) {
    Image img = blank();
    const Ramp r = makeRamp(kSand);
    for (int y = 0; y < kTile; ++y)
        for (int x = 0; x < kTile; ++x) {
            double ripple = std::sin((x * 0.35 + y * 0.9 + fractalNoise(x, y, 16, seed, 2, kTile) * 6) * 1.0);
            double v = fractalNoise(x, y, 8, seed + 5, 2, kTile);
            int level = ripple > 0.82 ? 4 : ripple < -0.9 ? 2 : 3;
            if (v > 0.7) level = std::min(level + 1, 4);
            img.set(x, y, r[level]);
        }
    return img;
}

Image desertFloor(int variant) {
    Image img = sand(301);
    Pen pen(img);
    switch (variant) {
        case 1: pebbles(img, makeRamp(rgb(168, 130, 96)), 313, 5, 5, 5, 27, 27); break;
        case 2: {  // ripples the wind left in the sand
            const Ramp r = makeRamp(kSand);
            for (int x = 2; x < 30; ++x)
                for (int k = 0; k < 3; ++k) {
                    const int y = 8 + k * 8 + int(std::lround(std::sin((x + k * 5) * 0.35) * 2.0));
                    img.set(x, y, r[2]);
                    img.set(x, y - 1, r[4]);
                }
            break;
        }
        case 3: {  // tracks of a lizard crossing the sand
            const Colour dent = shade(kSand, -0.22);
            for (int k = 0; k < 5; ++k) {
                const int x = 4 + k * 6, y = 14 + ((k % 2) ? 4 : -1);
                img.fillRect(x, y, 2, 2, dent);
                img.set(x - 1, y - 1, dent);
                img.set(x + 2, y - 1, dent);
            }
            for (int x = 3; x < 30; ++x) img.set(x, 16 + int(std::lround(std::sin(x * 0.4))), shade(kSand, -0.12));
            break;
        }
        case 4: {  // dried, cracked ground
            Rng rng(41);
            for (int k = 0; k < 4; ++k) {
                int x = rng.range(3, 28), y = rng.range(3, 28);
                for (int j = 0; j < 9; ++j) {
                    img.set(x, y, shade(kSand, -0.5));
                    x += rng.range(-1, 1);
                    y += rng.range(0, 1) * (k % 2 ? -1 : 1);
                }
            }
            break;
        }
        default: break;
    }
    return img;
}

const Ramp& sandstone() {
    static const Ramp r = makeRamp(rgb(206, 150, 90));
    return r;
}

// A squared sandstone block standing on the sand: a lit top edge, a deep
// coursed face in shade and a shadow cast on the sand beside it. With the
// walls' flat sandstone alone it would lie on the sand like a floor slab.
Image sandBlock() {
    const Ramp stone = makeRamp(rgb(196, 138, 84)), faceStone = makeRamp(rgb(118, 74, 50));
    auto top = [&](Image& img) {
        paving(img, stone, 321, 32, 32, false, stone[1]);
        Pen pen(img);
        pen.flat(pen.line(7, 6, 13, 10, 1.0), stone[2]);
    };
    auto face = [&](Image& img) { bricks(img, faceStone, 323, 14, 5, faceStone[1]); };
    Image obj = blank();
    obj.blit(raisedBlock(top, face, 11, 28), 1, 0);
    return standing(desertFloor(0), obj);
}

Image sandWall() {
    auto top = [](Image& img) { bricks(img, sandstone(), 331, 16, 8, sandstone()[1]); };
    auto face = [](Image& img) { bricks(img, sandstone(), 333, 8, 5, sandstone()[1]); };
    return raisedBlock(top, face, 14);
}

Image clayPot() {
    Image obj = blank();
    Pen pen(obj);
    const Ramp clay = makeRamp(rgb(170, 96, 60));
    Mask body = pen.ellipse(16, 19, 10, 9) | pen.rect(12, 6, 8, 6);
    pen.shaded(body, clay, soft(7.0));
    pen.shaded(pen.roundRect(10, 4, 12, 4, 1.5), clay, soft(1.5));
    pen.flat(pen.rect(7, 17, 18, 2) & body, rgb(236, 210, 150));
    for (int x = 8; x < 25; x += 4) obj.setOnSolid(x, 21, rgb(90, 50, 40));
    return standing(desertFloor(0), obj);
}

}  // namespace

Theme desertTheme() {
    Theme t;
    t.folder = "desert";
    t.floor = desertFloor;
    t.solid = sandBlock;
    t.solid2 = sandWall;
    t.breakable = clayPot;
    t.wallTop = [](Image& img) {
        paving(img, sandstone(), 341, 16, 16, true, sandstone()[1]);
        hush(img, 0.4);
    };
    t.wallFace = [](Image& img) { bricks(img, sandstone(), 343, 12, 6, sandstone()[1]); };
    t.rim = sandstone();
    t.dress = [](Image& img, Edge e, int) {
        // crenellations along the fortress wall, but for the top wall, on
        // which the clock is written
        if (e == Edge::Top) return;
        Pen pen(img);
        if (e == Edge::Bottom) {
            for (int x = 2; x < 32; x += 16) pen.shaded(pen.rect(x, 8, 10, 10), sandstone(), soft(1.5));
        } else if (e == Edge::Left || e == Edge::Right) {
            for (int y = 2; y < 32; y += 16) pen.shaded(pen.rect(11, y, 10, 10), sandstone(), soft(1.5));
        } else {
            pen.shaded(pen.rect(6, 6, 20, 20), sandstone(), soft(2.0));
            pen.shaded(pen.rect(10, 10, 12, 12), makeRamp(rgb(186, 130, 76)), soft(1.5));
        }
    };
    return t;
}

// ---- palace -----------------------------------------------------------------------

namespace {

const Colour kLacquer = rgb(156, 52, 44);
const Colour kGold = rgb(226, 176, 64);

Image palaceFloor(int variant) {
    Image img = blank();
    const Ramp r = makeRamp(kLacquer);
    paving(img, r, 501, 16, 16, false, rgb(110, 70, 40));
    Pen pen(img);
    // gold studs where four tiles meet
    pen.flat(pen.circle(0.5, 0.5, 1.6) | pen.circle(16.5, 16.5, 1.6) | pen.circle(16.5, 0.5, 1.6) | pen.circle(0.5, 16.5, 1.6),
             kGold);
    switch (variant) {
        case 1: {  // a gold fret inlaid round the four slabs
            // Thin flat lines out to the cell's edges: an inlay, where a
            // round, shaded gold disc would look like a coin to pick up.
            const Colour g = shade(kGold, -0.25);
            Mask fret = pen.rect(3, 3, 26, 1) | pen.rect(3, 28, 26, 1) | pen.rect(3, 3, 1, 26) | pen.rect(28, 3, 1, 26);
            fret |= pen.rect(6, 6, 5, 1) | pen.rect(6, 6, 1, 5) | pen.rect(21, 6, 5, 1) | pen.rect(25, 6, 1, 5);
            fret |= pen.rect(6, 25, 5, 1) | pen.rect(6, 21, 1, 5) | pen.rect(21, 25, 5, 1) | pen.rect(25, 21, 1, 5);
            pen.flat(fret, g);
            break;
        }
        case 2: {  // a cloud scroll
            const Colour g = shade(kGold, -0.1);
            Mask c = pen.circle(11, 17, 5) - pen.circle(11, 17, 3.8);
            c |= pen.circle(20, 15, 6) - pen.circle(20, 15, 4.8);
            c -= pen.rect(0, 18, 32, 14);
            c |= pen.rect(5, 20, 22, 1);
            pen.flat(c, g);
            break;
        }
        case 3: {  // a jade lattice inlaid in the lacquer, corner to corner
            const Colour jade = mix(r[3], rgb(70, 170, 130), 0.45);
            pen.flat(pen.line(16, 0, 32, 16, 1.2) | pen.line(32, 16, 16, 32, 1.2) | pen.line(16, 32, 0, 16, 1.2) |
                         pen.line(0, 16, 16, 0, 1.2),
                     jade);
            break;
        }
        case 4: {  // a lotus traced in gold, flat like the cloud scroll
            const Colour g = shade(kGold, -0.1);
            Mask lotus = pen.none();
            for (int k = 0; k < 5; ++k) {
                const double a = -kPi / 2 + (k - 2) * 0.55;
                const double cx = 16 + std::cos(a) * 5, cy = 18 + std::sin(a) * 6;
                lotus |= pen.ellipse(cx, cy, 3, 5) - pen.ellipse(cx, cy, 2, 4);
            }
            lotus |= pen.rect(6, 25, 20, 1);
            pen.flat(lotus, g);
            break;
        }
        default: break;
    }
    return img;
}

Image jadePillar() {
    const Ramp jade = makeRamp(rgb(60, 150, 118)), gold = makeRamp(kGold);
    auto top = [&](Image& img) {
        paving(img, makeRamp(kLacquer), 511, 32, 32, false, rgb(110, 70, 40));
        Pen pen(img);
        pen.shaded(pen.roundRect(2, 1, 28, 20, 3.0), gold, soft(2.0));
        pen.shaded(pen.circle(16, 11, 8), jade, soft(6.0));
        pen.flat(pen.circle(16, 11, 3) - pen.circle(16, 11, 2), jade[1]);
    };
    auto face = [&](Image& img) {
        img.fill(jade[3]);
        for (int x = 0; x < 32; ++x) {
            img.set(x, 24, gold[4]);
            img.set(x, 25, gold[3]);
            img.set(x, 26, gold[2]);
        }
        for (int x = 3; x < 32; x += 6) img.vline(x, 0, 23, jade[2]);
    };
    return raisedBlock(top, face, 11);
}

Image vase() {
    Image obj = blank();
    Pen pen(obj);
    const Ramp porcelain = makeRamp(rgb(236, 238, 246));
    Mask body = pen.ellipse(16, 19, 9, 10) | pen.rect(12, 5, 8, 8);
    pen.shaded(body, porcelain, soft(7.0));
    pen.shaded(pen.roundRect(10, 3, 12, 3, 1.2), porcelain, soft(1.2));
    const Colour cobalt = rgb(40, 70, 170);
    for (int y = 0; y < kTile; ++y)
        for (int x = 0; x < kTile; ++x) {
            if (!body.at(x, y)) continue;
            bool band = y == 11 || y == 27;
            bool wave = y > 13 && y < 25 && std::fabs(std::sin(x * 0.8) * 3 + 19 - y) < 0.8;
            bool dots = y > 13 && y < 25 && ((x + y) % 7 == 0) && std::abs(19 - y) > 3;
            if (band || wave || dots) obj.set(x, y, cobalt);
        }
    return standing(palaceFloor(0), obj);
}

}  // namespace

Theme palaceTheme() {
    Theme t;
    t.folder = "palace";
    t.floor = palaceFloor;
    t.solid = jadePillar;
    t.solid2 = jadePillar;
    t.breakable = vase;
    const Ramp roof = makeRamp(rgb(196, 138, 50)), wall = makeRamp(rgb(176, 40, 36));
    t.wallTop = [roof](Image& img) {
        // rows of glazed roof tiles
        img.fill(roof[1]);
        Pen pen(img);
        for (int row = 0; row < 5; ++row)
            for (int k = -1; k < 5; ++k) {
                double cx = k * 8 + (row % 2) * 4 + 4, cy = row * 8 + 2;
                pen.shaded(pen.ellipse(cx, cy, 4.2, 6.5), roof, soft(3.0));
            }
        hush(img, 0.3);
    };
    t.wallFace = [wall](Image& img) {
        img.fill(wall[3]);
        for (int x = 0; x < 32; ++x) img.set(x, 21, rgb(236, 190, 80)), img.set(x, 22, rgb(160, 110, 40));
        for (int x = 4; x < 32; x += 8) img.vline(x, 23, 31, wall[2]);
    };
    t.rim = roof;
    t.dress = [](Image& img, Edge e, int) {
        if (e == Edge::TopLeft || e == Edge::TopRight || e == Edge::BottomLeft || e == Edge::BottomRight) {
            Pen pen(img);
            pen.shaded(pen.circle(16, 16, 8), makeRamp(rgb(214, 46, 40)), soft(6.0));
            pen.shaded(pen.roundRect(11, 6, 10, 3, 1.2) | pen.roundRect(11, 23, 10, 3, 1.2), makeRamp(kGold), soft(1.2));
        }
    };
    return t;
}

}  // namespace art
