// The steps of sleepMs, apart from the clock and the locks so that they can be
// followed one by one. takeKeyHit() reads and clears the key-hit flag and
// returns what it read; sleepFor(ms) sleeps. Pure; runs on the caller's thread.
#pragma once

#include <cstdint>

// The step between two tests of the key-hit flag, in milliseconds.
constexpr int32_t pauseStepMs = 50;

// -1: test every step until a key has been hit. 1 to 99: sleep ms, whatever
// keys come. 0 or less: nothing. 100 or more: before each step, return at once
// if a key has been hit; sleep steps while more than a step remains, then the
// rest without a further test (so 100 is one test, then 50 + 50 ms).
template <typename TakeKeyHit, typename SleepFor>
void pauseSteps(int32_t ms, TakeKeyHit takeKeyHit, SleepFor sleepFor)
{
    if (ms == -1) {
        while (!takeKeyHit()) {
            sleepFor(pauseStepMs);
        }
        return;
    }
    if (ms <= 0) {
        return;
    }
    if (ms < 2 * pauseStepMs) {
        sleepFor(ms);
        return;
    }
    int32_t remaining = ms;
    do {
        if (takeKeyHit()) {
            return;
        }
        sleepFor(pauseStepMs);
        remaining -= pauseStepMs;
    } while (remaining > pauseStepMs);
    sleepFor(remaining);
}
