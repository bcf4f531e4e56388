// The reference trace's file (--reference=FILE): a dump of the same program,
// read strictly before the window opens. Main thread.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Reads path as a dump of count values (dump_reading.h) into values, waiting
// for the file at most readerWaitLimit (a named pipe nobody writes, say).
// Returns nothing when it could; otherwise the line for the user, the path
// escaped for the terminal: "ref.txt line 17: not a line of a specmon dump"
// (program), "ref.txt not read: No such file or directory".
std::string readReferenceFile(const std::string& path, std::string_view program, int64_t count, float* values);
