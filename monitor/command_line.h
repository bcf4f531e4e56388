// The command line of both monitors. Main thread, first thing in main.
#pragma once

#include <optional>

#include "monitor/monitor_options.h"
#include "monitor/program_usage.h"

// Reaches the console it was started from (reachParentConsole), opens the
// standard descriptors that were closed on the null device
// (standard_streams.h), names the program in its lines to the user
// (user_notice.h), then reads the arguments from left to right. -h or
// --help prints helpText and --version prints versionText on standard
// output; an unknown option or any other argument gets one line on standard
// error naming it, with a hint to --help. Numbers sent to a standard output
// that was closed at start, or to a descriptor the program was not started
// with, are refused with one line.
// Returns the exit status when the program is to end there (0 after an
// answer, 2 for a wrong command line, before any window opens); nothing when
// it is to run, with the options it was given in options.
std::optional<int> answerCommandLine(const ProgramUsage& usage, int argc, const char* const* argv,
                                     MonitorOptions& options);
