// The monitors' out.txt as the tests read it: one line per value, the index
// in a 14-character field, the value text, CR LF. Pure functions, any thread.
#pragma once

#include <cstddef>
#include <cstdint>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace e2e {

// A blank (or minus) and the digits of the index, blanks up to 14 characters.
std::string indexField(int64_t index);

// The whole file of `lines` lines that all carry this value text.
std::string uniformDump(size_t lines, const std::string& valueText);

struct DumpValues {
    std::vector<std::string> texts; // as written, e.g. " 0.5" or "-190"
    std::vector<double> numbers;
};

// Success when the dump is byte for byte the expected one; otherwise the sizes
// and the first line that differs.
testing::AssertionResult sameDump(const std::string& dump, const std::string& expected);

// Reads a dump of exactly `lines` lines with indices 0, 1, ... in order;
// fails naming the first line that breaks the format.
testing::AssertionResult readDumpValues(const std::string& dump, size_t lines, DumpValues& values);

} // namespace e2e
