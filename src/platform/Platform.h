// Start-up and shut-down of the platform layer.
//
// The game runs on one of two back ends, chosen once before anything else
// touches the platform: Sdl (a real window, keyboard and sound card) or
// Headless (manual clock, scripted input, in-memory window, recorded audio;
// see Headless.h). Every other platform header works on whichever back end
// init() chose; before init() they behave as Headless.
#pragma once

namespace plat {

enum class Backend { Sdl, Headless };

// Chooses the back end. Always succeeds: on Sdl a missing display or sound
// card only shows up later, as a failed window or a silent audio start.
void init(Backend backend);

// Releases whatever the back end holds (window, audio device, SDL itself).
void shutdown();

Backend backend();

}  // namespace plat
