// Every test starts from the state a fresh program has, whatever ran before it
// in the same process (shuffled, repeated): the shared main (support/main.cpp)
// runs the resets before each test.
#pragma once

#include <functional>

// Adds a reset for state a helper has set up (the record once there is one,
// the main window once it is built, ...).
void atFreshStart(std::function<void()> reset);
// The line's lock directory, the trace, the device and the record (once there
// is one) as at start-up, then every added reset.
void freshStart();
