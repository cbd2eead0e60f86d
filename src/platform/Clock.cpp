#include "platform/Clock.h"

#include <SDL.h>

#include <ctime>

#include "platform/InternalState.h"

namespace plat {

uint32_t tickCount() {
    if (internal::onSdl()) return SDL_GetTicks();
    return internal::hs().ticks;
}

int64_t calendarSeconds() {
    if (internal::onSdl()) return static_cast<int64_t>(std::time(nullptr));
    return internal::hs().calendar;
}

}  // namespace plat
