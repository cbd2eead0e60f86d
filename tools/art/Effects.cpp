// Fire, smoke and shots: the explosion cross, the missile burst, missiles
// of the players and enemies, muzzle puffs and walking dust; and the
// flashes and bursts that every creature's hit and death frames share.
#include <algorithm>
#include <cmath>

#include "art/Noise.h"
#include "art/Paint.h"
#include "art/Sprites.h"

namespace art {

namespace {

constexpr double kPi = 3.14159265358979323846;

// Flame colour for a heat of 0 (edge) to 1 (core).
Colour flame(double heat) {
    if (heat > 0.80) return rgb(255, 252, 226);
    if (heat > 0.62) return rgb(255, 232, 110);
    if (heat > 0.42) return rgb(255, 168, 44);
    if (heat > 0.22) return rgb(238, 92, 34);
    return rgb(178, 42, 30);
}

const int kBlastFrames = 7;
const double kBand[kBlastFrames] = {5.0, 9.0, 11.5, 12.0, 10.5, 7.5, 4.5};
const double kHeat[kBlastFrames] = {1.05, 1.0, 0.95, 0.86, 0.74, 0.6, 0.48};

// Flicker of a band's edge. It fades out toward the cell's borders, so a
// band leaves one cell exactly as wide as it enters the next.
double wobble(double p, int frame, int side) {
    double ph = frame * 1.7 + side * 2.3;
    double window = std::pow(std::sin(kPi * p / 32), 2.0);
    return window * (1.3 * std::sin(2 * kPi * p * 2 / 32 + ph) + 0.8 * std::sin(2 * kPi * p * 3 / 32 + 1.3 * ph));
}

// Heat of a horizontal band through the cell's middle at (px, py).
double bandHeat(double px, double py, int f, double scaleT = 1.0) {
    double d = py - 16.0;
    double t = kBand[f] * scaleT + wobble(px, f, d < 0 ? 0 : 1) * (kBand[f] / 12.0);
    if (t <= 0.5) return 0;
    return (1.0 - std::fabs(d) / t) * kHeat[f];
}

enum class Piece { Centre, Horizontal, Vertical, TipRight, TipLeft, TipUp, TipDown };

Image blastPiece(Piece p, int f) {
    Image img(32, 32);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            double px = x + 0.5, py = y + 0.5;
            // Tips are drawn as a right tip seen from the matching rotation.
            double u = px, v = py;
            switch (p) {
                case Piece::TipLeft: u = 32 - px; break;
                case Piece::TipUp: u = 32 - py, v = px; break;
                case Piece::TipDown: u = py, v = 32 - px; break;
                case Piece::Vertical: u = py, v = px; break;
                default: break;
            }
            double heat = 0;
            switch (p) {
                case Piece::Horizontal:
                case Piece::Vertical: heat = bandHeat(u, v, f); break;
                case Piece::Centre: {
                    double r = std::hypot(px - 16, py - 16);
                    double core = (1.0 - r / (kBand[f] * 1.35 + 1.0)) * kHeat[f] * 1.1;
                    heat = std::max({bandHeat(px, py, f), bandHeat(py, px, f), core});
                    break;
                }
                default: {
                    // A band that rounds off into a tongue near the far end.
                    const double start = 14.0, len = 15.0;
                    double s = u <= start ? 1.0 : std::max(0.0, 1.0 - std::pow((u - start) / len, 2.0));
                    heat = s > 0 ? bandHeat(u, v, f, std::sqrt(s)) : 0.0;
                    break;
                }
            }
            if (heat > 0.02) img.set(x, y, flame(heat));
        }
    return img;
}

std::vector<Image> blastFrames(Piece p) {
    std::vector<Image> frames;
    for (int f = 0; f < kBlastFrames; ++f) frames.push_back(blastPiece(p, f));
    return frames;
}

std::vector<Image> burstFrames() {
    const double radius[kBlastFrames] = {5, 9, 12, 13.5, 13, 10.5, 7};
    std::vector<Image> frames;
    for (int f = 0; f < kBlastFrames; ++f) {
        Image img(32, 32);
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x) {
                double dx = x + 0.5 - 16, dy = y + 0.5 - 16;
                double a = std::atan2(dy, dx);
                double r = radius[f] * (1.0 + 0.16 * std::sin(a * 5 + f) + 0.1 * std::sin(a * 9 - 2 * f));
                double heat = (1.0 - std::hypot(dx, dy) / r) * kHeat[f] * 1.1;
                if (heat > 0.02) img.set(x, y, flame(heat));
            }
        if (f >= 4) {
            // smoke curls at the rim as the burst dies
            Pen pen(img);
            for (int k = 0; k < 5; ++k) {
                double a = k * 2 * kPi / 5 + f;
                double cx = 16 + std::cos(a) * radius[f], cy = 16 + std::sin(a) * radius[f];
                Mask m = pen.circle(cx, cy, 2.5 + (f - 4));
                Shading sh;
                sh.contour = false;
                pen.shaded(m - pen.solidPixels(), makeRamp(rgb(120, 110, 118)), sh);
            }
        }
        outline(img, rgb(96, 24, 22));
        frames.push_back(img);
    }
    return frames;
}

