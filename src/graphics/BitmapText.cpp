#include "graphics/BitmapText.h"

#include <cstdint>

#include "graphics/PixelMath.h"
#include "platform/Clock.h"
#include "shell/FilePaths.h"

BitmapText::BitmapText()
    : blinkOn(false),
      glyphX{},
      x(0),
      y(0),
      fontWidth(0),
      fontHeight(0),
      charWidth(0),
      charHeight(0),
      currentX(0),
      spacing(0),
      blinkTick(0),
      hidden(false) {}

BitmapText::BitmapText(const BitmapText& other) : BitmapText() { copy(other); }

BitmapText::~BitmapText() = default;

void BitmapText::init(int px, int py, const std::string& fontFile, int fWidth, int fHeight,
                      int cWidth, int cHeight, int space) {
    x = px;
    y = py;
    currentX = px;
    fontWidth = fWidth;
    fontHeight = fHeight;
    charWidth = cWidth;
    charHeight = cHeight;
    spacing = space;
    font.load(fontFile, fontWidth, fontHeight);
    for (int k = 0; k < kGlyphCount; ++k) glyphX[k] = clampPixels(int64_t(k) * charWidth);
    font.x = x;
    font.y = y;
    font.width = charWidth;
    text.clear();
    blinkTick = plat::tickCount();
}

void BitmapText::setText(const std::string& t) { text = t; }
void BitmapText::appendText(const std::string& t) { text += t; }
void BitmapText::clearText() { text.clear(); }
void BitmapText::setBlink(bool on) { blinkOn = on; }

void BitmapText::setPosition(int px, int py) {
    x = px;
    y = py;
}

void BitmapText::setX(int px) { x = px; }

int BitmapText::getPixelWidth() const { return clampPixels(int64_t(text.size()) * charWidth); }

int BitmapText::glyphIndex(char c) {
    if (c >= 'A' && c <= 'Z') return c - 'A';
    switch (c) {
        case '.': return 26;
        case '!': return 27;
        case '?': return 28;
        case '0': return 38;
        case ':': return 39;
        case '|': return 40;
        default: break;
    }
    if (c >= '1' && c <= '9') return 29 + (c - '1');
    return kGlyphCount - 1;
}

int BitmapText::glyphOffset(char c) const { return glyphX[glyphIndex(c)]; }

void BitmapText::draw(plat::Surface& target) {
    font.x = x;
    font.y = y;
    if (blinkOn) {
        uint32_t now = plat::tickCount();
        if (now - blinkTick > 100) {
            hidden = !hidden;
            blinkTick = now;
        }
    } else {
        hidden = false;
    }
    if (hidden) return;
    for (std::size_t i = 0; i < text.size(); ++i) {
        int n = static_cast<int>(i);
        currentX = clampPixels(int64_t(x) + int64_t(n) * charWidth - int64_t(spacing) * n);
        font.srcX = glyphOffset(text[i]);
        font.x = currentX;
        font.draw(target);
    }
}

void BitmapText::copy(const BitmapText& other) {
    font.copy(other.font);
    blinkOn = other.blinkOn;
    text = other.text;
    for (int k = 0; k < kGlyphCount; ++k) glyphX[k] = other.glyphX[k];
    x = other.x;
    y = other.y;
    fontWidth = other.fontWidth;
    fontHeight = other.fontHeight;
    charWidth = other.charWidth;
    charHeight = other.charHeight;
    currentX = other.currentX;
    spacing = other.spacing;
    blinkTick = other.blinkTick;
    hidden = other.hidden;
}

BitmapText BitmapText::operator=(const BitmapText& other) {
    if (&other != this) copy(other);
    return *this;
}

void BitmapText::initGameFont(int px, int py) {
    init(px, py, getFrameFile("fontsmall", 1), getWidth("fontsmall"), getHeight("fontsmall"),
         getPathInt("fontsmall", "charWidth"), getPathInt("fontsmall", "charHeight"), 3);
}
