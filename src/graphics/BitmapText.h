// One line of text drawn glyph by glyph from a bitmap font: a strip of 42
// equal cells (A-Z, . ! ?, 1-9, 0, :, |, and a last cell for everything
// else). Each character sits `spacing` pixels closer to the one before it
// than the cell width; the line can blink (hidden and shown in turns of just
// over 100 ms).
#pragma once

#include <cstdint>
#include <string>

#include "graphics/Bitmap.h"

namespace plat {
class Surface;
}

class BitmapText {
public:
    static constexpr int kGlyphCount = 42;

    BitmapText();
    BitmapText(const BitmapText& other);
    ~BitmapText();

    // Loads the font strip (a missing file throws like Bitmap::load) and
    // computes the glyph cells; the text starts empty.
    void init(int x, int y, const std::string& fontFile, int fontWidth, int fontHeight,
              int charWidth, int charHeight, int spacing);
    // The same with the game's own font: the "fontsmall" strip of
    // filepaths.cfg with its glyph size, letters 3 pixels closer than the cell.
    void initGameFont(int x, int y);

    void setText(const std::string& text);
    void appendText(const std::string& text);
    void clearText();
    const std::string& getText() const { return text; }

    void setBlink(bool on);
    bool isHidden() const { return hidden; }

    void setPosition(int x, int y);
    void setX(int x);

    // Characters x cell width (the spacing is not subtracted).
    int getPixelWidth() const;

    // Cell index of a character in the strip, and the x of that cell.
    static int glyphIndex(char c);
    int glyphOffset(char c) const;

    void draw(plat::Surface& target);

    void copy(const BitmapText& other);
    BitmapText operator=(const BitmapText& other);

private:
    Bitmap font;
    bool blinkOn;
    std::string text;
    int glyphX[kGlyphCount];
    int x;
    int y;
    int fontWidth;
    int fontHeight;
    int charWidth;
    int charHeight;
    int currentX;
    int spacing;
    uint32_t blinkTick;
    bool hidden;
};
