// Waiting for a call that may never return. A sound server that stops
// answering can leave PortAudio waiting for it forever, and a program that
// waits for PortAudio in turn never ends. Any thread.
#pragma once

#include <chrono>
#include <functional>

// Runs work on a thread of its own and waits at most limit for it. True when
// it finished in time (or ran on this thread, when no thread could be made);
// false when it still runs: it then goes on alone, and the caller must not
// touch what it touches, nor let it be torn down under it.
bool finishesWithin(const std::function<void()>& work, std::chrono::milliseconds limit);
