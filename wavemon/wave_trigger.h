// Where a triggered frame (--trigger) starts: at the first crossing of a
// level in the middle half of the samples, so that a periodic input stands
// still from frame to frame. Pure; any thread.
#pragma once

#include <cstdint>

#include "monitor/monitor_options.h"
#include "wavemon/wave_trace.h"

// The crossings looked for lie in samples triggerFirst to triggerLast, so
// that the frame around one (tracePoints samples, the crossing in its middle
// column) lies within the buffer.
inline constexpr int64_t triggerColumn = tracePoints / 2;
inline constexpr int64_t triggerFirst = triggerColumn;
inline constexpr int64_t triggerLast = traceLength - tracePoints + triggerColumn - 1;

// How far the signal must have been on the far side of the level since the
// previous crossing for the next one to count: noise riding on a slow edge
// then crosses only once.
inline constexpr float triggerHysteresis = 0.01f;

// The earliest index j from triggerFirst to triggerLast where the samples
// cross the level in the trigger's direction (rising: sample j - 1 < level
// <= sample j; falling: sample j - 1 > level >= sample j), counting only a
// crossing that follows a sample at least triggerHysteresis beyond the
// level on the other side since the previous crossing (looked for from
// sample 0 on); -1 when there is none.
int64_t triggerIndex(const float (&samples)[traceLength], const TriggerOption& trigger);

// The first sample a frame shows: the crossing's index less triggerColumn,
// or 0 (the older half, as untriggered) with no crossing.
int64_t frameStart(const float (&samples)[traceLength], const TriggerOption& trigger);
