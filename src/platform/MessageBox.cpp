#include "platform/MessageBox.h"

#include <SDL.h>

#include <cstdio>

#include "platform/InternalState.h"

namespace plat {

void messageBox(const std::string& text, const std::string& caption, BoxIcon icon) {
    if (!internal::onSdl()) {
        internal::hs().boxes.push_back({text, caption, icon});
        return;
    }
    if (internal::sdlVideo()) {
        Uint32 flags = 0;
        if (icon == BoxIcon::Information) flags = SDL_MESSAGEBOX_INFORMATION;
        if (icon == BoxIcon::Exclamation) flags = SDL_MESSAGEBOX_WARNING;
        if (SDL_ShowSimpleMessageBox(flags, caption.c_str(), text.c_str(), nullptr) == 0) return;
    }
    // No display (or the box could not be shown): the message must still reach someone.
    std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
}

}  // namespace plat
