// What a monitor says about itself, from one source: its --help text and its
// manual page are both made from the same ProgramUsage, its option table and
// the same shared lines, so that they cannot say different things. Pure; any
// thread.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "monitor/option_table.h"

// A key of the program's own beyond Space and the ways out: the key, and
// what it does. It works with the options whose rows bring it.
struct KeyUsage {
    char key = 0;
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
    // The rows of the options of this program alone, ahead of those of both
    // programs in its option table.
    std::vector<OptionRow> options;
    // The keys of this program alone, ahead of those of both (bothKeys).
    std::vector<KeyUsage> keys;
};

// The keys of both programs' options: m, for --reference.
const std::vector<KeyUsage>& bothKeys();

// The program's option table: its own rows, then those of both programs
// (bothOptions), then the answers (answerOptions).
std::vector<OptionRow> optionTable(const ProgramUsage& usage);

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
