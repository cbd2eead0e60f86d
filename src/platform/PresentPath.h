// How the window's picture reaches the screen: the parts of the SDL back
// end that need no display, kept free of SDL types so that tests can check
// them directly. Never included outside src/platform/ (and its tests).
//
// A frame goes either through an SDL renderer (a texture the graphics card
// scales) or, where the only renderer would draw in software anyway,
// straight into the window's own surface: a software GL stack costs far
// more processor time and memory than the copy it stands in for.
#pragma once

#include <cstdint>
#include <string>

namespace plat::internal {

// A rectangle in output pixels.
struct ScreenRect {
    int x = 0, y = 0, w = 0, h = 0;
};

// Where a srcW x srcH picture goes on an outW x outH output: as large as it
// fits whole with its shape kept, centred, the rest left black (bars above
// and below, or at the sides). Empty (w or h 0) when either size is not
// positive, or the output is too small to show a line of the picture.
ScreenRect letterbox(int srcW, int srcH, int outW, int outH);

// Scales a srcW x srcH picture of 32-bit pixels to dstW x dstH, each
// target pixel a copy of the source pixel under its centre (nearest
// neighbour). Pitches are in bytes. Rows that take the same source row are
// copied from the row above, so whole-number scales cost little more than
// the source's size in lookups. Does nothing when a size is not positive.
void scaleNearest(const uint32_t* src, int srcW, int srcH, int srcPitch, uint32_t* dst, int dstW, int dstH,
                  int dstPitch);

// True when a renderer draws in software: there is none (null or empty
// name), it is SDL's own "software" one, or it is a GL renderer ("opengl",
// "opengles2", ...) whose GL_RENDERER string names a software rasteriser
// (llvmpipe, softpipe, swrast, "Software Rasterizer"; any case). A GL
// renderer whose string is unknown (glRenderer null) counts as hardware.
bool softwareRenderer(const char* rendererName, const char* glRenderer);

// Whether the device folder (normally /dev) holds a node through which a
// graphics driver can render on a GPU: a DRM render node (dri/renderD*) or
// the NVIDIA driver's control node. Without one, any GL the system offers
// is a software rasteriser, so the game need not load GL to find that out.
bool gpuDeviceNodes(const std::string& devDir);

}  // namespace plat::internal
