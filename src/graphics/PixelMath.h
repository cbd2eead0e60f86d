// Pixel positions and widths that follow from sizes in filepaths.cfg are
// worked out wide and held within +-INT_MAX (so that callers may negate
// them): no size the file gives can make them overflow.
#pragma once

#include <climits>
#include <cstdint>

inline int clampPixels(int64_t v) {
    if (v > INT_MAX) return INT_MAX;
    if (v < -INT_MAX) return -INT_MAX;
    return static_cast<int>(v);
}
