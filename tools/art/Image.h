// A plain RGB raster. Pixels of kKey are transparent wherever an image is
// drawn onto another.
#pragma once

#include <cstddef>
#include <vector>

#include "art/Colour.h"

namespace art {

class Image {
public:
    Image() = default;
    Image(int w, int h, Colour fill = kKey);

    int width() const { return w_; }
    int height() const { return h_; }
    bool inside(int x, int y) const { return x >= 0 && y >= 0 && x < w_ && y < h_; }

    // kKey outside the image.
    Colour at(int x, int y) const { return inside(x, y) ? px_[std::size_t(y) * w_ + x] : kKey; }
    bool solid(int x, int y) const { return at(x, y) != kKey; }
    void set(int x, int y, Colour c) {
        if (inside(x, y)) px_[std::size_t(y) * w_ + x] = c;
    }
    // Sets only where something is drawn already.
    void setOnSolid(int x, int y, Colour c) {
        if (solid(x, y)) set(x, y, c);
    }

    void fill(Colour c);
    void fillRect(int x, int y, int w, int h, Colour c);
    void frameRect(int x, int y, int w, int h, Colour c);
    void hline(int x0, int x1, int y, Colour c);
    void vline(int x, int y0, int y1, Colour c);
    void line(int x0, int y0, int x1, int y1, Colour c);

    // Draws src with its top-left corner at (dx, dy); key pixels of src are
    // skipped when keyed.
    void blit(const Image& src, int dx, int dy, bool keyed = true);

    Image cropped(int x, int y, int w, int h) const;
    Image flippedH() const;
    Image flippedV() const;
    Image rotatedCW() const;   // quarter turn clockwise
    Image scaled(int k) const;  // nearest neighbour, k >= 1
    Image halved() const;       // 2 x 2 average; key only where all four are key

    // Every drawn pixel blended toward c by t.
    void tint(Colour c, double t);
    // Every drawn pixel replaced by c.
    void silhouette(Colour c);

    bool operator==(const Image& o) const { return w_ == o.w_ && h_ == o.h_ && px_ == o.px_; }

    const std::vector<Colour>& pixels() const { return px_; }

private:
    int w_ = 0, h_ = 0;
    std::vector<Colour> px_;
};

}  // namespace art
