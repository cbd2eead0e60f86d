// 32-bit pixel surfaces: the stand-in for memory device contexts and bitmaps.
//
// Pixels are 0x00RRGGBB. Every blit clips to both surfaces (and to the
// source rectangle), so no call reads or writes outside a buffer; negative
// or empty sizes draw nothing.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

struct SDL_Surface;  // the private pixel store; never used outside the platform layer

namespace plat {

constexpr uint32_t kKeyColour = 0x0000FF00;  // pure green: skipped by keyed blits

// A run-length .bmp canvas of up to this many pixels (2048 x 2048, 16 MB
// once decoded) loads whatever the size of its data: line ends and deltas
// may leave any of it blank. A larger one must be in proportion to its data.
constexpr uint64_t kMaxSparseRlePixels = uint64_t(2048) * 2048;

inline constexpr uint32_t rgb(int r, int g, int b) {
    return (uint32_t(r & 255) << 16) | (uint32_t(g & 255) << 8) | uint32_t(b & 255);
}

class Surface {
public:
    // A black surface of w x h pixels; null when w or h is not in 1..16384
    // or memory runs out.
    static std::unique_ptr<Surface> create(int w, int h);

    // Decodes a Windows .bmp file (1, 4, 8, 16, 24 or 32 bits per pixel,
    // uncompressed or RLE, bottom-up or top-down). Null on any fault, with
    // the reason in *error when error is given: missing, empty, truncated or
    // not a BMP, a width or height outside 1..16384, or a run-length image
    // above kMaxSparseRlePixels far beyond what its data can describe.
    static std::unique_ptr<Surface> loadBmp(const std::string& path, std::string* error = nullptr);

    // The same decoded image shared by every caller that loads one path, for
    // as long as the file on disk is unchanged (size, times, inode) and
    // somebody holds the image (once the last holder lets go, it is freed
    // and a later load decodes the file again). A file
    // checked within the last 100 ms is not checked again, so a change on
    // disk shows up at most that late. The pixels must not be written
    // through the result.
    static std::shared_ptr<const Surface> loadBmpShared(const std::string& path,
                                                        std::string* error = nullptr);

    ~Surface();
    Surface(const Surface&) = delete;
    Surface& operator=(const Surface&) = delete;

    int width() const;
    int height() const;

    // Pixel at (x, y); 0 outside the surface.
    uint32_t pixel(int x, int y) const;
    void setPixel(int x, int y, uint32_t colour);

    // Fills the rectangle (clipped).
    void fill(int x, int y, int w, int h, uint32_t colour);

    // Copies the w x h area at (sx, sy) of src to (dx, dy) of this surface.
    void copyFrom(const Surface& src, int sx, int sy, int w, int h, int dx, int dy);

    // The same, leaving every pixel of exactly kKeyColour in src undrawn.
    void copyKeyedFrom(const Surface& src, int sx, int sy, int w, int h, int dx, int dy);

    // Writes a 24-bit .bmp file. False when it cannot be written; the file
    // is replaced whole, so a failure leaves any old file as it was.
    bool saveBmp(const std::string& path) const;

    // Row-major pixels, pitch() bytes per row. Fetch the writable pointer
    // again after any other call on this surface: asking for it is what
    // tells the surface that its pixels may change.
    const uint32_t* pixels() const;
    uint32_t* pixels();
    int pitch() const;

private:
    explicit Surface(SDL_Surface* s);
    void changed();  // the pixels were written: cached blit data is stale
    // No pixel holds the key colour, so a keyed copy is a straight one.
    bool opaque() const;
    SDL_Surface* keyedSource(const SDL_Surface* target) const;
    void blit(const Surface& src, int sx, int sy, int w, int h, int dx, int dy, bool keyed);

    SDL_Surface* surface_;
    // A second view of the same pixels that carries the key colour, so that
    // keyed and straight copies from one image are both exact. It is
    // run-length encoded once it is drawn twice in a row unchanged to the
    // same target, and dropped whenever the pixels change.
    mutable SDL_Surface* keyed_ = nullptr;
    mutable const SDL_Surface* keyedTarget_ = nullptr;
    mutable int opaque_ = -1;  // -1 not yet known, else 0 or 1
};

}  // namespace plat
