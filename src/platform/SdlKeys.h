// SDL scancodes to our two key-code sets. Plain ints, so tests can reach
// the tables without SDL's headers.
#pragma once

namespace plat::internal {

// The DIK code of an SDL scancode, 0 for keys a PC keyboard does not have.
int dikFromSdlScancode(int scancode);

// The virtual-key code a key-down window message carries for the key:
// generic Shift/Control/Alt, keypad digits as VK_NUMPAD* with Num Lock on
// and as the navigation keys with it off. 0 for unknown keys.
int messageVkFromSdlScancode(int scancode, bool numLock);

// Keys that reach a window only as system keys (Alt itself, F10).
bool isSystemKey(int scancode);

// Number of SDL scancodes the tables cover (indices 0..count-1).
int sdlScancodeCount();

}  // namespace plat::internal
