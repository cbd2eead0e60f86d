// The palace dragon, seen from above: its head, the body segments that
// follow it, and its tail. One drawing along the direction of travel
// serves all four directions.
#include <cmath>
#include <string>

#include "art/Paint.h"
#include "art/Sprites.h"

namespace art {

namespace {

constexpr double kPi = 3.14159265358979323846;

const Colour kHide = rgb(34, 150, 118);
const Colour kBelly = rgb(236, 196, 92);
const Colour kMane = rgb(236, 120, 40);
const Colour kHorn = rgb(240, 226, 180);

// Where a pixel centre lies along (u) and across (v) the direction of travel.
std::pair<double, double> local(Dir d, double x, double y) {
    switch (d) {
        case kLeft: return {32 - x, y};
        case kDown: return {y, 32 - x};
        case kUp: return {32 - y, x};
        default: return {x, y};
    }
}

// Overlapping crescent scales over the drawn part of `m`.
void scales(Image& img, const Mask& m, Dir d, double phase) {
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            if (!m.at(x, y)) continue;
            auto [u, v] = local(d, x + 0.5, y + 0.5);
            u += phase;
            int row = int(std::floor(v / 4.0));
            double su = std::fmod(u + row * 3.0 + 600.0, 6.0), sv = v - row * 4.0;
            double r = std::hypot(su - 3.0, sv * 1.3);
            if (r > 2.7 && r < 3.7) img.set(x, y, shade(img.at(x, y), -0.32));
            else if (r < 1.1) img.set(x, y, shade(img.at(x, y), 0.18));
        }
}

// A row of back spines, pointing backward along the line of travel.
void spines(Pen& pen, const Oriented& o, double u0, double u1, double step, double v, double len, double half) {
    for (double u = u0; u <= u1; u += step) {
        pen.shaded(pen.poly(o({{u + len * 0.35, v - half}, {u - len * 0.65, v}, {u + len * 0.35, v + half}})),
                   makeRamp(kMane), soft(1.2));
    }
}

Image head(Dir d, int frame) {
    Image img(32, 32);
    Pen pen(img);
    Oriented o{d};
    const double wave = std::sin(frame * kPi / 2) * 1.5;
    // a mane of flame around the back of the head
    std::vector<std::pair<double, double>> mane;
    for (int k = 0; k <= 12; ++k) {
        double a = kPi * 0.5 + k * kPi / 12;
        double r = (k % 2 == 0 ? 12.5 : 8.0) + (k % 4 == 0 ? wave * 0.6 : 0);
        mane.push_back(o(12 + std::cos(a) * r * 0.85, 16 + std::sin(a) * r * 1.1));
    }
    mane.push_back(o(14, 16));
    pen.shaded(pen.poly(mane), makeRamp(kMane), soft(3.0));
    // long whiskers streaming back from the snout
    for (int side = -1; side <= 1; side += 2) {
        double sv = 16 + side * 4.5;
        auto a = o(27, sv), b = o(22, 16 + side * (10 + wave)), c = o(15, 16 + side * (13.5 - wave * 0.7));
        pen.flat(pen.line(a.first, a.second, b.first, b.second, 1.4) | pen.line(b.first, b.second, c.first, c.second, 1.2),
                 kBelly);
    }
    // antlers sweeping back
    for (int side = -1; side <= 1; side += 2) {
        auto p = [&](double u, double v) { return o(u, 16 + side * (v - 16)); };
        pen.shaded(pen.poly({p(15, 10), p(4, 2), p(6, 1), p(9, 4), p(9, 1), p(11, 2), p(11, 6), p(17, 11)}),
                   makeRamp(kHorn), soft(1.2));
    }
    Mask skull = pen.poly(o({{7, 10}, {12, 7}, {18, 8}, {22, 11}, {27, 11}, {30.5, 13}, {30.5, 19}, {27, 21}, {22, 21},
                              {18, 24}, {12, 25}, {7, 22}}));
    pen.shaded(skull, makeRamp(kHide), soft(6.0));
    scales(img, skull & pen.poly(o({{6, 0}, {19, 0}, {19, 32}, {6, 32}})), d, 0);
    // brows and eyes
    for (int side = -1; side <= 1; side += 2) {
        auto c = o(19, 16 + side * 5.5);
        auto b = o(17, 16 + side * 7.0);
        pen.shaded(pen.circle(b.first, b.second, 2.6), makeRamp(shade(kHide, -0.2)), soft(1.5));
        pen.shaded(pen.circle(c.first, c.second, 2.0), makeRamp(rgb(255, 226, 90)), soft(1.5));
        auto e = o(19.5, 16 + side * 5.5);
        img.set(int(e.first), int(e.second), rgb(60, 10, 10));
    }
    // nostrils and the fangs at the tip of the snout
    for (int side = -1; side <= 1; side += 2) {
        auto n = o(29, 16 + side * 2.0);
        img.set(int(n.first), int(n.second), rgb(20, 50, 40));
        auto f = o(30.5, 16 + side * 3.5);
        img.set(int(f.first), int(f.second), rgb(250, 246, 230));
    }
    outline(img);
    return img;
}

Image body(Dir d, int frame) {
    Image img(32, 32);
    Pen pen(img);
    Oriented o{d};
    const double sway = std::sin(frame * kPi / 2) * 1.2;
    // claws reaching out on both sides, stepping in turn
    for (int side = -1; side <= 1; side += 2) {
        double step = ((frame / 2) % 2 == (side > 0 ? 1 : 0)) ? 3 : -2;
        auto a = o(16 + step * 0.3, 16 + side * 6);
        auto b = o(15 + step, 16 + side * 13.5);
        pen.shaded(pen.line(a.first, a.second, b.first, b.second, 3.2), makeRamp(shade(kHide, -0.1)), soft(1.2));
        for (int k = -1; k <= 1; ++k) {
            auto t = o(15 + step + k * 1.6, 16 + side * 15);
            img.set(int(t.first), int(t.second), kHorn);
        }
    }
    auto c = o(16, 16 + sway);
    bool along = d == kRight || d == kLeft;
    Mask trunk = pen.ellipse(c.first, c.second, along ? 17.0 : 9.5, along ? 9.5 : 17.0) & pen.rect(0, 0, 32, 32);
    pen.shaded(trunk, makeRamp(kHide), soft(7.0));
    scales(img, trunk, d, frame * 1.5);
    spines(pen, o, 4, 30, 8.5, 16 + sway, 7, 2.4);
    outline(img);
    return img;
}

Image tail(Dir d, int frame) {
    Image img(32, 32);
    Pen pen(img);
    Oriented o{d};
    const double wag = std::sin(frame * kPi / 2) * 3.0;
    // a flame tuft at the tip
    std::vector<std::pair<double, double>> tuft;
    for (int k = 0; k <= 8; ++k) {
        double a = kPi * 0.5 + k * kPi / 8;
        double r = k % 2 == 0 ? 8.0 : 4.0;
        tuft.push_back(o(8 + std::cos(a) * r, 16 + wag + std::sin(a) * r * 1.1));
    }
    tuft.push_back(o(10, 16 + wag));
    pen.shaded(pen.poly(tuft), makeRamp(kMane), soft(2.0));
    // the tail tapers from the body ahead to the tip behind
    Mask tailMask = pen.poly(o({{32, 7.5}, {22, 9.5}, {13, 13 + wag * 0.5}, {7, 16 + wag}, {13, 19 + wag * 0.5}, {22, 22.5}, {32, 24.5}}));
    pen.shaded(tailMask, makeRamp(kHide), soft(5.0));
    scales(img, tailMask, d, 0);
    for (int k = 0; k < 3; ++k) {
        double u = 13 + k * 7;
        double v = 16 + wag * (1.0 - (u - 7) / 25.0);
        pen.shaded(pen.poly(o({{u + 2.5, v - 2.0}, {u - 4.0, v}, {u + 2.5, v + 2.0}})), makeRamp(kMane), soft(1.2));
    }
    outline(img);
    return img;
}

using Painter = Image (*)(Dir, int);

void addPart(AssetSet& set, const std::string& name, const std::string& deathName, Painter paint, int speed) {
    std::vector<Image> walks[4];
    for (int d = 0; d < 4; ++d)
        for (int f = 0; f < 4; ++f) walks[d].push_back(paint(Dir(d), f));
    const int order[4] = {kRight, kLeft, kUp, kDown};
    for (int d : order) {
        Section& s = set.add(name + kDirNames[d], "dragon", walks[d]);
        if (d == kDown) s.with("animationSpeed", speed).with("stillFrameIndex", 0);
    }
    for (int d : order) set.add(name + "hit" + kDirNames[d], "dragon", hitFrames(walks[d]));
    set.add(deathName, "dragon", burstDeath(walks[kDown][0], rgb(255, 200, 90), 7, 555u + unsigned(name.size())))
        .with("animationSpeed", 100);
}

}  // namespace

void addDragon(AssetSet& set) {
    addPart(set, "enemy5Head", "Enemy5Headdeath", head, 140);
    addPart(set, "enemy5Body", "Enemy5Bodydeath", body, 140);
    addPart(set, "enemy5Tail", "Enemy5Taildeath", tail, 140);
}

}  // namespace art
