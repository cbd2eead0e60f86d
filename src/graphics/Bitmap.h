// One image loaded from a .bmp file, drawn unscaled with pure green as its
// transparent key colour: the part (srcX, srcY, width, height) of the image
// lands at (x, y) on the target.
//
// Every copy owns its picture: copying loads the file again, so a copy made
// after the file has gone throws like any other failed load, and a copy stays
// drawable after the original is destroyed. The decoded pixels themselves
// are immutable and shared through the platform's image cache, which keeps
// the reload cheap (a file check, not a decode).
#pragma once

#include <memory>
#include <string>

namespace plat {
class Surface;
}

class Bitmap {
public:
    Bitmap();
    Bitmap(const Bitmap& other);
    ~Bitmap();

    // Stores width, height and the file name, frees the previous image, then
    // loads the file at its own size. Throws CException("Error loading
    // bitmap! ") when the file does not load; the new name and size stay.
    void load(const std::string& file, int width, int height);

    // Keyed blit of the selected part onto target; nothing when no image is
    // loaded.
    void draw(plat::Surface& target) const;

    // Frees the image; file name, position and size stay.
    void release();

    // Copies position, source, size and file name, then loads the file again
    // when there is one. With no file name nothing is loaded and the image
    // this bitmap already holds stays.
    void copy(const Bitmap& other);
    Bitmap operator=(const Bitmap& other);

    int getWidth() const { return width; }
    const std::string& getImageFile() const { return imageFile; }
    bool isLoaded() const { return image != nullptr; }
    // The decoded image (shared, read-only); null when nothing is loaded.
    const plat::Surface* getImage() const { return image.get(); }

    // Written directly by the users before drawing.
    int x;
    int y;
    int srcX;
    int srcY;
    int width;
    int height;

private:
    std::shared_ptr<const plat::Surface> image;
    std::string imageFile;  // empty while nothing was ever loaded
};
