#include "art/Image.h"

#include <algorithm>
#include <cstdlib>

namespace art {

Image::Image(int w, int h, Colour fill) : w_(std::max(0, w)), h_(std::max(0, h)), px_(size_t(w_) * h_, fill) {}

void Image::fill(Colour c) { std::fill(px_.begin(), px_.end(), c); }

void Image::fillRect(int x, int y, int w, int h, Colour c) {
    int x0 = std::max(0, x), y0 = std::max(0, y);
    int x1 = std::min(w_, x + w), y1 = std::min(h_, y + h);
    for (int yy = y0; yy < y1; ++yy)
        for (int xx = x0; xx < x1; ++xx) px_[size_t(yy) * w_ + xx] = c;
}

void Image::frameRect(int x, int y, int w, int h, Colour c) {
    if (w <= 0 || h <= 0) return;
    hline(x, x + w - 1, y, c);
    hline(x, x + w - 1, y + h - 1, c);
    vline(x, y, y + h - 1, c);
    vline(x + w - 1, y, y + h - 1, c);
}

void Image::hline(int x0, int x1, int y, Colour c) {
    if (x0 > x1) std::swap(x0, x1);
    for (int x = x0; x <= x1; ++x) set(x, y, c);
}

void Image::vline(int x, int y0, int y1, Colour c) {
    if (y0 > y1) std::swap(y0, y1);
    for (int y = y0; y <= y1; ++y) set(x, y, c);
}

void Image::line(int x0, int y0, int x1, int y1, Colour c) {
    int dx = std::abs(x1 - x0), sx = x0 < x1 ? 1 : -1;
    int dy = -std::abs(y1 - y0), sy = y0 < y1 ? 1 : -1;
    int err = dx + dy;
    for (;;) {
        set(x0, y0, c);
        if (x0 == x1 && y0 == y1) break;
        int e2 = 2 * err;
        if (e2 >= dy) err += dy, x0 += sx;
        if (e2 <= dx) err += dx, y0 += sy;
    }
}

void Image::blit(const Image& src, int dx, int dy, bool keyed) {
    for (int y = 0; y < src.h_; ++y)
        for (int x = 0; x < src.w_; ++x) {
            Colour c = src.px_[size_t(y) * src.w_ + x];
            if (keyed && c == kKey) continue;
            set(dx + x, dy + y, c);
        }
}

Image Image::cropped(int x, int y, int w, int h) const {
    Image out(w, h);
    for (int yy = 0; yy < h; ++yy)
        for (int xx = 0; xx < w; ++xx) out.set(xx, yy, at(x + xx, y + yy));
    return out;
}

Image Image::flippedH() const {
    Image out(w_, h_);
    for (int y = 0; y < h_; ++y)
        for (int x = 0; x < w_; ++x) out.set(w_ - 1 - x, y, at(x, y));
    return out;
}

Image Image::flippedV() const {
    Image out(w_, h_);
    for (int y = 0; y < h_; ++y)
        for (int x = 0; x < w_; ++x) out.set(x, h_ - 1 - y, at(x, y));
    return out;
}

Image Image::rotatedCW() const {
    Image out(h_, w_);
    for (int y = 0; y < h_; ++y)
        for (int x = 0; x < w_; ++x) out.set(h_ - 1 - y, x, at(x, y));
    return out;
}

Image Image::scaled(int k) const {
    if (k <= 1) return *this;
    Image out(w_ * k, h_ * k);
    for (int y = 0; y < out.h_; ++y)
        for (int x = 0; x < out.w_; ++x) out.px_[size_t(y) * out.w_ + x] = at(x / k, y / k);
    return out;
}

Image Image::halved() const {
    Image out(w_ / 2, h_ / 2);
    for (int y = 0; y < out.h_; ++y)
        for (int x = 0; x < out.w_; ++x) {
            int r = 0, g = 0, b = 0, n = 0;
            for (int k = 0; k < 4; ++k) {
                Colour c = at(2 * x + (k & 1), 2 * y + (k >> 1));
                if (c == kKey) continue;
                r += red(c), g += green(c), b += blue(c), ++n;
            }
            if (n > 0) out.set(x, y, safe(rgb(r / n, g / n, b / n)));
        }
    return out;
}

void Image::tint(Colour c, double t) {
    for (Colour& p : px_)
        if (p != kKey) p = safe(mix(p, c, t));
}

void Image::silhouette(Colour c) {
    for (Colour& p : px_)
        if (p != kKey) p = c;
}

}  // namespace art
