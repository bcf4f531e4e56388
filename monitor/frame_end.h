// The end of every frame, the same in both monitors. Main thread.
#pragma once

// Tells the user what changed in the audio input, then takes at most one
// key. Returns true for Escape (27) or Ctrl-C (3), once a termination request
// has arrived, or, with a line to the user, once the display is lost; the
// exit sequence has then begun (beginExitSequence). Any other key is
// dropped, and the frame ends with a 100 ms pause, then returns false.
bool frameEndsMonitor();
