// Time sources.
#pragma once

#include <cstdint>

namespace plat {

// Milliseconds since an arbitrary start, as an unsigned 32-bit count that
// wraps to 0 after 2^32 - 1 (about 49.7 days), like the Windows tick count.
// Callers compare times as unsigned differences, so the wrap is harmless.
uint32_t tickCount();

// Calendar time in whole seconds since 1970-01-01 UTC (used as a random seed).
int64_t calendarSeconds();

}  // namespace plat
