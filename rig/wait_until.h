// Waiting for conditions in end-to-end tests. Every wait polls with a
// deadline; the machines are small and loaded, so deadlines are generous and
// a test never relies on a fixed sleep alone. Any thread may call these.
#pragma once

#include <chrono>
#include <functional>

namespace rig {

// The deadline for anything a test waits for: a server starting, a window
// appearing, a process ending.
constexpr std::chrono::milliseconds rigDeadline{20000};

// The pause between two checks of a condition.
constexpr std::chrono::milliseconds rigPollInterval{20};

// Calls condition every rigPollInterval until it returns true (then true) or
// timeout has passed (then false, after one last check).
bool waitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout = rigDeadline);

} // namespace rig
