#include "support/PassLoop.h"

#include "platform/Clock.h"

namespace testsupport {

PassLoopResult runPassLoop(uint32_t simulatedMs, const PassLoop& loop) {
    PassLoopResult r;
    const uint32_t start = plat::tickCount();
    while (plat::tickCount() - start < simulatedMs) {
        if (r.passes >= loop.maxPasses) {
            r.passLimitHit = true;
            break;
        }
        ++r.passes;
        bool endRun = false;
        plat::Message msg;
        if (plat::peekMessage(&msg)) {
            ++r.messages;
            if (loop.onMessage) loop.onMessage(msg);
            if (msg.type == plat::MsgType::Quit) {
                r.quitTaken = true;
                r.exitCode = msg.wParam;
                if (loop.onQuit)
                    loop.onQuit(msg.wParam);
                else
                    endRun = true;
            } else {
                if (msg.type == plat::MsgType::Timer) ++r.timerTicks;
                plat::dispatchMessage(msg);
            }
        }
        if (loop.update) loop.update();
        if (endRun) break;
        if (loop.done && loop.done()) {
            r.stoppedByDone = true;
            break;
        }
    }
    r.elapsedMs = plat::tickCount() - start;
    return r;
}

bool runUntil(const std::function<bool()>& pred, uint32_t limitMs,
              const std::function<void()>& update) {
    PassLoop loop;
    loop.update = update;
    loop.done = pred;
    return runPassLoop(limitMs, loop).stoppedByDone;
}

}  // namespace testsupport

// The system's D-Bus library, which SDL's video start-up uses on desktops,
// keeps a buffer for the life of the process; tests that open a real window
// would otherwise fail the leak check on it. Lives here because every test
// program that drives the platform links this file.
extern "C" const char* __lsan_default_suppressions() { return "leak:libdbus-1.so\n"; }
