// How both monitors end: what their exit status says. Main thread.
#pragma once

#include <string>

// The exit status for how a monitor ended: 0 when everything asked for was
// delivered and it ended as asked, 1 when output was lost (the dump, or
// numbers on standard output) or the display went away. Pure.
int exitStatusFor(bool delivered, bool displayLost);

// Last step of the exit sequence. Tells the user dumpProblem (writeDump in
// dump_destination.h) when there is one, and returns the exit status for
// it, the numbers on standard output and the display.
int monitorExitStatus(const std::string& dumpProblem);

// The very end: returns status when the capture stopped and standard
// output's writer has nothing left to write. Otherwise ends the process with
// status at once, without the normal exit's clean-up, which would take
// PortAudio's state away from the call still under way, or the writer's
// from a write that waits for a reader that does not read.
int finishExit(bool captureStopped, int status);
