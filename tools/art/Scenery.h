// Painting large pictures: skies, silhouettes, panels and the themed
// scenes behind the stage intros and the title.
#pragma once

#include <string>

#include "art/Image.h"

namespace art {

constexpr int kScreenW = 640, kScreenH = 480;

enum class Scene { Training, Courtyard, Tech, Temple, Ice, Palace, Desert, Arctic, Title };

// A 640 x 480 landscape of the scene, without lettering.
Image sceneImage(Scene s);

// Vertical gradient with ordered dithering between the bands.
void skyGradient(Image& img, Colour top, Colour bottom, int y0, int y1);

// Darkens (amount > 0) a rectangle toward near black.
void dim(Image& img, int x, int y, int w, int h, double amount);

// A framed, bevelled panel of the given colour.
void panel(Image& img, int x, int y, int w, int h, Colour fill, Colour frame);

// Scattered bright specks (stars, embers, snow), seeded.
void specks(Image& img, unsigned seed, int count, Colour a, Colour b, int y0, int y1);

}  // namespace art