// A missile flying toward `dir`, its body of the given colour.
Image missileSprite(Dir dir, Colour body, Colour fins, int frame, bool homing) {
    Image img(32, 32);
    Pen pen(img);
    Oriented o{dir};
    Shading sh;
    sh.round = 3.0;
    // exhaust, flickering
    double flameLen = frame % 2 == 0 ? 7.0 : 5.0;
    Mask exhaust = pen.poly(o({{10, 13.5}, {10 - flameLen, 16}, {10, 18.5}}));
    pen.flat(exhaust, rgb(255, 170, 50));
    pen.flat(pen.poly(o({{10, 14.8}, {10 - flameLen * 0.55, 16}, {10, 17.2}})), rgb(255, 246, 190));
    // fins
    pen.shaded(pen.poly(o({{10, 10}, {14, 13}, {14, 19}, {10, 22}, {9, 22}, {9, 10}})), makeRamp(fins), sh);
    // body and nose
    Mask hull = pen.poly(o({{10, 13}, {22, 13}, {27, 16}, {22, 19}, {10, 19}}));
    pen.shaded(hull, makeRamp(body), sh);
    Mask nose = pen.poly(o({{22, 13}, {27, 16}, {22, 19}}));
    pen.shaded(nose, makeRamp(homing ? rgb(250, 240, 220) : rgb(220, 226, 232)), sh);
    Mask band = pen.poly(o({{17, 13}, {19, 13}, {19, 19}, {17, 19}}));
    pen.flat(band & hull, shade(body, -0.45));
    if (homing) {
        // the seeker's eye
        auto c = o(20.5, 16);
        pen.flat(pen.circle(c.first, c.second, 1.3), rgb(255, 255, 160));
    }
    outline(img);
    return img;
}

Image boltSprite(Dir dir, int frame) {
    Image img(32, 32);
    Pen pen(img);
    Oriented o{dir};
    const Colour trail[3] = {rgb(150, 40, 60), rgb(236, 80, 60), rgb(255, 150, 70)};
    for (int k = 0; k < 3; ++k) {
        double u = 8 + k * 4 + (frame % 2);
        auto c = o(u, 16);
        pen.flat(pen.circle(c.first, c.second, 2.0 + k * 0.6), trail[k]);
    }
    auto c = o(21, 16);
    Mask core = pen.ellipse(c.first, c.second, dir <= kLeft ? 6.0 : 4.5, dir <= kLeft ? 4.5 : 6.0);
    pen.flat(core, rgb(255, 120, 60));
    pen.flat(pen.circle(c.first, c.second, 3.2), rgb(255, 210, 110));
    pen.flat(pen.circle(c.first - 0.5, c.second - 0.5, 1.6), rgb(255, 255, 226));
    outline(img, rgb(110, 24, 40));
    return img;
}

