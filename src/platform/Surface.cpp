#include "platform/Surface.h"

#include <SDL.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>

#include "platform/BmpCodec.h"
#include "platform/IniFileIo.h"
#include "platform/InternalState.h"

namespace plat {
namespace {

constexpr Uint32 kFormat = SDL_PIXELFORMAT_RGB888;  // 0x00RRGGBB in a 32-bit word
constexpr uint32_t kRgbMask = 0x00FFFFFF;
// The largest image (16384 x 16384 at 32 bits) with room for headers and palette.
constexpr std::size_t kMaxBmpFile =
    std::size_t(internal::kMaxBmpSide) * internal::kMaxBmpSide * 4 + (1u << 20);

void setError(std::string* error, const std::string& why) {
    if (error) *error = why;
}

// A copy after clipping: every coordinate inside both surfaces.
struct Span {
    int sx, sy, w, h, dx, dy;
};

// Clips a copy of the w x h area at (sx, sy) to (dx, dy) against both
// surfaces; 64-bit so that no input can overflow.
bool clipCopy(int srcW, int srcH, int dstW, int dstH, int64_t sx, int64_t sy, int64_t w,
              int64_t h, int64_t dx, int64_t dy, Span* out) {
    if (w <= 0 || h <= 0) return false;
    if (sx < 0) { w += sx; dx -= sx; sx = 0; }
    if (sy < 0) { h += sy; dy -= sy; sy = 0; }
    if (dx < 0) { w += dx; sx -= dx; dx = 0; }
    if (dy < 0) { h += dy; sy -= dy; dy = 0; }
    w = std::min({w, int64_t(srcW) - sx, int64_t(dstW) - dx});
    h = std::min({h, int64_t(srcH) - sy, int64_t(dstH) - dy});
    if (w <= 0 || h <= 0) return false;
    *out = Span{int(sx), int(sy), int(w), int(h), int(dx), int(dy)};
    return true;
}

bool validSize(int w, int h) {
    return w >= 1 && w <= internal::kMaxBmpSide && h >= 1 && h <= internal::kMaxBmpSide;
}

// Widens each field of a 16-bit pixel to 8 bits with rounding, so that a
// full field gives 255: SDL's own tables turn 6-bit 63 into 254, and a
// key-green pixel must stay exactly key green.
SDL_Surface* widen16(SDL_Surface* raw) {
    SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, raw->w, raw->h, 32, kFormat);
    if (!s) return nullptr;
    const SDL_PixelFormat* f = raw->format;
    auto field = [](uint32_t p, uint32_t mask, int shift, int loss) -> uint32_t {
        const int bits = 8 - loss;
        if (mask == 0 || bits <= 0) return 0;
        const uint32_t max = (1u << bits) - 1;
        return (((p & mask) >> shift) * 255 + max / 2) / max;
    };
    for (int y = 0; y < raw->h; ++y) {
        const auto* in = reinterpret_cast<const uint16_t*>(static_cast<const uint8_t*>(raw->pixels) +
                                                           std::size_t(y) * raw->pitch);
        auto* out = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(s->pixels) + std::size_t(y) * s->pitch);
        for (int x = 0; x < raw->w; ++x) {
            const uint32_t p = in[x];
            out[x] = field(p, f->Rmask, f->Rshift, f->Rloss) << 16 |
                     field(p, f->Gmask, f->Gshift, f->Gloss) << 8 | field(p, f->Bmask, f->Bshift, f->Bloss);
        }
    }
    return s;
}

