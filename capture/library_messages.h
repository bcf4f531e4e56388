// Discarding what libraries print to the process's standard error for a while.
// Main thread; other threads' stderr output is discarded meanwhile too.
#pragma once

// Points file descriptor 2 at the null device and returns a duplicate of the
// descriptor it had before (negative if that could not be made).
int silenceStderr();

// Points file descriptor 2 back at saved, a result of silenceStderr, and
// closes saved.
void restoreStderr(int saved);
