// The keyboard as the game reads it in keyboard-device mode. In
// window-message mode there is no keyboard and the key table of the window
// (windowKeys) takes its place.
#pragma once

class Keyboard;

class Input {
public:
    Input() = default;
    ~Input() = default;
    Input(const Input&) = delete;
    Input& operator=(const Input&) = delete;

    // Opens the input system and the keyboard. False when either fails; a
    // keyboard whose set-up failed is released, so getKeyboard() answers null
    // exactly when the game runs on window messages.
    bool init();
    // Reads the keyboard once. Always true: a failed read is not reported;
    // it leaves every key released.
    bool update();
    bool shutdown();
    void unacquireAll();

    // False when there is no keyboard (isKeyUp too: no key is known up).
    bool isKeyDown(int code) const;
    bool isKeyUp(int code) const;

    Keyboard* getKeyboard() const { return keyboard; }

private:
    Keyboard* keyboard = nullptr;
    bool directInput = false;  // the input system is open
};
