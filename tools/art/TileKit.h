// Building blocks of the 32 x 32 map tiles: seamless textures (noise,
// paving, bricks, planks, metal plates), raised blocks with a lit top and
// a shaded front, and walls whose faces turn toward the field.
#pragma once

#include <functional>

#include "art/Image.h"
#include "art/Paint.h"

namespace art {

constexpr int kTile = 32;

// The first row of a top wall's face. Above it lies the wall's upper
// surface, where the clock and the lives row are drawn: their digits and
// hearts end on row 17, so the rim between surface and face runs below them.
constexpr int kWallFaceTop = 20;

// Fills the whole image with shades 2..4 of the ramp by repeating noise.
void noiseFill(Image& img, const Ramp& r, uint32_t seed, double cell, int lo = 2, int hi = 4);

// Stone paving of w x h slabs (dividing 32), every other row shifted half
// a slab when staggered; each slab lit on its top-left rim.
void paving(Image& img, const Ramp& r, uint32_t seed, int w, int h, bool staggered, Colour joint);

// Bricks in running bond, bw x bh with one-pixel joints.
void bricks(Image& img, const Ramp& r, uint32_t seed, int bw, int bh, Colour joint, int y0 = 0, int y1 = kTile);

// Boards of width pw running across (horizontal) or down the tile.
void planks(Image& img, const Ramp& r, uint32_t seed, int pw, bool vertical);

// A riveted steel plate with a bevelled rim.
void plate(Image& img, const Ramp& r, uint32_t seed, int inset = 0);

// Bevelled rectangle: base fill, light top-left rim, dark bottom-right rim.
void bevel(Image& img, int x, int y, int w, int h, const Ramp& r, int depth = 1);

// Pulls every drawn pixel toward the image's mean colour, keeping `keep`
// of its difference: a texture as calm as a wall the HUD is written on.
void hush(Image& img, double keep);

// Scatter of small shaded pebbles.
void pebbles(Image& img, const Ramp& r, uint32_t seed, int count, int x0 = 2, int y0 = 2, int x1 = 29, int y1 = 29);

// A raised block: `top` drawn over the upper part, `face` below it, with a
// dark edge where they meet; the face is `faceH` pixels high. The block is
// `size` pixels square, cut from the top-left of the two 32 x 32 fills.
using Fill = std::function<void(Image&)>;
Image raisedBlock(const Fill& top, const Fill& face, int faceH, int size = kTile);

enum class Edge { Top, Left, Right, Bottom, TopLeft, TopRight, BottomLeft, BottomRight };

// A wall cell of the border ring. `top` paints the wall's upper surface,
// `face` the front face that the top row shows toward the field.
Image wallTile(Edge e, const Fill& top, const Fill& face, const Ramp& rim);

// Pastes src over dst keeping dst where src is transparent.
Image layered(const Image& dst, const Image& src);

// An empty tile.
Image blank();

// A shadow cast to the lower right of whatever is drawn in `obj`, laid on
// `ground`, then the outlined object on top.
Image standing(const Image& ground, Image obj);

}  // namespace art
