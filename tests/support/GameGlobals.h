// The globals the game keeps from one run to the next (settings, input mode,
// sound state, enemy counters, menu choices), for tests that start the game
// more than once in one process.
#pragma once

namespace testsupport {

// Every such global back to the value it has when the program starts.
void resetGameGlobals();

}  // namespace testsupport
