// Colours as 0xRRGGBB, shade ramps with hue shifting, and the guard that
// keeps every drawn colour clear of the transparent key.
#pragma once

#include <cstdint>

namespace art {

using Colour = uint32_t;

// Pure green: the transparent background of every sprite. Never drawn.
constexpr Colour kKey = 0x00FF00;

constexpr Colour rgb(int r, int g, int b) {
    return (Colour(r < 0 ? 0 : r > 255 ? 255 : r) << 16) |
           (Colour(g < 0 ? 0 : g > 255 ? 255 : g) << 8) | Colour(b < 0 ? 0 : b > 255 ? 255 : b);
}
constexpr int red(Colour c) { return int((c >> 16) & 255); }
constexpr int green(Colour c) { return int((c >> 8) & 255); }
constexpr int blue(Colour c) { return int(c & 255); }

// Linear blend: t = 0 gives a, t = 1 gives b.
Colour mix(Colour a, Colour b, double t);

// Darkens (amount < 0) or lightens (amount > 0, up to 1) with the hue
// drifting toward blue in the shadows and toward yellow in the lights, the
// way a painter shades rather than adding black or white.
Colour shade(Colour c, double amount);

// True for colours a viewer could mistake for the key, or that a lossy
// converter could round onto it: strong green with little red and blue.
bool nearKey(Colour c);

// The colour itself, or a slightly muted version of it when it is near the key.
Colour safe(Colour c);

// Six shades of one material: 0 contour, 1 deep shadow, 2 shadow, 3 base,
// 4 light, 5 highlight.
struct Ramp {
    Colour c[6];
    Colour operator[](int i) const { return c[i < 0 ? 0 : i > 5 ? 5 : i]; }
};

Ramp makeRamp(Colour base);

// A ramp whose contour is the given colour instead of the derived one.
Ramp withContour(Ramp r, Colour contour);

}  // namespace art
