// The snapshot of the input: the newest samples, oldest first, as the audio
// thread keeps them, and how the main thread holds it still to read it.
//
// Main thread only. The audio thread rewrites CaptureSnapshot with every
// sample, except between raiseSnapshotHold and lowerSnapshotHold;
// copySnapshot raises and lowers the hold around its copy. Raising it waits
// only briefly, for a rebuild already under way.
#pragma once

#include <cstdint>

#include "capture/capture_format.h"

// The newest captureLength samples, s / 32768 each: element 0 the oldest,
// element 2047 the newest. Read it only while the hold is raised.
extern float CaptureSnapshot[captureLength];

// Raises the hold and returns once no rebuild is under way; until
// lowerSnapshotHold, CaptureSnapshot holds every value of the last completed
// rebuild and does not change.
void raiseSnapshotHold();

// Lowers the hold; the snapshot follows the input again from the next sample.
void lowerSnapshotHold();

// Copies CaptureSnapshot to destination under the hold and returns how many
// of the copied values, the newest, are samples of the stream now running;
// the older ones are the silence the capture was cleared to (see
// snapshotHoldsInput in capture_stream.h).
int64_t copySnapshot(float (&destination)[captureLength]);

// As above, and sets every element of zeroed to 0 in the same pass.
int64_t copySnapshot(float (&destination)[captureLength], float (&zeroed)[captureLength]);
