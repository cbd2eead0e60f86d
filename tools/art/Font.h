// The game's bitmap font: 42 glyph cells (A-Z . ! ? 1-9 0 : | blank) of a
// bold 7 x 9 pixel design, written out as the "fontsmall" strip and also
// drawn large on the screens.
#pragma once

#include <string>

#include "art/Image.h"

namespace art {

constexpr int kGlyphCells = 42;
constexpr int kCharWidth = 13;   // cell width; the game advances charWidth - 3
constexpr int kCharHeight = 16;
constexpr int kGlyphSpacing = 3;

// The cell a character shows in the game (the blank cell for anything the
// font lacks, lower case included).
int glyphCell(char c);

struct TextStyle {
    int scale = 1;          // each glyph pixel becomes scale x scale
    Colour top = rgb(255, 248, 226);
    Colour bottom = rgb(255, 186, 84);
    Colour outline = rgb(34, 16, 24);
    int outlineWidth = 1;   // in screen pixels
    Colour shadow = rgb(12, 6, 10);
    int shadowDrop = 1;     // screen pixels the shadow falls below the outline; 0: none
    int gap = -1;           // screen pixels between glyph outlines; -1: scale
};

// Draws one line with its top-left corner at (x, y).
void drawText(Image& dst, int x, int y, const std::string& text, const TextStyle& st);
int textWidth(const std::string& text, const TextStyle& st);
int textHeight(const TextStyle& st);
// Centred on cx.
void drawTextCentred(Image& dst, int cx, int y, const std::string& text, const TextStyle& st);

// The 42-cell strip, kGlyphCells * kCharWidth x kCharHeight.
Image fontStrip();

}  // namespace art
