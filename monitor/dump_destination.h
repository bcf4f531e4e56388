// Where a monitor's dump goes (out.txt, or what --out names), and its writing
// there at the end. A file reached by an ordinary name is replaced whole
// (dump_writer.h). A descriptor the program was started with (standard
// output for "-" and /dev/stdout, /dev/fd/N and /proc/self/fd/N, which a
// shell's process substitution names) is written through as it is, so that
// what it leads to keeps what came before it: a pipe its reader, a file the
// lines --print wrote there. The file behind standard output is never
// replaced under it, whatever name it is given by.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "monitor/monitor_options.h"

// The dump file, in the working directory, unless --out names another place.
inline constexpr const char* monitorDumpPath = "out.txt";

// The descriptor that a path names in the process with this pid: 0, 1 and 2
// for /dev/stdin, /dev/stdout and /dev/stderr, N for /dev/fd/N,
// /proc/self/fd/N and /proc/<pid>/fd/N; -1 for any other path. Pure.
int descriptorNamed(std::string_view path, int64_t pid);

// The descriptor the options send the dump to (1 for "-"), or -1 for a file.
// Any thread.
int dumpDescriptor(const MonitorOptions& options);

// Where the dump goes, in words for the user: out.txt, the path of --out
// (escaped for the terminal), or standard output.
std::string dumpTarget(const MonitorOptions& options);

// Main thread, at exit: writes the dump of count values where the options
// send it, waiting for a reader at most readerWaitLimit. Returns what the
// user must hear, a line ("out.txt not written: Permission denied",
// "standard output not written: the reader does not read"), or nothing when
// the dump was delivered, or went to a reader of standard output that had
// gone away (it chose to stop reading), or could not go to a standard output
// whose failure the user has heard of already.
std::string writeDump(const MonitorOptions& options, const float* values, int64_t count);
