// What a monitor's command line asks for, read without acting on it. Pure;
// any thread.
#pragma once

#include <string>
#include <vector>

enum class Request {
    run,        // open the window and monitor
    help,       // -h, --help
    version,    // --version
    listInputs, // --list-inputs
};

struct CommandLine {
    // Reading stops at the first help, version or list request, or at the
    // first wrong argument; what stands before it has been read.
    Request request = Request::run;
    // Each --input NAME (or --input=NAME) before that point, in order: each
    // is looked up in turn, and the last one found is recorded from.
    std::vector<std::string> inputs;
    // What is wrong with the command line, with control characters escaped,
    // ready for a line to the user; empty when nothing is.
    std::string wrong;
};

// Reads argv[1] to argv[argc - 1] from left to right.
CommandLine readCommandLine(int argc, const char* const* argv);
