// How both monitors end: where their dump goes, and what their exit status
// says. Main thread.
#pragma once

#include <system_error>

// The dump file, in the working directory.
inline constexpr const char* monitorDumpPath = "out.txt";

// The exit status for how a monitor ended: 0 when the dump was written and
// it ended as asked, 1 when the dump failed or the display was lost. Pure.
int exitStatusFor(bool dumpWritten, bool displayLost);

// Last step of the exit sequence. Tells the user why out.txt was not written
// when dumpError says it was not, and returns the exit status: 0 when the
// dump was written and the monitor ended as asked, 1 when the dump failed or
// the display was lost.
int monitorExitStatus(std::error_code dumpError);

// The very end: returns status when the capture stopped. Otherwise ends the
// process with status at once, without the normal exit's clean-up, which
// would take PortAudio's state away from the call still under way.
int finishExit(bool captureStopped, int status);