Image starSprite(int frame) {
    Image img(32, 32);
    Pen pen(img);
    double a0 = frame * kPi / 8;
    std::vector<std::pair<double, double>> pts;
    for (int k = 0; k < 8; ++k) {
        double a = a0 + k * kPi / 4;
        double r = k % 2 == 0 ? 9.5 : 3.2;
        pts.push_back({16 + std::cos(a) * r, 16 + std::sin(a) * r});
    }
    Shading sh;
    sh.round = 2.0;
    pen.shaded(pen.poly(pts), makeRamp(rgb(176, 184, 200)), sh);
    pen.flat(pen.circle(16, 16, 1.6), rgb(40, 40, 56));
    outline(img);
    return img;
}

// A puff thrown off by a shot, drifting along the direction of fire.
std::vector<Image> muzzlePuff(Dir dir, Colour base, int frames, double drift) {
    std::vector<Image> out;
    Oriented o{dir};
    for (int f = 0; f < frames; ++f) {
        Image img(32, 32);
        Pen pen(img);
        double t = f / double(std::max(1, frames - 1));
        Mask m = pen.none();
        for (int k = 0; k < 3; ++k) {
            auto c = o(9 + drift * t + k * 4.5, 16 + (k - 1) * 3.0 * (0.5 + t));
            double r = (3.2 + 2.0 * t - k * 0.5) * (1.0 - 0.7 * t * t);
            if (r >= 0.8) m |= pen.circle(c.first, c.second, r);
        }
        Shading sh;
        sh.round = 4.0;
        pen.shaded(m, makeRamp(base), sh);
        if (f == 0) {
            auto c = o(8, 16);
            pen.flat(pen.circle(c.first, c.second, 3.0), rgb(255, 230, 140));
        }
        outline(img);
        out.push_back(img);
    }
    return out;
}

}  // namespace

std::pair<double, double> Oriented::operator()(double u, double v) const {
    switch (dir) {
        case kLeft: return {32 - u, v};
        case kDown: return {32 - v, u};
        case kUp: return {v, 32 - u};
        default: return {u, v};
    }
}

std::vector<std::pair<double, double>> Oriented::operator()(std::initializer_list<std::pair<double, double>> pts) const {
    std::vector<std::pair<double, double>> out;
    for (const auto& p : pts) out.push_back((*this)(p.first, p.second));
    return out;
}

std::vector<Image> hitFrames(const std::vector<Image>& walk) {
    std::vector<Image> out;
    for (size_t i = 0; i < walk.size(); ++i) {
        Image f = walk[i];
        if (i % 2 == 0) f.tint(rgb(255, 250, 240), 0.6);
        else f.tint(rgb(255, 40, 40), 0.5);
        out.push_back(f);
    }
    return out;
}

std::vector<Image> puffFrames(Colour base, int frames, double startR, double endR, unsigned seed, int cx, int cy) {
    // Round billows that swell, drift apart and shrink away: smoke that
    // breaks up rather than fading, since a sprite has no translucency.
    std::vector<Image> out;
    const int blobs = 5;
    for (int f = 0; f < frames; ++f) {
        Image img(32, 32);
        Pen pen(img);
        double t = frames > 1 ? f / double(frames - 1) : 0.0;
        Mask m = pen.none();
        for (int k = 0; k < blobs; ++k) {
            double a = k * 2 * kPi / blobs + seed * 0.7;
            double spread = startR * 0.5 + (endR - startR * 0.5) * t;
            double ox = std::cos(a) * spread, oy = std::sin(a) * spread * 0.75 - t * 3.0;
            double r = (startR * 0.7 + (endR - startR) * 0.35 * t) * (1.0 - 0.75 * t * t) * (k % 2 ? 0.85 : 1.0);
            if (r >= 0.8) m |= pen.circle(cx + ox, cy + oy, r);
        }
        if (t < 0.5) m |= pen.circle(cx, cy - t * 3.0, startR * (1.0 - t));
        Shading sh;
        sh.round = 5.0;
        pen.shaded(m, makeRamp(base), sh);
        outline(img);
        out.push_back(img);
    }
    return out;
}

