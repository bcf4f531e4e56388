#include "monitor/program_usage.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace {

const ProgramUsage sample = {
    "tester",
    "a program with a-hyphen",
    "It starts with words and goes on long enough to need wrapping at least twice in the help text: "
    "averyveryverylongwordthatcannotbebrokenbecauseithasnoblankinsideitatallandrunsonandonandonbeyondthewidth "
    "then more words after it.",
    ".left starts with a dot",
    "back\\slash",
    "what it dumps",
    "other",
    // Enough of them to make the term of Space wider than a line.
    {
        instrumentOption(flagOption("--first-instrument-option", &MonitorOptions::grid, "one")),
        instrumentOption(flagOption("--second-instrument-option", &MonitorOptions::grid, "two")),
        instrumentOption(flagOption("--third-instrument-option", &MonitorOptions::grid, "three")),
    },
    {},
};

// Help: no line wider than 79 columns unless one word is, entries indented
// under their terms, and the texts' words all there in order.
TEST(ProgramUsage, HelpIsWrappedAt79ColumnsWithoutLosingAWord)
{
    const std::string help = helpText(sample);
    EXPECT_TRUE(help.starts_with("tester - a program with a-hyphen\n\nUsage: tester ")) << help;
    std::istringstream lines(help);
    std::string joined;
    for (std::string line; std::getline(lines, line);) {
        if (line.find(' ', line.find_first_not_of(' ')) != std::string::npos) {
            EXPECT_LE(line.size(), 79u) << line;
        }
        joined += line + " ";
    }
    EXPECT_NE(joined.find("wrapping at least twice in the help text: "
                          "averyveryverylongwordthatcannotbebrokenbecauseithasnoblankinsideitatallandrunsonandonandon"
                          "beyondthewidth then more words"),
              std::string::npos)
        << help;
    EXPECT_NE(help.find("\n  left mouse button, held\n      .left starts with a dot\n"), std::string::npos) << help;
}

// The manual page: hyphens and backslashes escaped, a text line never taken
// for a request, the other program named.
TEST(ProgramUsage, ManualPageEscapesWhatRoffWouldTakeForItsOwn)
{
    const std::string page = manualPage(sample, "May 2027");
    EXPECT_TRUE(page.starts_with(".TH TESTER 1 \"May 2027\" \"earshot ")) << page;
    EXPECT_NE(page.find("tester \\- a program with a\\-hyphen\n"), std::string::npos) << page;
    EXPECT_NE(page.find("\n\\&.left starts with a dot\n"), std::string::npos) << page;
    EXPECT_NE(page.find("\nback\\eslash\n"), std::string::npos) << page;
    EXPECT_TRUE(page.ends_with(".SH SEE ALSO\n.BR other (1)\n")) << page;
}

} // namespace
