#include "art/Colour.h"

#include <algorithm>
#include <cmath>

namespace art {

namespace {

struct Hsv {
    double h, s, v;  // h in degrees 0..360, s and v in 0..1
};

Hsv toHsv(Colour c) {
    double r = red(c) / 255.0, g = green(c) / 255.0, b = blue(c) / 255.0;
    double mx = std::max({r, g, b}), mn = std::min({r, g, b});
    double d = mx - mn;
    Hsv out{0.0, mx <= 0.0 ? 0.0 : d / mx, mx};
    if (d > 0.0) {
        if (mx == r)
            out.h = 60.0 * std::fmod((g - b) / d + 6.0, 6.0);
        else if (mx == g)
            out.h = 60.0 * ((b - r) / d + 2.0);
        else
            out.h = 60.0 * ((r - g) / d + 4.0);
    }
    return out;
}

Colour fromHsv(Hsv c) {
    double h = std::fmod(c.h + 360.0, 360.0) / 60.0;
    double s = std::clamp(c.s, 0.0, 1.0), v = std::clamp(c.v, 0.0, 1.0);
    int i = int(h) % 6;
    double f = h - std::floor(h);
    double p = v * (1 - s), q = v * (1 - s * f), t = v * (1 - s * (1 - f));
    double r = 0, g = 0, b = 0;
    switch (i) {
        case 0: r = v, g = t, b = p; break;
        case 1: r = q, g = v, b = p; break;
        case 2: r = p, g = v, b = t; break;
        case 3: r = p, g = q, b = v; break;
        case 4: r = t, g = p, b = v; break;
        default: r = v, g = p, b = q; break;
    }
    return rgb(int(std::lround(r * 255)), int(std::lround(g * 255)), int(std::lround(b * 255)));
}

// Moves hue a toward hue b by at most `by` degrees along the short way.
double drift(double a, double b, double by) {
    double d = std::fmod(b - a + 540.0, 360.0) - 180.0;
    if (std::fabs(d) <= by) return b;
    return a + (d > 0 ? by : -by);
}

}  // namespace

Colour mix(Colour a, Colour b, double t) {
    t = std::clamp(t, 0.0, 1.0);
    auto ch = [t](int x, int y) { return int(std::lround(x + (y - x) * t)); };
    return rgb(ch(red(a), red(b)), ch(green(a), green(b)), ch(blue(a), blue(b)));
}

Colour shade(Colour c, double amount) {
    Hsv h = toHsv(c);
    if (amount < 0) {
        double a = std::min(1.0, -amount);
        if (h.s > 0.05) h.h = drift(h.h, 245.0, 28.0 * a);
        h.s = std::min(1.0, h.s + 0.12 * a + (h.s < 0.05 ? 0.08 * a : 0.0));
        h.v *= 1.0 - 0.78 * a;
    } else {
        double a = std::min(1.0, amount);
        if (h.s > 0.05) h.h = drift(h.h, 52.0, 22.0 * a);
        h.s *= 1.0 - 0.45 * a;
        h.v = h.v + (1.0 - h.v) * 0.9 * a;
        h.v = std::max(h.v, std::min(1.0, h.v + 0.08 * a));
    }
    return safe(fromHsv(h));
}

bool nearKey(Colour c) {
    if (c == kKey) return false;
    return green(c) >= 200 && red(c) <= 60 && blue(c) <= 60;
}

Colour safe(Colour c) {
    if (c == kKey || nearKey(c)) return rgb(std::max(red(c), 70), std::min(green(c), 205), std::max(blue(c), 70));
    return c;
}

Ramp makeRamp(Colour base) {
    Ramp r{};
    r.c[0] = shade(base, -0.86);
    r.c[1] = shade(base, -0.52);
    r.c[2] = shade(base, -0.26);
    r.c[3] = safe(base);
    r.c[4] = shade(base, 0.30);
    r.c[5] = shade(base, 0.62);
    return r;
}

Ramp withContour(Ramp r, Colour contour) {
    r.c[0] = contour;
    return r;
}

}  // namespace art