std::vector<Image> burstDeath(const Image& body, Colour ember, int frames, unsigned seed) {
    std::vector<Image> out;
    Image flash = body;
    flash.tint(rgb(255, 255, 255), 0.8);
    out.push_back(flash);
    Image glow = body;
    glow.tint(ember, 0.6);
    out.push_back(glow);
    const int smokeFrames = std::max(1, frames - 2);
    std::vector<Image> smoke = puffFrames(rgb(206, 200, 210), smokeFrames, 10.0, 13.0, seed, 16, 17);
    for (int f = 0; f < smokeFrames; ++f) {
        Image img = smoke[size_t(f)];
        // embers flying outward
        Rng rng(seed * 13u + unsigned(f));
        for (int k = 0; k < 6; ++k) {
            double a = rng.unit() * 2 * kPi, d = 8 + f * 3 + rng.unit() * 3;
            int x = int(16 + std::cos(a) * d), y = int(17 + std::sin(a) * d);
            if (img.solid(x, y)) continue;
            img.set(x, y, f < 2 ? rgb(255, 240, 160) : ember);
        }
        out.push_back(img);
    }
    return out;
}

void addEffects(AssetSet& set) {
    set.add("explosioncentre", "fire", blastFrames(Piece::Centre));
    set.add("explosionhorizontal", "fire", blastFrames(Piece::Horizontal));
    set.add("explosionvertical", "fire", blastFrames(Piece::Vertical));
    set.add("explosiontipright", "fire", blastFrames(Piece::TipRight));
    set.add("explosiontipleft", "fire", blastFrames(Piece::TipLeft));
    set.add("explosiontipup", "fire", blastFrames(Piece::TipUp));
    set.add("explosiontipdown", "fire", blastFrames(Piece::TipDown));
    set.add("missileExplosionAnimation", "fire", burstFrames());

    for (int d = 0; d < 4; ++d) {
        std::vector<Image> plain, homing, bolt, star;
        for (int f = 0; f < 2; ++f) {
            plain.push_back(missileSprite(Dir(d), rgb(74, 170, 92), rgb(60, 100, 70), f, false));
            homing.push_back(missileSprite(Dir(d), rgb(214, 50, 46), rgb(120, 40, 44), f, true));
            bolt.push_back(boltSprite(Dir(d), f));
        }
        for (int f = 0; f < 4; ++f) star.push_back(starSprite(f));
        set.add(std::string("missile") + kDirNames[d], "missile", plain);
        set.add(std::string("homingmissile") + kDirNames[d], "missile", homing);
        set.add(std::string("enemyMissile") + kDirNames[d], "missile", bolt);
        Section& s3 = set.add(std::string("enemyMissile3") + kDirNames[d], "missile", star);
        if (d == kRight) s3.with("animationSpeed", 60);
    }
    const char* dustNames[4] = {"Right", "left", "up", "down"};
    for (int d = 0; d < 4; ++d) {
        Section& a = set.add(std::string("enemyMissileDust") + dustNames[d], "missile",
                             muzzlePuff(Dir(d), rgb(160, 150, 146), 5, 6.0));
        if (d == kRight) a.with("animationSpeed", 70);
        Section& b = set.add(std::string("enemyMissile3Dust") + dustNames[d], "missile",
                             muzzlePuff(Dir(d), rgb(214, 214, 226), 4, 4.0));
        if (d == kRight) b.with("animationSpeed", 60);
    }

    set.add("dust", "dust", puffFrames(rgb(196, 176, 150), 5, 3.0, 6.5, 11u, 16, 26));
    set.add("ninjaDust", "dust", puffFrames(rgb(150, 140, 176), 6, 5.0, 11.0, 23u, 16, 20)).with("animSpeed", 70);
    set.add("ninjaDust2", "dust", puffFrames(rgb(170, 162, 190), 5, 3.5, 8.0, 37u, 16, 24)).with("animSpeed", 60);
}

}  // namespace art