// Turns a decoded image of any format into ours, with the unused top byte
// cleared so that the key colour compares exactly.
SDL_Surface* toOurFormat(SDL_Surface* raw) {
    SDL_Surface* s = raw;
    if (raw->format->BytesPerPixel == 2 && !raw->format->palette && !SDL_MUSTLOCK(raw)) {
        s = widen16(raw);
        SDL_FreeSurface(raw);
        return s;
    }
    if (raw->format->format != kFormat) {
        s = SDL_ConvertSurfaceFormat(raw, kFormat, 0);
        SDL_FreeSurface(raw);
        if (!s) return nullptr;
    }
    auto* base = static_cast<uint8_t*>(s->pixels);
    for (int y = 0; y < s->h; ++y) {
        auto* row = reinterpret_cast<uint32_t*>(base + std::size_t(y) * s->pitch);
        for (int x = 0; x < s->w; ++x) row[x] &= kRgbMask;
    }
    return s;
}

}  // namespace

uint32_t internal::surfacePixelFormat() { return kFormat; }

Surface::Surface(SDL_Surface* s) : surface_(s) {}

Surface::~Surface() {
    if (keyed_) SDL_FreeSurface(keyed_);
    SDL_FreeSurface(surface_);
}

std::unique_ptr<Surface> Surface::create(int w, int h) {
    if (!validSize(w, h)) return nullptr;
    // SDL clears new pixels to zero: black.
    SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, w, h, 32, kFormat);
    if (!s) return nullptr;
    return std::unique_ptr<Surface>(new Surface(s));
}

namespace {

// Decodes the bytes of a .bmp file into a surface of our format; null with
// the reason in *error when they are not a readable image.
SDL_Surface* decodeBmp(const std::string& bytes, std::string* error) {
    internal::BmpInfo info;
    const auto* data = reinterpret_cast<const uint8_t*>(bytes.data());
    if (!internal::checkBmp(data, bytes.size(), &info, error)) return nullptr;

    SDL_RWops* rw = SDL_RWFromConstMem(bytes.data(), int(bytes.size()));
    if (!rw) {
        setError(error, "out of memory");
        return nullptr;
    }
    SDL_Surface* raw = SDL_LoadBMP_RW(rw, 1);
    if (!raw) {
        setError(error, std::string("bad image data (") + SDL_GetError() + ")");
        return nullptr;
    }
    SDL_Surface* s = toOurFormat(raw);
    if (!s) {
        setError(error, "out of memory");
        return nullptr;
    }
    if (s->w != info.width || s->h != info.height) {
        SDL_FreeSurface(s);
        setError(error, "bad image data");
        return nullptr;
    }
    return s;
}

bool readBmpFile(const std::string& path, std::string* bytes, internal::FileStamp* stamp,
                 std::string* error) {
    switch (internal::readWholeFile(path, kMaxBmpFile, bytes, stamp)) {
        case internal::ReadResult::Ok: return true;
        case internal::ReadResult::Missing: setError(error, "file not found"); return false;
        case internal::ReadResult::TooLarge: setError(error, "file too large"); return false;
        case internal::ReadResult::Failed: setError(error, "cannot read file"); return false;
    }
    return false;
}

}  // namespace

std::unique_ptr<Surface> Surface::loadBmp(const std::string& path, std::string* error) {
    std::string bytes;
    internal::FileStamp stamp;
    if (!readBmpFile(path, &bytes, &stamp, error)) return nullptr;
    SDL_Surface* s = decodeBmp(bytes, error);
    if (!s) return nullptr;
    return std::unique_ptr<Surface>(new Surface(s));
}

namespace {

// The images loadBmpShared hands out, by path, while somebody holds them.
struct SharedImage {
    internal::CachedFile file;
    std::weak_ptr<const Surface> image;
    std::chrono::steady_clock::time_point checkedAt;
};
struct SharedImages {
    // Recursive: an image may die, and leave, while a load holds the lock.
    std::recursive_mutex mutex;
    std::map<std::string, SharedImage> byPath;
};

// Never destroyed: images held by globals die after static destruction.
SharedImages& sharedImages() {
    static SharedImages* images = new SharedImages;
    return *images;
}

}  // namespace

