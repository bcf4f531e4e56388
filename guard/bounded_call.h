// Waiting for a call that may never return. A sound server that stops
// answering can leave PortAudio waiting for it forever, and a program that
// waits for PortAudio in turn never ends. Any thread.
#pragma once

#include <chrono>
#include <functional>

enum class BoundedCall {
    finished,     // the work returned within the limit
    stillRunning, // it runs on alone: the caller must not touch what it touches, nor tear it down under it
    notStarted,   // no thread could be had, so the work was not run at all
};

// Runs work on a thread of its own and waits at most limit for it. The work
// never runs on the caller's thread: without a thread to spare it is not run,
// so that nothing unbounded ever happens here.
BoundedCall finishesWithin(const std::function<void()>& work, std::chrono::milliseconds limit);
