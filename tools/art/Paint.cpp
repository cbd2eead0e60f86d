#include "art/Paint.h"

#include <algorithm>
#include <cmath>

namespace art {

bool Mask::empty() const {
    return std::none_of(m_.begin(), m_.end(), [](unsigned char v) { return v != 0; });
}

Mask& Mask::operator|=(const Mask& o) {
    for (size_t i = 0; i < m_.size() && i < o.m_.size(); ++i) m_[i] = m_[i] | o.m_[i];
    return *this;
}

Mask& Mask::operator-=(const Mask& o) {
    for (size_t i = 0; i < m_.size() && i < o.m_.size(); ++i)
        if (o.m_[i]) m_[i] = 0;
    return *this;
}

Mask& Mask::operator&=(const Mask& o) {
    for (size_t i = 0; i < m_.size(); ++i) m_[i] = (i < o.m_.size() && m_[i] && o.m_[i]) ? 1 : 0;
    return *this;
}

Mask Mask::dilated() const {
    Mask r(w_, h_);
    for (int y = 0; y < h_; ++y)
        for (int x = 0; x < w_; ++x)
            if (at(x, y) || at(x - 1, y) || at(x + 1, y) || at(x, y - 1) || at(x, y + 1)) r.set(x, y);
    return r;
}

Mask Mask::eroded() const {
    Mask r(w_, h_);
    for (int y = 0; y < h_; ++y)
        for (int x = 0; x < w_; ++x)
            if (at(x, y) && at(x - 1, y) && at(x + 1, y) && at(x, y - 1) && at(x, y + 1)) r.set(x, y);
    return r;
}

Mask Mask::shifted(int dx, int dy) const {
    Mask r(w_, h_);
    for (int y = 0; y < h_; ++y)
        for (int x = 0; x < w_; ++x)
            if (at(x, y)) r.set(x + dx, y + dy);
    return r;
}

Mask Mask::flippedH() const {
    Mask r(w_, h_);
    for (int y = 0; y < h_; ++y)
        for (int x = 0; x < w_; ++x)
            if (at(x, y)) r.set(w_ - 1 - x, y);
    return r;
}

Mask Pen::all() const {
    Mask m = none();
    for (int y = 0; y < m.height(); ++y)
        for (int x = 0; x < m.width(); ++x) m.set(x, y);
    return m;
}

Mask Pen::ellipse(double cx, double cy, double rx, double ry) const {
    Mask m = none();
    if (rx <= 0 || ry <= 0) return m;
    int x0 = std::max(0, int(std::floor(cx - rx - 1))), x1 = std::min(m.width() - 1, int(std::ceil(cx + rx + 1)));
    int y0 = std::max(0, int(std::floor(cy - ry - 1))), y1 = std::min(m.height() - 1, int(std::ceil(cy + ry + 1)));
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x) {
            double dx = (x + 0.5 - cx) / rx, dy = (y + 0.5 - cy) / ry;
            if (dx * dx + dy * dy <= 1.0) m.set(x, y);
        }
    return m;
}

Mask Pen::rect(int x, int y, int w, int h) const {
    Mask m = none();
    for (int yy = y; yy < y + h; ++yy)
        for (int xx = x; xx < x + w; ++xx) m.set(xx, yy);
    return m;
}

Mask Pen::roundRect(int x, int y, int w, int h, double r) const {
    Mask m = none();
    for (int yy = y; yy < y + h; ++yy)
        for (int xx = x; xx < x + w; ++xx) {
            double px = xx + 0.5, py = yy + 0.5;
            double cx = std::clamp(px, x + r, x + w - r), cy = std::clamp(py, y + r, y + h - r);
            double dx = px - cx, dy = py - cy;
            if (dx * dx + dy * dy <= r * r + 0.25) m.set(xx, yy);
        }
    return m;
}

Mask Pen::poly(std::initializer_list<std::pair<double, double>> pts) const {
    return poly(std::vector<std::pair<double, double>>(pts));
}

Mask Pen::poly(const std::vector<std::pair<double, double>>& pts) const {
    Mask m = none();
    size_t n = pts.size();
    if (n < 3) return m;
    double mnx = 1e9, mny = 1e9, mxx = -1e9, mxy = -1e9;
    for (const auto& p : pts) {
        mnx = std::min(mnx, p.first), mxx = std::max(mxx, p.first);
        mny = std::min(mny, p.second), mxy = std::max(mxy, p.second);
    }
    int ya = std::max(0, int(std::floor(mny))), yb = std::min(m.height() - 1, int(std::ceil(mxy)));
    int xa = std::max(0, int(std::floor(mnx))), xb = std::min(m.width() - 1, int(std::ceil(mxx)));
    for (int y = ya; y <= yb; ++y) {
        double py = y + 0.5;
        for (int x = xa; x <= xb; ++x) {
            double px = x + 0.5;
            bool in = false;
            for (size_t i = 0, j = n - 1; i < n; j = i++) {
                double xi = pts[i].first, yi = pts[i].second, xj = pts[j].first, yj = pts[j].second;
                if ((yi > py) != (yj > py) && px < (xj - xi) * (py - yi) / (yj - yi) + xi) in = !in;
            }
            if (in) m.set(x, y);
        }
    }
    return m;
}

