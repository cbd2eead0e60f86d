// Key codes of the two keyboard sources and the mapping between them.
//
// DirectInput key codes (DIK) are the PC set-1 scancodes, with 0x80 added
// for the extended (E0-prefixed) keys. Windows virtual-key codes (VK) name
// keys by meaning. Both cover every key of a standard PC keyboard,
// including the numeric keypad and both Control keys.
#pragma once

namespace plat {

// The fixed keys the game tests.
constexpr int DIK_ESCAPE = 0x01, DIK_RETURN = 0x1C, DIK_UP = 0xC8, DIK_DOWN = 0xD0,
              DIK_LEFT = 0xCB, DIK_RIGHT = 0xCD;
constexpr int VK_ESCAPE = 0x1B, VK_RETURN = 0x0D, VK_UP = 0x26, VK_DOWN = 0x28,
              VK_LEFT = 0x25, VK_RIGHT = 0x27;

// The virtual-key code of the key that has the given DIK code, 0 when the
// code names no key (or lies outside 0..255).
int vkFromDik(int dik);

// The DIK code of the key with the given virtual-key code, 0 when none. For
// keys that share a virtual-key code (the two Enter keys, the two Control
// keys when reported generically) it answers the main-block key.
int dikFromVk(int vk);

// A short readable name of a DIK code ("ESC", "NUM 8", "RIGHT CTRL"),
// "?" when unknown.
const char* dikName(int dik);

}  // namespace plat
