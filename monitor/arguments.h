// Reading a monitor's command line from its option table, without acting on
// it. Pure; any thread.
//
// Options follow the usual conventions: --name=VALUE or --name VALUE for a
// required value, --name=VALUE only for an optional one, and "--" ends the
// options. Names are never abbreviated: an option is given by its whole
// name, so that a mistyped one is refused rather than taken for another.
#pragma once

#include <string>
#include <vector>

#include "monitor/monitor_options.h"
#include "monitor/option_table.h"

struct CommandLine {
    // Reading stops at the first answer request (help, version, list), or
    // at the first wrong argument; what stands before it has been read.
    Request request = Request::run;
    MonitorOptions options;
    // What is wrong with the command line, with control characters escaped,
    // ready for a line to the user; empty when nothing is.
    std::string wrong;
};

// Reads argv[1] to argv[argc - 1] from left to right, taking the options of
// the table: an unknown option, a value an option cannot take and any other
// argument (the monitors take none) are wrong.
CommandLine readCommandLine(int argc, const char* const* argv, const std::vector<OptionRow>& table);
