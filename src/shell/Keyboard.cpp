#include "shell/Keyboard.h"

#include <cstring>

#include "platform/MessageBox.h"

namespace {

void report(const char* text) { plat::messageBox(text, "ERROR!", plat::BoxIcon::None); }

}  // namespace

Keyboard::Keyboard() : device(std::make_unique<plat::KeyboardDevice>()) {
    if (!device->create()) {
        report("Error creating keyboard DI device");
        failed = true;
        device.reset();
        return;
    }
    if (!device->setFormat()) {
        report("Error setting keyboard device data format");
        failed = true;
    }
    if (!device->setCooperative()) {
        report("Error setting keyboard DI device cooperative level");
        failed = true;
    }
    if (!device->acquire()) {
        report("Error aquiring keyboard DI device");
        failed = true;
    }
    clearKeys();
}

Keyboard::~Keyboard() {
    if (device) {
        device->unacquire();
        device->release();
    }
}

bool Keyboard::update() {
    if (device) {
        if (device->getState(keys)) return true;
        if (device->acquire() && device->getState(keys)) return true;
    }
    // Unreadable (another window has the keyboard): a key released meanwhile
    // must not stay down, so every key counts as released.
    clearKeys();
    return false;
}

bool Keyboard::unacquire() {
    clearKeys();
    return device && device->unacquire();
}

void Keyboard::clearKeys() { std::memset(keys, 0, sizeof keys); }

bool Keyboard::isKeyDown(int code) const { return code >= 0 && code < 256 && (keys[code] & 0x80) != 0; }

bool Keyboard::isKeyUp(int code) const { return !isKeyDown(code); }