Mask Pen::line(double x0, double y0, double x1, double y1, double thick) const {
    Mask m = none();
    double r = thick / 2.0;
    double vx = x1 - x0, vy = y1 - y0, len2 = vx * vx + vy * vy;
    int ya = std::max(0, int(std::floor(std::min(y0, y1) - r - 1)));
    int yb = std::min(m.height() - 1, int(std::ceil(std::max(y0, y1) + r + 1)));
    int xa = std::max(0, int(std::floor(std::min(x0, x1) - r - 1)));
    int xb = std::min(m.width() - 1, int(std::ceil(std::max(x0, x1) + r + 1)));
    for (int y = ya; y <= yb; ++y)
        for (int x = xa; x <= xb; ++x) {
            double px = x + 0.5 - x0, py = y + 0.5 - y0;
            double t = len2 > 0 ? std::clamp((px * vx + py * vy) / len2, 0.0, 1.0) : 0.0;
            double dx = px - t * vx, dy = py - t * vy;
            if (dx * dx + dy * dy <= r * r) m.set(x, y);
        }
    return m;
}

Mask Pen::solidPixels() const {
    Mask m = none();
    for (int y = 0; y < m.height(); ++y)
        for (int x = 0; x < m.width(); ++x)
            if (img_.solid(x, y)) m.set(x, y);
    return m;
}

void Pen::flat(const Mask& m, Colour c) {
    for (int y = 0; y < m.height(); ++y)
        for (int x = 0; x < m.width(); ++x)
            if (m.at(x, y)) img_.set(x, y, c);
}

void Pen::contour(const Mask& m, Colour c) {
    Mask ring = m.dilated() - m;
    for (int y = 0; y < m.height(); ++y)
        for (int x = 0; x < m.width(); ++x)
            if (ring.at(x, y) && img_.solid(x, y)) img_.set(x, y, c);
}

void Pen::shaded(const Mask& m, const Ramp& r, const Shading& s) {
    const int w = m.width(), h = m.height();
    if (w == 0 || h == 0) return;
    if (s.contour) contour(m, r[0]);

    // Distance to the nearest pixel outside the shape (two-pass chamfer).
    const double big = 1e9, d1 = 1.0, d2 = 1.41421356;
    std::vector<double> d(size_t(w) * h, 0.0);
    auto D = [&](int x, int y) -> double { return (x < 0 || y < 0 || x >= w || y >= h) ? 0.0 : d[size_t(y) * w + x]; };
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) d[size_t(y) * w + x] = m.at(x, y) ? big : 0.0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            double& v = d[size_t(y) * w + x];
            if (v == 0.0) continue;
            v = std::min({v, D(x - 1, y) + d1, D(x, y - 1) + d1, D(x - 1, y - 1) + d2, D(x + 1, y - 1) + d2});
        }
    for (int y = h - 1; y >= 0; --y)
        for (int x = w - 1; x >= 0; --x) {
            double& v = d[size_t(y) * w + x];
            if (v == 0.0) continue;
            v = std::min({v, D(x + 1, y) + d1, D(x, y + 1) + d1, D(x + 1, y + 1) + d2, D(x - 1, y + 1) + d2});
        }

    const double R = std::max(0.5, s.round);
    auto H = [&](int x, int y) {
        double t = std::min(D(x, y), R) / R;
        return std::sqrt(std::max(0.0, 1.0 - (1.0 - t) * (1.0 - t))) * R;
    };
    const double lx = -0.52, ly = -0.62, lz = 0.58;
    const double ll = std::sqrt(lx * lx + ly * ly + lz * lz);
    const double th[4] = {0.22, 0.50, 0.80, 0.93};  // boundaries of levels 1|2|3|4|5
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            if (!m.at(x, y)) continue;
            double nx = -(H(x + 1, y) - H(x - 1, y)) / 2.0, ny = -(H(x, y + 1) - H(x, y - 1)) / 2.0;
            double nz = 1.0, nl = std::sqrt(nx * nx + ny * ny + nz * nz);
            double dot = (nx * lx + ny * ly + nz * lz) / (nl * ll) + s.bias;
            int level = 1;
            for (int k = 0; k < 4; ++k) {
                double t = th[k];
                if (s.dither && std::fabs(dot - t) < 0.035) {
                    if (((x + y) & 1) == 0) level = k + 2;
                    continue;
                }
                if (dot > t) level = k + 2;
            }
            level = std::clamp(level, s.lo, s.hi);
            img_.set(x, y, r[level]);
        }
}

namespace {

const Colour kInk = rgb(24, 14, 30);

void outlineWith(Image& img, bool tinted, Colour fixed) {
    Image src = img;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            if (src.solid(x, y)) continue;
            const int nx[4] = {x - 1, x + 1, x, x};
            const int ny[4] = {y, y, y - 1, y + 1};
            bool any = false;
            Colour darkest = 0xFFFFFF;
            int best = 1 << 30;
            for (int k = 0; k < 4; ++k) {
                Colour c = src.at(nx[k], ny[k]);
                if (c == kKey) continue;
                any = true;
                int lum = red(c) * 3 + green(c) * 6 + blue(c);
                if (lum < best) best = lum, darkest = c;
            }
            if (!any) continue;
            img.set(x, y, tinted ? safe(mix(shade(darkest, -0.8), kInk, 0.55)) : fixed);
        }
}

}  // namespace

void outline(Image& img) { outlineWith(img, true, 0); }

void outline(Image& img, Colour c) { outlineWith(img, false, c); }

}  // namespace art
