// Runs the game's main-loop pass structure on the headless back end, so a
// test can drive anything built on the platform layer through simulated
// time, deterministically.
//
// One pass: take at most one message; a Quit message goes to onQuit (or
// ends the run when there is none), any other is dispatched (timer ticks to
// their TimerProc, the rest to the WindowProc); then update() runs, on
// every pass. Simulated time moves only when a pass finds nothing to do
// (1 ms each, see Headless.h) or when a callback advances the clock.
#pragma once

#include <cstdint>
#include <functional>

#include "platform/Window.h"

namespace testsupport {

struct PassLoop {
    std::function<void()> update;              // every pass; may be empty
    std::function<void(uint32_t)> onQuit;      // gets the exit code; empty: the run ends
    std::function<bool()> done;                // checked after each pass; true ends the run
    std::function<void(const plat::Message&)> onMessage;  // sees each message before dispatch
    uint64_t maxPasses = 50'000'000;           // guards against loops that never let time pass
};

struct PassLoopResult {
    uint64_t passes = 0;
    uint64_t messages = 0;    // every message taken, timer ticks included
    uint64_t timerTicks = 0;
    uint32_t elapsedMs = 0;   // simulated time the run covered
    bool quitTaken = false;
    uint32_t exitCode = 0;    // of the last Quit taken
    bool stoppedByDone = false;
    bool passLimitHit = false;
};

// Runs passes until `simulatedMs` have passed on the platform clock (or an
// end condition above). 0 ms runs no pass.
PassLoopResult runPassLoop(uint32_t simulatedMs, const PassLoop& loop);

// Runs until pred() holds after a pass, for at most `limitMs`; true when it held.
bool runUntil(const std::function<bool()>& pred, uint32_t limitMs,
              const std::function<void()>& update = {});

}  // namespace testsupport
