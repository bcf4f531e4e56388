// How both monitors end: where their dump goes, and what their exit status
// says. Main thread.
#pragma once

#include <cstdint>
#include <string>
#include <system_error>

#include "monitor/arguments.h"

// The dump file, in the working directory, unless --out names another place.
inline constexpr const char* monitorDumpPath = "out.txt";

// Where the dump goes, in words for the user: out.txt, the path of --out, or
// standard output.
std::string dumpTarget(const MonitorOptions& options);

// Writes the dump of count values where the options send it. Main thread.
std::error_code writeDump(const MonitorOptions& options, const float* values, int64_t count);

// The exit status for how a monitor ended: 0 when the dump was written and
// it ended as asked, 1 when the dump failed or the display was lost. Pure.
int exitStatusFor(bool dumpWritten, bool displayLost);

// Last step of the exit sequence. Tells the user why the dump was not
// written when dumpError says it was not, and returns the exit status: 0 when
// the dump was written and the monitor ended as asked, 1 when the dump failed
// or the display was lost. A dump to standard output whose reader has gone
// away is no failure: the reader chose to stop reading.
int monitorExitStatus(const MonitorOptions& options, std::error_code dumpError);

// The very end: returns status when the capture stopped. Otherwise ends the
// process with status at once, without the normal exit's clean-up, which
// would take PortAudio's state away from the call still under way.
int finishExit(bool captureStopped, int status);
