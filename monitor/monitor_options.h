// What a monitor's command line asks for, once read (arguments.h): the
// options and their limits. Plain data; any thread.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

enum class Request {
    run,        // open the window and monitor
    help,       // -h, --help
    version,    // --version
    listInputs, // --list-inputs
};

// --print[=WHAT]: what goes to standard output after each frame.
enum class PrintKind {
    none,
    numbers, // --print, --print=numbers: the numbers the frame drew
    measure, // --print=measure: the values of the measurement line
};

// --trigger[=EDGE[:LEVEL]]: where a frame of the trace starts.
struct TriggerOption {
    bool on = false;
    bool rising = true; // EDGE: rising (the default) or falling
    float level = 0.0f; // LEVEL in full-scale units, within triggerLevelLimit of 0
};

// The options of a run. Each program takes only those of its option table
// (option_table.h); without any, it is exactly the plain monitor.
struct MonitorOptions {
    std::vector<std::string> inputs;   // --input NAME, each in turn; the last one found is recorded from
    bool grid = false;                 // --grid: a labelled grid under the trace
    bool readout = false;              // --readout: the values under the pointer in the top text row
    TriggerOption trigger;             // --trigger
    bool peakHold = false;             // --peak-hold: the highest levels since the start, under the trace
    bool measure = false;              // --measure: the frame's measured values in the second text row
    bool log = false;                  // --log: a logarithmic frequency axis
    bool reference = false;            // --reference[=FILE]: a stored trace beside the live one
    std::string referenceFile;         // FILE of --reference=FILE, a dump to start with; empty for none
    int64_t average = 0;               // --average N: the power averaged over frames with weight 1/N; 0 for none
    PrintKind print = PrintKind::none; // --print[=WHAT]: a line on standard output after each frame
    int64_t frames = 0;                // --frames N: end after N frames; 0 for no end of its own
    bool noWindow = false;             // --no-window: no window, no display needed
    std::string out;                   // --out PATH: where the dump goes instead of out.txt; "-" standard output
    // Whether an option that makes the monitor an instrument was given: Space
    // then freezes the picture. And the instrument keys beyond Space that the
    // options given bring ("r").
    bool instrument = false;
    std::string instrumentKeys;
};

// The limits of the values, for the option table and the texts that state
// them. A trigger arms only once the signal has been the hysteresis beyond
// its level, and 16-bit samples reach 32767/32768 at most above zero and -1
// below it: any level up to this limit leaves a full-scale signal of either
// sign room to arm it.
inline constexpr float triggerLevelLimit = 0.98f;
inline constexpr int64_t averageLeast = 2;
inline constexpr int64_t averageMost = 100;
inline constexpr int64_t framesLeast = 1;

// What --out takes to mean standard output.
inline constexpr std::string_view standardOutputPath = "-";
