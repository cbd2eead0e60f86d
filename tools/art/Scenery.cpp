#include "art/Scenery.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "art/Noise.h"
#include "art/Paint.h"

namespace art {

namespace {

constexpr double kPi = 3.14159265358979323846;

const int kBayer[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};

// Fills below a noisy skyline: the ridge of hills or dunes at baseY.
void ridge(Image& img, Colour c, Colour lit, double baseY, double amp, double cell, unsigned seed) {
    for (int x = 0; x < img.width(); ++x) {
        double top = baseY - fractalNoise(x, 0, cell, seed, 3) * amp;
        for (int y = std::max(0, int(top)); y < img.height(); ++y) img.set(x, y, y - int(top) < 2 ? lit : c);
    }
}

void disc(Image& img, double cx, double cy, double r, Colour c, Colour glow) {
    Pen pen(img);
    if (glow != kKey)
        for (int k = 3; k >= 1; --k) {
            double hr = r + k * 6;
            for (int y = int(cy - hr) - 1; y <= int(cy + hr) + 1; ++y)
                for (int x = int(cx - hr) - 1; x <= int(cx + hr) + 1; ++x) {
                    double dx = x + 0.5 - cx, dy = y + 0.5 - cy;
                    if (img.inside(x, y) && dx * dx + dy * dy <= hr * hr && ((x + y) % (k + 1) == 0))
                        img.set(x, y, mix(img.at(x, y), glow, 0.25));
                }
        }
    pen.flat(pen.circle(cx, cy, r), c);
}

void rect(Image& img, double x, double y, double w, double h, Colour c) {
    img.fillRect(int(x), int(y), int(w), int(h), c);
}

// A roof with upturned eaves, centred on cx with its ridge at y.
void eaveRoof(Image& img, double cx, double y, double halfW, double h, Colour c) {
    Pen pen(img);
    pen.flat(pen.poly({{cx - halfW * 0.55, y}, {cx + halfW * 0.55, y}, {cx + halfW, y + h}, {cx + halfW + 6, y + h - 5},
                       {cx + halfW + 2, y + h + 3}, {cx - halfW - 2, y + h + 3}, {cx - halfW - 6, y + h - 5},
                       {cx - halfW, y + h}}),
             c);
}

void pagoda(Image& img, double cx, double groundY, double scale, Colour c, Colour windows) {
    double y = groundY;
    double w = 70 * scale;
    for (int floor = 0; floor < 5; ++floor) {
        double fh = 34 * scale * (1 - floor * 0.08);
        rect(img, cx - w * 0.42, y - fh, w * 0.84, fh, c);
        for (int k = -1; k <= 1; ++k) rect(img, cx + k * w * 0.22 - 3 * scale, y - fh * 0.7, 6 * scale, fh * 0.4, windows);
        eaveRoof(img, cx, y - fh - 14 * scale, w * 0.6, 14 * scale, c);
        y -= fh + 14 * scale;
        w *= 0.82;
    }
    rect(img, cx - 2 * scale, y - 40 * scale, 4 * scale, 40 * scale, c);
}

void column(Image& img, double x, double groundY, double h, double w, Colour c) {
    rect(img, x - 4, groundY - 8, w + 8, 8, c);
    rect(img, x, groundY - h, w, h, c);
    rect(img, x - 5, groundY - h - 8, w + 10, 8, c);
}

void fence(Image& img, double groundY, Colour c) {
    for (int x = 0; x < img.width(); x += 36) rect(img, x, groundY - 40, 8, 40, c);
    rect(img, 0, groundY - 34, img.width(), 5, c);
    rect(img, 0, groundY - 20, img.width(), 5, c);
}

void target(Image& img, double cx, double cy, double r) {
    Pen pen(img);
    rect(img, cx - 2, cy, 4, 480 - cy, rgb(70, 44, 36));
    const Colour rings[4] = {rgb(240, 232, 214), rgb(200, 50, 44), rgb(240, 232, 214), rgb(200, 50, 44)};
    for (int k = 0; k < 4; ++k) pen.flat(pen.circle(cx, cy, r * (1 - k * 0.24)), rings[k]);
}

void towerBlock(Image& img, double x, double w, double top, double groundY, Colour c, unsigned seed) {
    rect(img, x, top, w, groundY - top, c);
    for (double y = top + 10; y < groundY - 10; y += 14)
        for (double xx = x + 6; xx < x + w - 8; xx += 12)
            if (hashUnit(int(xx), int(y), seed) > 0.45)
                rect(img, xx, y, 6, 6, hashUnit(int(xx), int(y), seed + 1) > 0.7 ? rgb(90, 220, 240) : rgb(255, 210, 110));
}

void mountains(Image& img, Colour c, Colour snow, double baseY, double peakH, unsigned seed) {
    Rng rng(seed);
    for (int k = 0; k < 7; ++k) {
        double cx = rng.unit() * img.width(), h = peakH * (0.6 + rng.unit() * 0.4), w = h * (1.1 + rng.unit() * 0.5);
        Pen pen(img);
        Mask m = pen.poly({{cx - w, baseY}, {cx, baseY - h}, {cx + w, baseY}});
        pen.flat(m, c);
        Mask cap = m & pen.poly({{cx - w * 0.3, baseY - h * 0.7}, {cx, baseY - h - 2}, {cx + w * 0.3, baseY - h * 0.7},
                                 {cx + w * 0.1, baseY - h * 0.62}, {cx - w * 0.05, baseY - h * 0.74}});
        pen.flat(cap, snow);
    }
}

void lanternString(Image& img, double y, unsigned seed) {
    Pen pen(img);
    for (int x = 0; x < img.width(); ++x) img.set(x, int(y + 18 * std::sin(x * kPi / img.width() * 2 + seed)), rgb(40, 20, 30));
    for (int k = 0; k < 9; ++k) {
        double x = 30 + k * 72;
        double yy = y + 18 * std::sin(x * kPi / img.width() * 2 + seed) + 12;
        disc(img, x, yy, 9, rgb(226, 60, 44), rgb(255, 170, 80));
        pen.flat(pen.rect(int(x) - 5, int(yy) - 10, 10, 3) | pen.rect(int(x) - 5, int(yy) + 8, 10, 3), rgb(230, 176, 64));
        pen.flat(pen.ellipse(x, yy, 4, 6), rgb(255, 180, 90));
    }
}

void dunes(Image& img, double baseY, Colour a, Colour b) {
    for (int layer = 0; layer < 3; ++layer) {
        Colour c = mix(a, b, layer / 2.0);
        double y0 = baseY + layer * 40;
        for (int x = 0; x < img.width(); ++x) {
            double top = y0 - 24 * std::sin(x * 0.01 + layer * 2.1) - 10 * std::sin(x * 0.027 + layer);
            for (int y = std::max(0, int(top)); y < img.height(); ++y) img.set(x, y, y - int(top) < 2 ? shade(c, 0.3) : c);
        }
    }
}

void fortress(Image& img, double x, double w, double groundY, double h, Colour c) {
    rect(img, x, groundY - h, w, h, c);
    for (double xx = x; xx < x + w; xx += 20) rect(img, xx, groundY - h - 10, 12, 10, c);
    rect(img, x + w * 0.4, groundY - h - 50, w * 0.2, 50, c);
    for (double xx = x + w * 0.4; xx < x + w * 0.6; xx += 14) rect(img, xx, groundY - h - 58, 8, 8, c);
    rect(img, x + w * 0.47, groundY - 40, w * 0.06, 40, shade(c, -0.5));
}

void palaceRoofs(Image& img, double groundY, Colour c, Colour gold) {
    for (int k = 0; k < 3; ++k) {
        double cx = 120 + k * 200, w = k == 1 ? 150 : 110, h = k == 1 ? 120 : 80;
        rect(img, cx - w * 0.7, groundY - h, w * 1.4, h, c);
        for (double x = cx - w * 0.6; x < cx + w * 0.6; x += 24) rect(img, x, groundY - h + 10, 6, h - 10, shade(c, -0.4));
        eaveRoof(img, cx, groundY - h - 30, w, 30, c);
        rect(img, cx - w * 0.6, groundY - h - 2, w * 1.2, 3, gold);
    }
}

}  // namespace

void skyGradient(Image& img, Colour top, Colour bottom, int y0, int y1) {
    const int bands = 12;
    for (int y = y0; y < y1 && y < img.height(); ++y) {
        double t = double(y - y0) / std::max(1, y1 - y0 - 1) * bands;
        int band = std::min(bands - 1, int(t));
        double frac = t - band;
        for (int x = 0; x < img.width(); ++x) {
            int b = band + (frac * 16 > kBayer[y & 3][x & 3] + 0.5 ? 1 : 0);
            img.set(x, y, mix(top, bottom, std::min(1.0, b / double(bands))));
        }
    }
    // below the gradient the sky keeps its lowest colour
    img.fillRect(0, std::max(y0, y1), img.width(), img.height() - std::max(y0, y1), bottom);
}

void dim(Image& img, int x, int y, int w, int h, double amount) {
    for (int yy = y; yy < y + h; ++yy)
        for (int xx = x; xx < x + w; ++xx)
            if (img.inside(xx, yy)) img.set(xx, yy, safe(mix(img.at(xx, yy), rgb(10, 6, 14), amount)));
}

void panel(Image& img, int x, int y, int w, int h, Colour fill, Colour frame) {
    const Ramp f = makeRamp(frame);
    img.fillRect(x, y, w, h, fill);
    img.frameRect(x, y, w, h, f[0]);
    img.frameRect(x + 1, y + 1, w - 2, h - 2, f[4]);
    img.frameRect(x + 2, y + 2, w - 4, h - 4, f[2]);
    img.hline(x + 2, x + w - 3, y + 2, f[5]);
}

void specks(Image& img, unsigned seed, int count, Colour a, Colour b, int y0, int y1) {
    Rng rng(seed);
    for (int k = 0; k < count; ++k) {
        int x = rng.range(0, img.width() - 1), y = rng.range(y0, y1 - 1);
        Colour c = rng.chance(0.5) ? a : b;
        img.set(x, y, c);
        if (rng.chance(0.25)) img.set(x + 1, y, c), img.set(x, y + 1, c), img.set(x + 1, y + 1, c);
    }
}

Image sceneImage(Scene s) {
    Image img(kScreenW, kScreenH, rgb(0, 0, 0));
    switch (s) {
        case Scene::Training:
            skyGradient(img, rgb(70, 90, 160), rgb(250, 176, 110), 0, 330);
            disc(img, 470, 250, 44, rgb(255, 236, 170), rgb(255, 210, 140));
            ridge(img, rgb(110, 120, 96), rgb(140, 150, 110), 320, 60, 120, 1);
            ridge(img, rgb(120, 92, 62), rgb(160, 124, 80), 380, 20, 60, 2);
            fence(img, 420, rgb(70, 46, 34));
            target(img, 120, 330, 34);
            target(img, 530, 350, 26);
            img.fillRect(0, 420, kScreenW, 60, rgb(96, 70, 48));
            break;
        case Scene::Courtyard:
            skyGradient(img, rgb(60, 70, 150), rgb(255, 170, 100), 0, 360);
            disc(img, 320, 300, 60, rgb(255, 220, 150), rgb(255, 190, 120));
            for (int k = 0; k < 8; ++k) column(img, 24 + k * 82, 400, 200 + (k % 2) * 20, 26, rgb(110, 70, 70));
            rect(img, 0, 166, kScreenW, 14, rgb(110, 70, 70));
            img.fillRect(0, 400, kScreenW, 80, rgb(150, 110, 90));
            break;
        case Scene::Tech: {
            skyGradient(img, rgb(16, 12, 40), rgb(70, 40, 110), 0, 360);
            specks(img, 5, 160, rgb(200, 210, 255), rgb(120, 140, 220), 0, 260);
            Rng rng(9);
            for (int x = -10; x < kScreenW; x += 56) {
                double h = 120 + rng.unit() * 160;
                towerBlock(img, x, 48, 380 - h, 380, rgb(34, 30, 60), 31u + unsigned(x + 10));
            }
            img.fillRect(0, 380, kScreenW, 100, rgb(24, 22, 44));
            for (int k = -10; k <= 10; ++k) img.line(320 + k * 18, 380, 320 + k * 90, 479, rgb(80, 200, 230));
            for (int y = 388; y < 480; y += (y - 372) / 4 + 2) img.hline(0, kScreenW - 1, y, rgb(60, 150, 190));
            break;
        }
        case Scene::Temple:
            skyGradient(img, rgb(40, 16, 40), rgb(210, 80, 60), 0, 380);
            disc(img, 430, 170, 80, rgb(250, 200, 160), rgb(250, 140, 110));
            ridge(img, rgb(70, 30, 50), rgb(90, 40, 60), 360, 80, 150, 7);
            pagoda(img, 200, 420, 1.3, rgb(40, 16, 30), rgb(255, 170, 90));
            img.fillRect(0, 420, kScreenW, 60, rgb(40, 16, 30));
            specks(img, 13, 90, rgb(255, 190, 210), rgb(240, 150, 180), 0, 470);
            break;
        case Scene::Ice:
            skyGradient(img, rgb(20, 30, 80), rgb(120, 170, 220), 0, 380);
            for (int band = 0; band < 3; ++band)
                for (int x = 0; x < kScreenW; ++x) {
                    int y = int(90 + band * 26 + 30 * std::sin(x * 0.012 + band));
                    for (int k = 0; k < 14; ++k)
                        if ((x + k) % 3 == 0) img.set(x, y + k, mix(img.at(x, y + k), rgb(110, 230, 200), 0.45 - k * 0.03));
                }
            mountains(img, rgb(80, 100, 140), rgb(236, 244, 255), 400, 230, 3);
            img.fillRect(0, 400, kScreenW, 80, rgb(200, 226, 246));
            specks(img, 17, 220, rgb(255, 255, 255), rgb(210, 230, 250), 0, 480);
            break;
        case Scene::Palace:
            skyGradient(img, rgb(30, 10, 40), rgb(160, 50, 60), 0, 400);
            disc(img, 520, 110, 50, rgb(255, 230, 170), rgb(255, 200, 120));
            palaceRoofs(img, 420, rgb(50, 16, 30), rgb(230, 176, 64));
            lanternString(img, 40, 1);
            img.fillRect(0, 420, kScreenW, 60, rgb(70, 20, 30));
            break;
        case Scene::Desert:
            skyGradient(img, rgb(80, 120, 200), rgb(255, 210, 140), 0, 340);
            disc(img, 120, 200, 56, rgb(255, 246, 200), rgb(255, 230, 160));
            fortress(img, 300, 300, 350, 90, rgb(150, 96, 70));
            dunes(img, 360, rgb(220, 170, 100), rgb(190, 130, 80));
            break;
        case Scene::Arctic:
            skyGradient(img, rgb(8, 12, 40), rgb(50, 80, 140), 0, 400);
            specks(img, 19, 200, rgb(255, 255, 255), rgb(170, 190, 255), 0, 300);
            disc(img, 140, 120, 34, rgb(236, 240, 255), rgb(180, 200, 255));
            mountains(img, rgb(40, 56, 96), rgb(200, 220, 250), 410, 250, 23);
            img.fillRect(0, 410, kScreenW, 70, rgb(140, 170, 210));
            break;
        case Scene::Title: {
            skyGradient(img, rgb(14, 8, 30), rgb(150, 44, 40), 0, 400);
            specks(img, 29, 160, rgb(255, 240, 220), rgb(200, 180, 255), 0, 220);
            disc(img, 500, 120, 46, rgb(255, 214, 170), rgb(255, 150, 110));
            ridge(img, rgb(58, 22, 44), rgb(84, 32, 54), 330, 70, 160, 11);
            ridge(img, rgb(34, 14, 30), rgb(60, 24, 40), 370, 80, 140, 31);
            fortress(img, 360, 230, 390, 120, rgb(22, 8, 20));
            rect(img, 380, 230, 26, 160, rgb(22, 8, 20));
            for (int k = 0; k < 4; ++k) rect(img, 380 + k * 7, 222, 4, 8, rgb(22, 8, 20));
            // a few lit windows in the keep
            const int wx[6] = {386, 420, 452, 540, 500, 566}, wy[6] = {260, 300, 300, 310, 220, 330};
            for (int k = 0; k < 6; ++k) {
                rect(img, wx[k], wy[k], 5, 8, rgb(255, 196, 90));
                rect(img, wx[k], wy[k], 5, 2, rgb(255, 236, 160));
            }
            img.fillRect(0, 420, kScreenW, 60, rgb(26, 10, 22));
            // embers drifting up from the ground, each with a faint glow
            Rng rng(37);
            for (int k = 0; k < 90; ++k) {
                int x = rng.range(0, kScreenW - 1), y = rng.range(180, 475);
                Colour hot = rng.chance(0.5) ? rgb(255, 200, 90) : rgb(255, 120, 40);
                img.set(x - 1, y, mix(img.at(x - 1, y), hot, 0.35));
                img.set(x + 1, y, mix(img.at(x + 1, y), hot, 0.35));
                img.set(x, y - 1, mix(img.at(x, y - 1), hot, 0.35));
                img.set(x, y + 1, mix(img.at(x, y + 1), hot, 0.35));
                img.set(x, y, hot);
            }
            break;
        }
    }
    return img;
}

}  // namespace art
