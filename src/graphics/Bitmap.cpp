#include "graphics/Bitmap.h"

#include "platform/Surface.h"
#include "shell/CException.h"

Bitmap::Bitmap() : x(0), y(0), srcX(0), srcY(0), width(0), height(0) {}

Bitmap::Bitmap(const Bitmap& other) : Bitmap() { copy(other); }

Bitmap::~Bitmap() { release(); }

void Bitmap::load(const std::string& file, int w, int h) {
    width = w;
    height = h;
    imageFile = file;
    release();
    // A decoded surface is drawable as it is: unlike a device context there
    // is nothing to create or select, so reading the file is the one step
    // that can fail.
    image = plat::Surface::loadBmpShared(imageFile);
    if (!image) throw CException("Error loading bitmap! ");
}

void Bitmap::draw(plat::Surface& target) const {
    if (!image) return;
    target.copyKeyedFrom(*image, srcX, srcY, width, height, x, y);
}

void Bitmap::release() { image.reset(); }

void Bitmap::copy(const Bitmap& other) {
    x = other.x;
    y = other.y;
    width = other.width;
    height = other.height;
    srcX = other.srcX;
    srcY = other.srcY;
    imageFile = other.imageFile;
    if (!imageFile.empty()) load(imageFile, width, height);
}

Bitmap Bitmap::operator=(const Bitmap& other) {
    if (&other != this) copy(other);
    return *this;
}
