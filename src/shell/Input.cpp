#include "shell/Input.h"

#include <new>

#include "platform/KeyboardDevice.h"
#include "shell/Keyboard.h"

bool Input::init() {
    if (!plat::openInputSystem()) return false;
    directInput = true;
    keyboard = new (std::nothrow) Keyboard();
    if (!keyboard) return false;
    if (keyboard->hasFailed()) {
        // The players pick their key source by getKeyboard(); a half-set-up
        // device would send them to device codes while the bindings are
        // virtual-key codes.
        delete keyboard;
        keyboard = nullptr;
        return false;
    }
    return true;
}

bool Input::update() {
    if (keyboard) keyboard->update();
    return true;
}

bool Input::shutdown() {
    unacquireAll();
    delete keyboard;
    keyboard = nullptr;
    directInput = false;
    return true;
}

void Input::unacquireAll() {
    if (keyboard) keyboard->unacquire();
}

bool Input::isKeyDown(int code) const { return keyboard && keyboard->isKeyDown(code); }

bool Input::isKeyUp(int code) const { return keyboard && keyboard->isKeyUp(code); }
