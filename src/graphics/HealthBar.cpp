#include "graphics/HealthBar.h"

#include <climits>

#include "platform/Clock.h"

HealthBar::HealthBar()
    : x(0),
      y(0),
      targetValue(0),
      maxValue(0),
      width(0),
      height(0),
      visibleWidth(0),
      shownValue(0),
      tick(0) {}

HealthBar::HealthBar(const HealthBar& other) : HealthBar() { copy(other); }

HealthBar::~HealthBar() = default;

void HealthBar::init(int w, int h, const std::string& backFile, const std::string& topFile, int px,
                     int py, int max) {
    width = w;
    height = h;
    x = px;
    y = py;
    maxValue = max;
    targetValue = max;
    shownValue = max;
    back.load(backFile, width, height);
    top.load(topFile, width, height);
    back.x = top.x = x;
    back.y = top.y = y;
}

void HealthBar::draw(plat::Surface& target, int value) {
    targetValue = value;
    uint32_t now = plat::tickCount();
    if (shownValue != targetValue && now - tick > 10) {
        // The remainder is dropped: the next step counts from now.
        long long step = (now - tick) / 10;
        long long shown = shownValue;
        if (shown < targetValue)
            shown = (shown + step > targetValue) ? targetValue : shown + step;
        else
            shown = (shown - step < targetValue) ? targetValue : shown - step;
        shownValue = static_cast<int>(shown);
        tick = now;
    }
    if (shownValue == targetValue) tick = now;

    if (maxValue > 0) {
        double w = static_cast<double>(width) / static_cast<double>(maxValue) *
                   static_cast<double>(shownValue);
        if (w > INT_MAX) w = INT_MAX;
        if (w < INT_MIN) w = INT_MIN;
        visibleWidth = static_cast<int>(w);
    } else {
        visibleWidth = 0;  // nothing to measure against
    }
    top.width = visibleWidth;
    back.x = top.x = x;
    back.y = top.y = y;
    back.draw(target);
    top.draw(target);
}

void HealthBar::copy(const HealthBar& other) {
    x = other.x;
    y = other.y;
    back.copy(other.back);
    top.copy(other.top);
    targetValue = other.targetValue;
    maxValue = other.maxValue;
    width = other.width;
    height = other.height;
    visibleWidth = other.visibleWidth;
    shownValue = other.shownValue;
    tick = other.tick;
}

HealthBar HealthBar::operator=(const HealthBar& other) {
    if (&other != this) copy(other);
    return *this;
}
