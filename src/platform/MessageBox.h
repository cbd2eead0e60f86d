// Modal message boxes with an OK button and no owner window.
#pragma once

#include <string>

namespace plat {

enum class BoxIcon { None, Information, Exclamation };

// Shows the box and returns when it has been closed. Sdl back end: a real
// box when a display exists, otherwise the caption and text on standard
// error. Headless: recorded (see Headless.h), never blocks.
void messageBox(const std::string& text, const std::string& caption, BoxIcon icon);

}  // namespace plat
