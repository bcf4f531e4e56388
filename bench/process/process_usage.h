// What /proc tells about a running process and its threads: CPU time, peak
// resident memory and thread count. The parsers are pure; the readers take a
// snapshot of a live process and may run on any thread.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

struct ProcessUsage {
    // User + system time of all its threads, ended ones included, to the
    // nanosecond (the sum that /proc/<pid>/stat gives in clock ticks).
    double cpuSeconds = 0.0;
    int64_t peakResidentKb = 0; // VmHWM
    int64_t threads = 0;
};

struct ThreadUsage {
    pid_t tid = 0;
    std::string name;        // the thread's comm
    double cpuSeconds = 0.0; // time spent on a CPU, to the nanosecond
    int64_t startTicks = 0;  // when it was created, in clock ticks since boot
    bool isMain = false;     // the thread that runs main (its id is the process id)
};

// The start time (field 22, clock ticks since boot) from one line of
// /proc/<pid>/stat; nothing when the line is malformed. The command name may
// hold blanks and parentheses.
std::optional<int64_t> startTicksFromStat(const std::string& statLine);

// The number after "<field>:" in a /proc/<pid>/status text (kB for memory
// fields); nothing when the field is absent.
std::optional<int64_t> statusNumber(const std::string& statusText, const std::string& field);

// The whole process now; nothing once it has gone.
std::optional<ProcessUsage> readProcessUsage(pid_t pid);

// Every thread alive now, in order of creation. Threads that have ended are
// not listed; their time is only in readProcessUsage's total.
std::vector<ThreadUsage> readThreadUsage(pid_t pid);
