#include "art/Font.h"

#include <algorithm>
#include <vector>

#include "art/Paint.h"

namespace art {

namespace {

constexpr int kRows = 9;
constexpr int kBodyWidth = 7;

// Glyph shapes, nine rows each, in cell order. Narrow glyphs are centred
// in the seven-pixel body.
const char* const kGlyphs[kGlyphCells][kRows] = {
    {"..###..", ".##.##.", "##...##", "##...##", "#######", "##...##", "##...##", "##...##", "##...##"},  // A
    {"######.", "##...##", "##...##", "##...##", "######.", "##...##", "##...##", "##...##", "######."},  // B
    {".#####.", "##...##", "##.....", "##.....", "##.....", "##.....", "##.....", "##...##", ".#####."},  // C
    {"#####..", "##..##.", "##...##", "##...##", "##...##", "##...##", "##...##", "##..##.", "#####.."},  // D
    {"#######", "##.....", "##.....", "##.....", "######.", "##.....", "##.....", "##.....", "#######"},  // E
    {"#######", "##.....", "##.....", "##.....", "######.", "##.....", "##.....", "##.....", "##....."},  // F
    {".#####.", "##...##", "##.....", "##.....", "##.####", "##...##", "##...##", "##...##", ".######"},  // G
    {"##...##", "##...##", "##...##", "##...##", "#######", "##...##", "##...##", "##...##", "##...##"},  // H
    {"######", "..##..", "..##..", "..##..", "..##..", "..##..", "..##..", "..##..", "######"},           // I
    {"....##", "....##", "....##", "....##", "....##", "....##", "##..##", "##..##", ".####."},           // J
    {"##...##", "##..##.", "##.##..", "####...", "###....", "####...", "##.##..", "##..##.", "##...##"},  // K
    {"##.....", "##.....", "##.....", "##.....", "##.....", "##.....", "##.....", "##.....", "#######"},  // L
    {"##...##", "###.###", "#######", "##.#.##", "##...##", "##...##", "##...##", "##...##", "##...##"},  // M
    {"##...##", "###..##", "####.##", "##.####", "##..###", "##...##", "##...##", "##...##", "##...##"},  // N
    {".#####.", "##...##", "##...##", "##...##", "##...##", "##...##", "##...##", "##...##", ".#####."},  // O
    {"######.", "##...##", "##...##", "##...##", "######.", "##.....", "##.....", "##.....", "##....."},  // P
    {".#####.", "##...##", "##...##", "##...##", "##...##", "##...##", "##.#.##", "##..##.", ".###.##"},  // Q
    {"######.", "##...##", "##...##", "##...##", "######.", "##.##..", "##..##.", "##...##", "##...##"},  // R
    {".#####.", "##...##", "##.....", "##.....", ".#####.", ".....##", ".....##", "##...##", ".#####."},  // S
    {"######", "..##..", "..##..", "..##..", "..##..", "..##..", "..##..", "..##..", "..##.."},           // T
    {"##...##", "##...##", "##...##", "##...##", "##...##", "##...##", "##...##", "##...##", ".#####."},  // U
    {"##...##", "##...##", "##...##", "##...##", "##...##", ".##.##.", ".##.##.", "..###..", "...#..."},  // V
    {"##...##", "##...##", "##...##", "##...##", "##.#.##", "##.#.##", "#######", "###.###", "##...##"},  // W
    {"##...##", "##...##", ".##.##.", "..###..", "..###..", "..###..", ".##.##.", "##...##", "##...##"},  // X
    {"##..##", "##..##", "##..##", ".####.", "..##..", "..##..", "..##..", "..##..", "..##.."},           // Y
    {"#######", ".....##", "....##.", "...##..", "..##...", ".##....", "##.....", "##.....", "#######"},  // Z
    {"..", "..", "..", "..", "..", "..", "..", "##", "##"},                                                // .
    {"##", "##", "##", "##", "##", "##", "..", "##", "##"},                                                // !
    {".#####.", "##...##", ".....##", "....##.", "...##..", "...##..", ".......", "...##..", "...##.."},  // ?
    {"..##..", ".###..", "####..", "..##..", "..##..", "..##..", "..##..", "..##..", "######"},           // 1
    {".#####.", "##...##", ".....##", "....##.", "...##..", "..##...", ".##....", "##.....", "#######"},  // 2
    {".#####.", "##...##", ".....##", ".....##", "..####.", ".....##", ".....##", "##...##", ".#####."},  // 3
    {"....##.", "...###.", "..####.", ".##.##.", "##..##.", "#######", "....##.", "....##.", "....##."},  // 4
    {"#######", "##.....", "##.....", "######.", ".....##", ".....##", ".....##", "##...##", ".#####."},  // 5
    {".#####.", "##...##", "##.....", "######.", "##...##", "##...##", "##...##", "##...##", ".#####."},  // 6
    {"#######", ".....##", "....##.", "...##..", "..##...", "..##...", "..##...", "..##...", "..##..."},  // 7
    {".#####.", "##...##", "##...##", "##...##", ".#####.", "##...##", "##...##", "##...##", ".#####."},  // 8
    {".#####.", "##...##", "##...##", "##...##", ".######", ".....##", ".....##", "##...##", ".#####."},  // 9
    {".#####.", "##...##", "##..###", "##.####", "####.##", "###..##", "##...##", "##...##", ".#####."},  // 0
    {"..", "##", "##", "..", "..", "..", "##", "##", ".."},                                                // :
    {"##", "##", "##", "##", "##", "##", "##", "##", "##"},                                                // |
    {"", "", "", "", "", "", "", "", ""},                                                                  // blank
};

bool glyphPixel(int cell, int col, int row) {
    if (cell < 0 || cell >= kGlyphCells || row < 0 || row >= kRows) return false;
    const char* r = kGlyphs[cell][row];
    int w = int(std::char_traits<char>::length(kGlyphs[cell][0]));
    int off = (kBodyWidth - w) / 2;
    int c = col - off;
    if (c < 0 || c >= w) return false;
    return r[c] == '#';
}

}  // namespace

int glyphCell(char c) {
    if (c >= 'A' && c <= 'Z') return c - 'A';
    if (c == '.') return 26;
    if (c == '!') return 27;
    if (c == '?') return 28;
    if (c >= '1' && c <= '9') return 29 + (c - '1');
    if (c == '0') return 38;
    if (c == ':') return 39;
    if (c == '|') return 40;
    return 41;
}

namespace {

int advanceOf(const TextStyle& st) {
    int gap = st.gap < 0 ? st.scale : st.gap;
    return kBodyWidth * st.scale + 2 * st.outlineWidth + gap;
}

}  // namespace

int textWidth(const std::string& text, const TextStyle& st) {
    if (text.empty()) return 0;
    int gap = st.gap < 0 ? st.scale : st.gap;
    return int(text.size()) * advanceOf(st) - gap;
}

int textHeight(const TextStyle& st) { return kRows * st.scale + 2 * st.outlineWidth + st.shadowDrop; }

void drawText(Image& dst, int x, int y, const std::string& text, const TextStyle& st) {
    const int k = std::max(1, st.scale), ow = std::max(0, st.outlineWidth);
    const int w = textWidth(text, st) + 2, h = textHeight(st) + 2;
    if (w <= 2) return;
    // Body mask of the whole line, in line-local coordinates.
    Image local(w, h);
    Pen pen(local);
    Mask body = pen.none();
    int adv = advanceOf(st);
    for (size_t i = 0; i < text.size(); ++i) {
        int cell = glyphCell(text[i]);
        int gx = int(i) * adv + ow;
        for (int row = 0; row < kRows; ++row)
            for (int col = 0; col < kBodyWidth; ++col)
                if (glyphPixel(cell, col, row))
                    for (int yy = 0; yy < k; ++yy)
                        for (int xx = 0; xx < k; ++xx) body.set(gx + col * k + xx, ow + row * k + yy);
    }
    Mask ring = body;
    for (int i = 0; i < ow; ++i) {
        // Square growth keeps the corners of thick outlines filled.
        Mask grown = ring.dilated();
        grown |= ring.shifted(1, 1) | ring.shifted(-1, 1) | ring.shifted(1, -1) | ring.shifted(-1, -1);
        ring = grown;
    }
    if (st.shadowDrop > 0) {
        Mask shadow = ring.shifted(0, st.shadowDrop) - ring;
        pen.flat(shadow, st.shadow);
    }
    pen.flat(ring - body, st.outline);
    const int bodyH = kRows * k;
    for (int yy = 0; yy < h; ++yy)
        for (int xx = 0; xx < w; ++xx)
            if (body.at(xx, yy)) {
                double t = double(yy - ow) / std::max(1, bodyH - 1);
                local.set(xx, yy, mix(st.top, st.bottom, t));
            }
    dst.blit(local, x, y);
}

void drawTextCentred(Image& dst, int cx, int y, const std::string& text, const TextStyle& st) {
    drawText(dst, cx - textWidth(text, st) / 2, y, text, st);
}

Image fontStrip() {
    Image strip(kGlyphCells * kCharWidth, kCharHeight);
    TextStyle st;
    for (int cell = 0; cell < kGlyphCells; ++cell) {
        // Each glyph sits two pixels in and three down in its cell: the
        // outline takes one pixel each side, and the three pixels at the
        // right are the overlap with the next character.
        Image g(kCharWidth, kCharHeight);
        Pen pen(g);
        Mask body = pen.none();
        for (int row = 0; row < kRows; ++row)
            for (int col = 0; col < kBodyWidth; ++col)
                if (glyphPixel(cell, col, row)) body.set(2 + col, 3 + row);
        Mask ring = body.dilated();
        ring |= body.shifted(1, 1) | body.shifted(-1, 1) | body.shifted(1, -1) | body.shifted(-1, -1);
        pen.flat(ring.shifted(0, 1) - ring, st.shadow);
        pen.flat(ring - body, st.outline);
        for (int row = 0; row < kRows; ++row)
            for (int col = 0; col < 12; ++col)
                if (body.at(col, 3 + row)) g.set(col, 3 + row, mix(st.top, st.bottom, row / double(kRows - 1)));
        strip.blit(g, cell * kCharWidth, 0);
    }
    return strip;
}

}  // namespace art
