// Inside the capture: the ring of the 2048 latest input samples, the callback
// that fills it and rebuilds the snapshot (capture_ring.h) from it, and the
// handshake with the main thread's hold. For capture/ itself and for the tests
// and benchmarks of it.
//
// Thread contract
// - Audio thread (the one PortAudio calls captureCallback on, one sample per
//   call): sole owner of CaptureRing, ringWriteIndex, ringFill and ringClear;
//   the only writer of CaptureSnapshot, snapshotFill, rebuildUnderway and
//   callbackCount; reads snapshotHold.
// - The capture supervisor (capture_stream.h) takes the audio thread's part
//   in silenceCapture, only while no stream exists: after one is closed and
//   before the next is started, which hands the part over in both
//   directions.
// - Main thread: the only writer of snapshotHold, through raiseSnapshotHold
//   and lowerSnapshotHold; reads CaptureSnapshot, directly or through
//   copySnapshot, only between the two; never touches the ring.
// - The callback never blocks, locks, allocates or logs; only the main thread
//   waits, briefly, for a rebuild that began before the hold was raised.
//
// Handshake (why each ordering is what it is)
// Callback:  rebuildUnderway = true   (seq_cst store)   A
//            hold = snapshotHold      (seq_cst load)    B
//            if hold == 0: rebuild the snapshot (plain stores)
//            rebuildUnderway = false  (release store)   C
// Main:      snapshotHold = 1         (seq_cst store)   D
//            wait until rebuildUnderway is false (seq_cst loads) E
//            ... read CaptureSnapshot ...
//            snapshotHold = 0         (release store)   F
// - A-B against D-E is Dekker's store-then-load on both sides: in the single
//   total order of seq_cst operations either B comes after D, so the callback
//   sees the hold and skips its rebuild, or A comes before E, so the main
//   thread sees the rebuild under way and waits for C. Anything weaker than
//   seq_cst lets each side's load pass its own store, and both go ahead.
// - C (release) paired with E (acquire, implied by seq_cst) makes every value
//   of the last completed rebuild visible to the main thread once it sees
//   false.
// - F (release) paired with B (acquire, implied by seq_cst) makes the main
//   thread's reads happen before the next rebuild's writes.
#pragma once

#include <atomic>
#include <cstdint>

#include <portaudio.h>

#include "capture/capture_format.h"
#include "capture/capture_ring.h"

// The last 2048 normalised samples; slot ringWriteIndex holds the oldest.
extern float CaptureRing[captureLength];

// Slot that the next sample fills, always 0..2047.
extern int64_t ringWriteIndex;

// 0 or 1; while non-zero the callback leaves CaptureSnapshot alone.
extern std::atomic<int64_t> snapshotHold;

// True while the callback is between checking snapshotHold and finishing the
// rebuild it then chose to do.
extern std::atomic<bool> rebuildUnderway;

// How many of the ring's values are samples of the stream now running, up
// to 2048; 0 after the ring is cleared.
extern int64_t ringFill;

// ringFill as it was at the snapshot's last rebuild: the newest snapshotFill
// values of CaptureSnapshot are samples of the running stream, the older ones
// the silence the ring was cleared to. copySnapshot returns it.
extern int64_t snapshotFill;

// Starts at 1: the first callback clears the ring, drops its sample and sets it
// to 0 for good.
extern int64_t ringClear;

// Calls of captureCallback so far, for the supervisor to see that samples
// come. A lock-free counter, written with relaxed increments.
extern std::atomic<int64_t> callbackCount;

// PortAudio stream callback, audio thread. Stores the first input sample, a
// signed 16-bit integer s, as s / 32768 in the ring and, unless the snapshot is
// held, rebuilds the snapshot with two contiguous copies of the ring's halves.
// Reads nothing else of its arguments, counts the call in callbackCount and
// always returns 0 (paContinue).
int captureCallback(const void* input, void* output, unsigned long frameCount, const PaStreamCallbackTimeInfo* timeInfo,
                    PaStreamCallbackFlags statusFlags, void* userData);

// Capture supervisor, while no stream exists: clears the ring (ringFill 0)
// and, unless the snapshot is held, rebuilds the snapshot from it (all zeros,
// snapshotFill 0), by the callback's handshake. True when the snapshot now
// shows silence; false when it was held, to be tried again later.
bool silenceCapture();
