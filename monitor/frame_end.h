// The end of every frame, the same in both monitors. Main thread.
#pragma once

// Takes at most one key. Returns true for Escape (27) or Ctrl-C (3), or once
// a termination request has arrived; any other key is dropped, and the frame
// ends with a 100 ms pause, then returns false.
bool frameEndsMonitor();
