// What a monitor says about itself, from one source: its --help text and its
// manual page are both made from the same ProgramUsage and the same shared
// lines, so that they cannot say different things. Pure; any thread.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// One entry of a list in the help: an option, a control, an exit status.
struct UsageEntry {
    std::string term; // e.g. "--average N"; an option's name is its term up to a blank, '[' or '='
    std::string text;
};

// Each program's own text (wavemon/wave_usage.h, specmon/spectrum_usage.h),
// its numbers written from the constants they state.
struct ProgramUsage {
    std::string name;        // the program's file name, e.g. "wavemon"
    std::string summary;     // one line: what it is
    std::string description; // a paragraph: what it shows
    std::string leftButton;  // what the left mouse button does while held
    std::string rightButton; // what the right mouse button does while held
    std::string dump;        // what goes to out.txt
    std::string seeAlso;     // the other program's name
    // The options of this program beyond those of both (--input,
    // --list-inputs, --help, --version), which alone it takes. With any of
    // them, Space freezes the picture.
    std::vector<UsageEntry> options;
    // Keys of this program's own, beyond the ways out and Space.
    std::vector<UsageEntry> keys;
};

// The name of an option term: "--average N" and "--trigger[=EDGE]" name
// --average and --trigger.
std::string_view optionName(std::string_view term);

// Whether the program takes the option of that name for a run: one of its
// own, or one of those of both (--input, --print, --frames, --no-window,
// --out).
bool takesOption(const ProgramUsage& usage, std::string_view name);

// A number as the texts write it: as short as it can be and still read back
// the same (0.7, 23.4375, -100, 48000).
std::string numberText(double value);

// The same for a single-precision value: 0.01f reads "0.01".
std::string singleText(float value);

// The sentence both descriptions end with: what is captured and how the
// window is redrawn.
std::string captureSentence();

// The project's version, from the build.
std::string_view projectVersion();

// The text of --help: usage line, description, controls, out.txt, options
// and exit statuses, wrapped at 79 columns.
std::string helpText(const ProgramUsage& usage);

// The text of --version: the program's name and the project's version.
std::string versionText(const ProgramUsage& usage);

// The manual page (section 1) in roff, dated as given (e.g. "December 2026").
std::string manualPage(const ProgramUsage& usage, std::string_view date);
