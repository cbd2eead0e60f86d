#include "sound/SfxKit.h"

#include <cmath>

float SfxKit::glide(float f0, float f1, float t, float tau) {
    return f1 + (f0 - f1) * std::exp(-t / tau);
}

void SfxKit::finish(SampleBuffer& b, float peak) {
    b.removeDc();
    b.fadeEdges(0.002f, 0.012f);
    const float p = b.peak();
    if (p > 0.0f) b.scale(peak / p);
}
