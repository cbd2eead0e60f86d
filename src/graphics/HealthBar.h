// A value drawn as a bar: a back image at full width and a top image over
// it, cut (not scaled) to the width the value stands for. The shown value
// eases toward the given one by one unit per whole 10 ms, so a hit drains
// the bar visibly. A bar whose maximum is 0 or less shows only its back.
#pragma once

#include <cstdint>
#include <string>

#include "graphics/Bitmap.h"

namespace plat {
class Surface;
}

class HealthBar {
public:
    HealthBar();
    HealthBar(const HealthBar& other);
    ~HealthBar();

    // Loads both images at width x height (a missing file throws like
    // Bitmap::load); the bar starts full.
    void init(int width, int height, const std::string& backFile, const std::string& topFile,
              int x, int y, int maxValue);

    // Eases the shown value toward value, then draws back and top.
    void draw(plat::Surface& target, int value);

    void copy(const HealthBar& other);
    HealthBar operator=(const HealthBar& other);

    int getShownValue() const { return shownValue; }
    int getVisibleWidth() const { return visibleWidth; }

    int x;
    int y;

private:
    Bitmap back;
    Bitmap top;
    int targetValue;
    int maxValue;
    int width;
    int height;
    int visibleWidth;
    int shownValue;
    uint32_t tick;
};
