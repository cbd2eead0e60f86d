#include "art/TileKit.h"

#include <algorithm>
#include <cmath>

#include "art/Noise.h"

namespace art {

void noiseFill(Image& img, const Ramp& r, uint32_t seed, double cell, int lo, int hi) {
    const int n = hi - lo + 1;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            double v = fractalNoise(x, y, cell, seed, 3, kTile);
            // a touch of per-pixel grain, ordered so it reads as texture
            v += (hashUnit(x & 31, y & 31, seed ^ 0x5bd1u) - 0.5) * 0.16;
            int level = lo + std::clamp(int(v * n), 0, n - 1);
            img.set(x, y, r[level]);
        }
}

void bevel(Image& img, int x, int y, int w, int h, const Ramp& r, int depth) {
    img.fillRect(x, y, w, h, r[3]);
    for (int d = 0; d < depth; ++d) {
        img.hline(x + d, x + w - 1 - d, y + d, r[4]);
        img.vline(x + d, y + d, y + h - 1 - d, r[4]);
        img.hline(x + d, x + w - 1 - d, y + h - 1 - d, r[2]);
        img.vline(x + w - 1 - d, y + d, y + h - 1 - d, r[2]);
    }
    img.set(x, y, r[5]);
}

void paving(Image& img, const Ramp& r, uint32_t seed, int w, int h, bool staggered, Colour joint) {
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            int row = y / h;
            int sx = staggered && (row % 2) ? (x + w / 2) % kTile : x;
            int col = sx / w;
            int lx = sx % w, ly = y % h;
            double tone = hashUnit(col, row, seed) * 0.8 - 0.4;
            double grain = fractalNoise(x, y, 8, seed + 7, 2, kTile) - 0.5;
            double v = tone * 0.6 + grain * 0.9;
            int level = v > 0.22 ? 4 : v < -0.22 ? 2 : 3;
            Colour c = r[level];
            if (lx == 0 || ly == 0) c = joint;
            else if (ly == 1 || lx == 1) c = r[std::min(5, level + 1)];
            else if (ly == h - 1 || lx == w - 1) c = r[std::max(1, level - 1)];
            img.set(x, y, c);
        }
}

void bricks(Image& img, const Ramp& r, uint32_t seed, int bw, int bh, Colour joint, int y0, int y1) {
    for (int y = y0; y < y1; ++y)
        for (int x = 0; x < img.width(); ++x) {
            int row = (y - y0) / bh;
            int sx = (row % 2) ? (x + bw / 2) % kTile : x;
            int col = sx / bw;
            int lx = sx % bw, ly = (y - y0) % bh;
            double tone = hashUnit(col, row, seed) - 0.5;
            double grain = fractalNoise(x, y, 4, seed + 3, 2, kTile) - 0.5;
            int level = 3 + (tone > 0.3 ? 1 : tone < -0.3 ? -1 : 0) + (grain > 0.3 ? 1 : 0);
            level = std::clamp(level, 2, 4);
            Colour c = r[level];
            if (ly == bh - 1 || lx == bw - 1) c = joint;
            else if (ly == 0) c = r[std::min(5, level + 1)];
            else if (ly == bh - 2) c = r[std::max(1, level - 1)];
            img.set(x, y, c);
        }
}

void planks(Image& img, const Ramp& r, uint32_t seed, int pw, bool vertical) {
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            int a = vertical ? x : y, b = vertical ? y : x;
            int board = a / pw, la = a % pw;
            double tone = hashUnit(board, 0, seed) - 0.5;
            double grain = std::sin((b + hashUnit(board, 1, seed) * 32) * 0.45 + fractalNoise(vertical ? x : y, vertical ? y : x, 8, seed, 2, kTile) * 5);
            int level = 3 + (tone > 0.25 ? 1 : tone < -0.25 ? -1 : 0) + (grain > 0.75 ? 1 : grain < -0.8 ? -1 : 0);
            level = std::clamp(level, 2, 4);
            Colour c = r[level];
            if (la == pw - 1) c = r[1];
            else if (la == 0) c = r[std::min(5, level + 1)];
            // board ends, staggered
            int end = int(hashUnit(board, 2, seed) * kTile);
            if (b == end) c = r[1];
            if (b == (end + 1) % kTile && la > 0 && la < pw - 1) c = r[std::min(5, level + 1)];
            img.set(x, y, c);
        }
}

void plate(Image& img, const Ramp& r, uint32_t seed, int inset) {
    int s = kTile - 2 * inset;
    for (int y = 0; y < s; ++y)
        for (int x = 0; x < s; ++x) {
            double v = fractalNoise(x, y, 16, seed, 2, kTile) - 0.5;
            // brushed streaks
            double streak = std::sin((x + y * 0.15) * 1.7 + hashUnit(y, 0, seed) * 2) * 0.08;
            int level = 3 + (v + streak > 0.18 ? 1 : v + streak < -0.2 ? -1 : 0);
            img.set(inset + x, inset + y, r[level]);
        }
    for (int k = 0; k < s; ++k) {
        img.set(inset + k, inset, r[4]), img.set(inset, inset + k, r[4]);
        img.set(inset + k, inset + s - 1, r[1]), img.set(inset + s - 1, inset + k, r[1]);
    }
    const int rv[2] = {inset + 3, inset + s - 4};
    for (int ry : rv)
        for (int rx : rv) {
            img.set(rx, ry, r[5]);
            img.set(rx + 1, ry + 1, r[1]);
            img.set(rx + 1, ry, r[3]);
            img.set(rx, ry + 1, r[3]);
        }
}

