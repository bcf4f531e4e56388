#include "monitor/option_table.h"

#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>
#include <string>

#include "monitor/program_usage.h"
#include "specmon/spectrum_usage.h"
#include "wavemon/wave_usage.h"

namespace {

// The README tells of every option of both programs, and of no other: an
// option added to a table, or dropped from one, shows here until the README
// follows.
TEST(OptionTable, TheReadmeTellsOfEveryOptionAndOfNoOther)
{
    std::ifstream file(EARSHOT_README);
    std::stringstream readme;
    readme << file.rdbuf();
    const std::string text = readme.str();
    ASSERT_FALSE(text.empty()) << EARSHOT_README;
    std::set<std::string> tabled;
    for (const ProgramUsage* usage : {&wavemonUsage, &specmonUsage}) {
        for (const OptionRow& row : optionTable(*usage)) {
            tabled.insert(row.name);
        }
    }
    std::set<std::string> told;
    // An option is a backquote, two dashes, a letter, then letters and dashes.
    const auto isLetter = [](char c) { return c >= 'a' && c <= 'z'; };
    for (std::size_t at = text.find("`--"); at != std::string::npos; at = text.find("`--", at + 1)) {
        std::size_t end = at + 3;
        while (end < text.size() && (isLetter(text[end]) || (end > at + 3 && text[end] == '-'))) {
            ++end;
        }
        if (end > at + 3) {
            told.insert(text.substr(at + 1, end - at - 1));
        }
    }
    EXPECT_EQ(told, tabled);
}

} // namespace
