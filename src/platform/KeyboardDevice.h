// The keyboard device of the platform layer, polled (the DirectInput
// stand-in); the game reads it through its own Keyboard (shell/Keyboard.h).
//
// Its state is 256 bytes indexed by DirectInput key code (KeyCodes.h); bit 7
// (0x80) is set while the key is down. Like a foreground DirectInput device,
// it reads only while the game window has the keyboard focus.
#pragma once

#include <cstdint>

namespace plat {

// Creating the input system itself (the DirectInput8Create stand-in). False
// when no keyboard can be read at all (no window system, or injected failure).
bool openInputSystem();

class KeyboardDevice {
public:
    KeyboardDevice() = default;
    ~KeyboardDevice();
    KeyboardDevice(const KeyboardDevice&) = delete;
    KeyboardDevice& operator=(const KeyboardDevice&) = delete;

    // One set-up step each, in this order; each may fail (false).
    bool create();
    bool setFormat();
    bool setCooperative();
    bool acquire();
    bool unacquire();

    // Fills state[256]. False when the device is not acquired or the window
    // lost the focus (the state is then left untouched).
    bool getState(uint8_t state[256]);

    void release();

private:
    bool created_ = false;
    bool acquired_ = false;
};

}  // namespace plat
