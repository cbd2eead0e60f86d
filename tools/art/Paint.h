// Shapes as pixel masks, and the painter that fills them with shaded
// material lit from the top-left, draws contours between parts and the
// outline around a finished sprite.
#pragma once

#include <initializer_list>
#include <utility>
#include <vector>

#include "art/Image.h"

namespace art {

class Mask {
public:
    Mask(int w = 0, int h = 0) : w_(w), h_(h), m_(std::size_t(w) * h, 0) {}

    int width() const { return w_; }
    int height() const { return h_; }
    bool at(int x, int y) const { return x >= 0 && y >= 0 && x < w_ && y < h_ && m_[std::size_t(y) * w_ + x]; }
    void set(int x, int y, bool v = true) {
        if (x >= 0 && y >= 0 && x < w_ && y < h_) m_[std::size_t(y) * w_ + x] = v;
    }
    bool empty() const;

    Mask& operator|=(const Mask& o);
    Mask& operator-=(const Mask& o);
    Mask& operator&=(const Mask& o);
    Mask operator|(const Mask& o) const { Mask r = *this; return r |= o; }
    Mask operator-(const Mask& o) const { Mask r = *this; return r -= o; }
    Mask operator&(const Mask& o) const { Mask r = *this; return r &= o; }

    Mask dilated() const;  // grows by one pixel (4-neighbourhood)
    Mask eroded() const;   // shrinks by one pixel
    Mask shifted(int dx, int dy) const;
    Mask flippedH() const;

private:
    int w_, h_;
    std::vector<unsigned char> m_;
};

struct Shading {
    double round = 3.0;   // depth of the rounded rim in pixels; large values dome the shape
    bool contour = true;  // dark line where the shape borders parts drawn before it
    int lo = 1, hi = 5;   // ramp range used
    double bias = 0.0;    // raises (+) or lowers (-) every shade
    bool dither = false;  // checker dither near the shade boundaries
};

// Shading for a rounded shape: how round, whether it gets a contour, and a
// lighter or darker bias.
inline Shading soft(double round, bool contour = true, double bias = 0.0) {
    Shading s;
    s.round = round;
    s.contour = contour;
    s.bias = bias;
    return s;
}

class Pen {
public:
    explicit Pen(Image& img) : img_(img) {}
    Image& image() { return img_; }

    Mask none() const { return Mask(img_.width(), img_.height()); }
    Mask all() const;
    Mask ellipse(double cx, double cy, double rx, double ry) const;
    Mask circle(double cx, double cy, double r) const { return ellipse(cx, cy, r, r); }
    Mask rect(int x, int y, int w, int h) const;
    Mask roundRect(int x, int y, int w, int h, double r) const;
    Mask poly(std::initializer_list<std::pair<double, double>> pts) const;
    Mask poly(const std::vector<std::pair<double, double>>& pts) const;
    Mask line(double x0, double y0, double x1, double y1, double thick) const;
    Mask solidPixels() const;  // every drawn pixel of the image

    void flat(const Mask& m, Colour c);
    void shaded(const Mask& m, const Ramp& r, const Shading& s = Shading{});
    // Ring around m, drawn only over pixels that are drawn already.
    void contour(const Mask& m, Colour c);

private:
    Image& img_;
};

// Closes a sprite: every transparent pixel beside a drawn one (left, right,
// above, below) becomes a dark contour tinted by its neighbour.
void outline(Image& img);

// The same with one fixed colour.
void outline(Image& img, Colour c);

}  // namespace art