void hush(Image& img, double keep) {
    double r = 0, g = 0, b = 0;
    int n = 0;
    for (Colour c : img.pixels())
        if (c != kKey) r += red(c), g += green(c), b += blue(c), ++n;
    if (n == 0) return;
    const Colour mean = rgb(int(std::lround(r / n)), int(std::lround(g / n)), int(std::lround(b / n)));
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (img.solid(x, y)) img.set(x, y, mix(mean, img.at(x, y), keep));
}

void pebbles(Image& img, const Ramp& r, uint32_t seed, int count, int x0, int y0, int x1, int y1) {
    Rng rng(seed);
    Pen pen(img);
    for (int k = 0; k < count; ++k) {
        double cx = x0 + rng.unit() * (x1 - x0), cy = y0 + rng.unit() * (y1 - y0);
        double rad = 1.0 + rng.unit() * 1.6;
        Shading sh;
        sh.round = 2.0;
        sh.contour = false;
        Mask m = pen.ellipse(cx, cy, rad * 1.2, rad);
        // a contact shadow under each pebble
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x)
                if (m.shifted(1, 1).at(x, y) && !m.at(x, y)) img.set(x, y, shade(img.at(x, y), -0.35));
        pen.shaded(m, r, sh);
    }
}

Image raisedBlock(const Fill& top, const Fill& face, int faceH, int size) {
    Image out(size, size);
    Image t(kTile, kTile), f(kTile, kTile);
    top(t);
    face(f);
    const int split = size - faceH, last = size - 1;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) out.set(x, y, y < split ? t.at(x, y) : f.at(x, y));
    // the edge where top meets face catches the light; the face darkens downward
    for (int x = 0; x < size; ++x) {
        out.set(x, split - 1, shade(out.at(x, split - 1), 0.35));
        out.set(x, split, shade(out.at(x, split), -0.55));
        out.set(x, last, shade(out.at(x, last), -0.6));
    }
    for (int y = 0; y < split; ++y) {
        out.set(0, y, shade(out.at(0, y), 0.25));
        out.set(last, y, shade(out.at(last, y), -0.45));
    }
    for (int y = split; y < size; ++y) {
        out.set(last, y, shade(out.at(last, y), -0.35));
        double t2 = double(y - split) / std::max(1, faceH);
        for (int x = 0; x < last; ++x) out.set(x, y, shade(out.at(x, y), -0.18 * t2));
    }
    return out;
}

Image wallTile(Edge e, const Fill& top, const Fill& face, const Ramp& rim) {
    Image out(kTile, kTile);
    top(out);
    switch (e) {
        case Edge::Top: {
            Image f(kTile, kTile);
            face(f);
            const int split = kWallFaceTop;
            for (int y = split; y < kTile; ++y)
                for (int x = 0; x < kTile; ++x) {
                    double t = double(y - split) / (kTile - split);
                    out.set(x, y, shade(f.at(x, y), -0.1 - 0.2 * t));
                }
            out.hline(0, kTile - 1, split - 1, rim[5]);
            out.hline(0, kTile - 1, split - 2, rim[4]);
            out.hline(0, kTile - 1, split, rim[1]);
            out.hline(0, kTile - 1, kTile - 1, rim[0]);
            break;
        }
        case Edge::Left:
            out.vline(kTile - 1, 0, kTile - 1, rim[0]);
            out.vline(kTile - 2, 0, kTile - 1, rim[1]);
            out.vline(kTile - 3, 0, kTile - 1, rim[2]);
            break;
        case Edge::Right:
            out.vline(0, 0, kTile - 1, rim[0]);
            out.vline(1, 0, kTile - 1, rim[4]);
            out.vline(2, 0, kTile - 1, rim[5]);
            break;
        case Edge::Bottom:
            out.hline(0, kTile - 1, 0, rim[0]);
            out.hline(0, kTile - 1, 1, rim[5]);
            out.hline(0, kTile - 1, 2, rim[4]);
            break;
        case Edge::TopLeft:
            out.vline(kTile - 1, kTile - 4, kTile - 1, rim[1]);
            out.hline(kTile - 4, kTile - 1, kTile - 1, rim[1]);
            break;
        case Edge::TopRight:
            out.vline(0, kTile - 4, kTile - 1, rim[4]);
            out.hline(0, 3, kTile - 1, rim[1]);
            break;
        case Edge::BottomLeft:
            out.vline(kTile - 1, 0, 3, rim[1]);
            out.hline(kTile - 4, kTile - 1, 0, rim[4]);
            break;
        case Edge::BottomRight:
            out.vline(0, 0, 3, rim[4]);
            out.hline(0, 3, 0, rim[4]);
            break;
    }
    return out;
}

Image layered(const Image& dst, const Image& src) {
    Image out = dst;
    out.blit(src, 0, 0);
    return out;
}

Image blank() { return Image(kTile, kTile); }

Image standing(const Image& ground, Image obj) {
    outline(obj);
    Image out = ground;
    for (int y = 0; y < kTile; ++y)
        for (int x = 0; x < kTile; ++x)
            if (obj.solid(x - 2, y - 2) && !obj.solid(x, y)) out.set(x, y, shade(out.at(x, y), -0.4));
    out.blit(obj, 0, 0);
    return out;
}

}  // namespace art