std::shared_ptr<const Surface> Surface::loadBmpShared(const std::string& path, std::string* error) {
    SharedImages& shared = sharedImages();
    std::lock_guard<std::recursive_mutex> lock(shared.mutex);

    // A stage copies the same tiles and frames hundreds of times in a burst;
    // asking the file system each time would cost more than the copy. A file
    // whose stamp has settled is trusted for a short while after its check.
    constexpr auto kTrustFor = std::chrono::milliseconds(100);
    const auto now = std::chrono::steady_clock::now();
    auto it = shared.byPath.find(path);
    if (it != shared.byPath.end()) {
        SharedImage& e = it->second;
        if (std::shared_ptr<const Surface> image = e.image.lock()) {
            if (e.file.settled && now - e.checkedAt < kTrustFor) return image;
            if (e.file.stillCurrent(path, kMaxBmpFile)) {
                e.checkedAt = now;
                return image;
            }
        }
        shared.byPath.erase(it);
    }
    std::string bytes;
    internal::FileStamp stamp;
    if (!readBmpFile(path, &bytes, &stamp, error)) return nullptr;
    SDL_Surface* s = decodeBmp(bytes, error);
    if (!s) return nullptr;
    // Shared only while held: when a stage's clean-up lets go of the last
    // bitmap of an image, its pixels are freed and its entry leaves, rather
    // than every image ever drawn staying in memory for the rest of the run.
    std::shared_ptr<const Surface> image(new Surface(s), [path](const Surface* dying) {
        delete dying;
        SharedImages& images = sharedImages();
        std::lock_guard<std::recursive_mutex> lock(images.mutex);
        auto entry = images.byPath.find(path);
        if (entry != images.byPath.end() && entry->second.image.expired()) images.byPath.erase(entry);
    });
    SharedImage& e = shared.byPath[path];
    e.file.remember(stamp, bytes);
    e.image = image;
    e.checkedAt = now;
    return image;
}

int Surface::width() const { return surface_->w; }
int Surface::height() const { return surface_->h; }

const uint32_t* Surface::pixels() const { return static_cast<const uint32_t*>(surface_->pixels); }

uint32_t* Surface::pixels() {
    changed();
    return static_cast<uint32_t*>(surface_->pixels);
}

int Surface::pitch() const { return surface_->pitch; }

uint32_t Surface::pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= surface_->w || y >= surface_->h) return 0;
    const auto* row = static_cast<const uint8_t*>(surface_->pixels) + std::size_t(y) * surface_->pitch;
    return reinterpret_cast<const uint32_t*>(row)[x] & kRgbMask;
}

void Surface::setPixel(int x, int y, uint32_t colour) {
    if (x < 0 || y < 0 || x >= surface_->w || y >= surface_->h) return;
    changed();
    auto* row = static_cast<uint8_t*>(surface_->pixels) + std::size_t(y) * surface_->pitch;
    reinterpret_cast<uint32_t*>(row)[x] = colour & kRgbMask;
}

// Rows are filled and copied here rather than by SDL, whose SSE routines
// store past the cache: the next drawing into the frame, and the frame's
// copy to the window, then wait for main memory.
void Surface::fill(int x, int y, int w, int h, uint32_t colour) {
    Span s;
    // A fill is a copy whose source is unbounded.
    if (!clipCopy(INT32_MAX, INT32_MAX, surface_->w, surface_->h, 0, 0, w, h, x, y, &s)) return;
    changed();
    auto* base = static_cast<uint8_t*>(surface_->pixels);
    for (int row = 0; row < s.h; ++row) {
        auto* out = reinterpret_cast<uint32_t*>(base + std::size_t(s.dy + row) * surface_->pitch) + s.dx;
        std::fill_n(out, s.w, colour & kRgbMask);
    }
}

void Surface::copyFrom(const Surface& src, int sx, int sy, int w, int h, int dx, int dy) {
    blit(src, sx, sy, w, h, dx, dy, false);
}

