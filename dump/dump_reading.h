// Reading a dump back (a reference trace from an earlier out.txt), as
// strictly as the writer writes it: exactly count lines, line i (from 0)
// holding dumpLineText(i, value) for its value, each ending in CR LF or LF.
// Pure; any thread.
#pragma once

#include <cstdint>
#include <string_view>

// The values of text into values[0] to values[count - 1]; returns 0 when
// text is such a dump, otherwise the number (from 1) of its first line that
// is not such a line: count + 1 for a line beyond the last, a number up to
// count for a missing one.
int64_t readDumpText(std::string_view text, int64_t count, float* values);
