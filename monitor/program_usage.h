// What a monitor says about itself, from one source: its --help text and its
// manual page are both made from the same ProgramUsage and the same shared
// lines, so that they cannot say different things. Pure; any thread.
#pragma once

#include <string>
#include <string_view>

struct ProgramUsage {
    std::string_view name;        // the program's file name, e.g. "wavemon"
    std::string_view summary;     // one line: what it is
    std::string_view description; // a paragraph: what it shows
    std::string_view leftButton;  // what the left mouse button does while held
    std::string_view rightButton; // what the right mouse button does while held
    std::string_view dump;        // what goes to out.txt
};

extern const ProgramUsage wavemonUsage;
extern const ProgramUsage specmonUsage;

// The project's version, from the build.
std::string_view projectVersion();

// The text of --help: usage line, description, controls, out.txt, options
// and exit statuses, wrapped at 79 columns.
std::string helpText(const ProgramUsage& usage);

// The text of --version: the program's name and the project's version.
std::string versionText(const ProgramUsage& usage);

// The manual page (section 1) in roff, dated as given (e.g. "December 2026").
std::string manualPage(const ProgramUsage& usage, std::string_view date);