void Surface::copyKeyedFrom(const Surface& src, int sx, int sy, int w, int h, int dx, int dy) {
    blit(src, sx, sy, w, h, dx, dy, true);
}

void Surface::blit(const Surface& src, int sx, int sy, int w, int h, int dx, int dy, bool keyed) {
    Span s;
    if (!clipCopy(src.width(), src.height(), width(), height(), sx, sy, w, h, dx, dy, &s)) return;
    if (&src == this) {
        // SDL's keyed blits do not allow for overlap: copy the area out first.
        const bool overlap = s.sx < s.dx + s.w && s.dx < s.sx + s.w && s.sy < s.dy + s.h &&
                             s.dy < s.sy + s.h;
        if (overlap) {
            std::unique_ptr<Surface> part = create(s.w, s.h);
            if (!part) return;
            part->copyFrom(*this, s.sx, s.sy, s.w, s.h, 0, 0);
            blit(*part, 0, 0, s.w, s.h, s.dx, s.dy, keyed);
            return;
        }
    }
    if (keyed && !src.opaque()) {
        SDL_Surface* from = src.keyedSource(surface_);
        if (!from) return;
        SDL_Rect sr{s.sx, s.sy, s.w, s.h};
        SDL_Rect dr{s.dx, s.dy, s.w, s.h};
        SDL_BlitSurface(from, &sr, surface_, &dr);
        changed();  // after the blit: src may be this surface and `from` its keyed view
        return;
    }
    // A straight copy, or a keyed one of an image without the key colour.
    changed();
    const auto* in = static_cast<const uint8_t*>(src.surface_->pixels) + std::size_t(s.sy) * src.surface_->pitch;
    auto* out = static_cast<uint8_t*>(surface_->pixels) + std::size_t(s.dy) * surface_->pitch;
    for (int row = 0; row < s.h; ++row) {
        std::memcpy(out + std::size_t(s.dx) * 4, in + std::size_t(s.sx) * 4, std::size_t(s.w) * 4);
        in += src.surface_->pitch;
        out += surface_->pitch;
    }
}

bool Surface::opaque() const {
    if (opaque_ < 0) {
        opaque_ = 1;
        const auto* base = static_cast<const uint8_t*>(surface_->pixels);
        for (int y = 0; y < surface_->h && opaque_; ++y) {
            const auto* row = reinterpret_cast<const uint32_t*>(base + std::size_t(y) * surface_->pitch);
            for (int x = 0; x < surface_->w; ++x)
                if ((row[x] & kRgbMask) == kKeyColour) {
                    opaque_ = 0;
                    break;
                }
        }
    }
    return opaque_ == 1;
}

SDL_Surface* Surface::keyedSource(const SDL_Surface* target) const {
    if (!keyed_) {
        keyed_ = SDL_CreateRGBSurfaceWithFormatFrom(surface_->pixels, surface_->w, surface_->h, 32,
                                                    surface_->pitch, kFormat);
        if (!keyed_) return nullptr;
        SDL_SetColorKey(keyed_, SDL_TRUE, kKeyColour);
        keyedTarget_ = target;
        return keyed_;
    }
    // Encoding pays off for images drawn again and again unchanged, but SDL
    // encodes anew whenever the target changes, so alternating targets go
    // without it.
    SDL_SetSurfaceRLE(keyed_, target == keyedTarget_ ? 1 : 0);
    keyedTarget_ = target;
    return keyed_;
}

void Surface::changed() {
    opaque_ = -1;
    if (keyed_) {
        SDL_FreeSurface(keyed_);
        keyed_ = nullptr;
    }
}

bool Surface::saveBmp(const std::string& path) const {
    // Written beside the old file and renamed over it: a failure leaves the
    // old image (or no file) rather than half a new one.
    return internal::replaceFile(path, internal::encodeBmp24(pixels(), pitch(), width(), height()));
}

}  // namespace plat
