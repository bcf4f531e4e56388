// The options of the monitors as one table. Each row is an option: its name,
// the form of its value, what it sets, whether it makes the monitor an
// instrument (Space then freezes the picture) and which instrument keys it
// brings, and its help line. A program's table is its own rows (in its usage,
// wave_usage.cpp and spectrum_usage.cpp, whose help lines state the program's
// numbers from their constants), then the rows of both programs and the
// answers. The command line is read from the table (arguments.h); --help,
// the manual pages, the bash completions, the instrument keys and the check
// of the README follow from it, so that a new option is one row plus what it
// does. Pure; any thread.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "monitor/monitor_options.h"

enum class OptionValue {
    none,     // --grid
    required, // --frames N, or --frames=N
    optional, // --trigger, or --trigger=EDGE: given with '=' only
};

// Sets what an option's value asks for in options. value is what followed
// '=' in the same argument, or for a required value the next argument;
// nothing when neither was given. Returns what is wrong with the value, to
// follow "option '--name' " in a line to the user (with anything the user
// typed escaped for the terminal), or nothing.
using OptionReader = std::function<std::string(std::optional<std::string_view> value, MonitorOptions& options)>;

struct OptionRow {
    std::string name;      // "--average"
    std::string shortName; // "-h", or empty
    OptionValue value = OptionValue::none;
    std::string valueName;            // how the help writes the value: "N", "PATH", "EDGE[:LEVEL]"
    std::vector<std::string> choices; // the words a value is or starts with, for completion: "rising"
    Request request = Request::run;   // an answer instead of a run: reading stops there
    bool instrument = false;          // Space freezes the picture
    std::string keys;                 // the instrument keys beyond Space that it brings: "r"
    OptionReader read;
    std::string help;
};

// A flag (--grid), which takes no value.
OptionRow flagOption(std::string name, bool MonitorOptions::*flag, std::string help);

// A whole number from least on, up to most unless most is 0 (--average N).
OptionRow wholeNumberOption(std::string name, int64_t MonitorOptions::*number, int64_t least, int64_t most,
                            std::string help);

// --trigger[=EDGE[:LEVEL]]: rising or falling, then optionally ':' and a
// level within triggerLevelLimit of 0.
OptionRow triggerOption(std::string help);

// The same row, for an option that makes the monitor an instrument and
// brings these keys beyond Space.
OptionRow instrumentOption(OptionRow row, std::string keys = {});

// The rows of both programs for a run: --input, --print, --frames,
// --no-window, --out.
const std::vector<OptionRow>& bothOptions();

// The answers instead of a run: --list-inputs, -h and --help, --version.
const std::vector<OptionRow>& answerOptions();

// The option as the help lists it: "--average N", "--trigger[=EDGE[:LEVEL]]",
// "-h, --help".
std::string optionTerm(const OptionRow& row);
