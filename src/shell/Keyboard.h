// The game's keyboard: sets up the platform's keyboard device
// (platform/KeyboardDevice.h) and keeps its 256 key-state bytes, indexed by
// DirectInput key code, bit 7 set while the key is down. Each failed set-up
// step shows its box and marks the keyboard as failed.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/KeyboardDevice.h"

class Keyboard {
public:
    Keyboard();
    ~Keyboard();
    Keyboard(const Keyboard&) = delete;
    Keyboard& operator=(const Keyboard&) = delete;

    // Reads the device state, re-acquiring the device once when the read
    // fails. False when even the second read failed; every key then counts
    // as released.
    bool update();
    bool unacquire();
    void clearKeys();

    // Codes outside 0..255 name no key: never down, always up.
    bool isKeyDown(int code) const;
    bool isKeyUp(int code) const;

    bool hasFailed() const { return failed; }

private:
    bool failed = false;
    std::unique_ptr<plat::KeyboardDevice> device;  // null when it could not be created
    uint8_t keys[256] = {};
};
