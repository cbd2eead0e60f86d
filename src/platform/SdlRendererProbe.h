// Whether SDL's renderer would draw on a graphics card here, found out
// without keeping GL in the game's own process where that can be helped
// (see PresentPath.h for why it matters). Never included outside
// src/platform/.
#pragma once

struct SDL_Renderer;

namespace plat::internal {

enum class RendererKind {
    Unknown,   // not found out: ask the renderer once it is made
    Hardware,  // make the renderer and keep it
    Software,  // present through the window surface, no renderer
    Asked,     // SDL_RENDER_DRIVER names one: make it and keep it
};

// Decides once, before SDL's video subsystem starts; later calls return the
// same answer until forgetRenderer(). Where a GPU may exist, a child
// process makes a renderer and reports on it, because SDL never unloads GL
// once loaded (on X11): a probe in this process would leave Mesa and LLVM
// resident for the whole run. The child is given up after 3 s (Software).
RendererKind probeRenderer();
void forgetRenderer();

// True when `renderer` (made on a window of this process, its GL context,
// if any, current) draws in software.
bool drawsInSoftware(SDL_Renderer* renderer);

}  // namespace plat::internal
