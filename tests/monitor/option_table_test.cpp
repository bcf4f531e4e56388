#include "monitor/option_table.h"

#include <gtest/gtest.h>

#include <fstream>
#include <regex>
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
    const std::regex option("`(--[a-z][a-z-]*)");
    for (std::sregex_iterator at(text.begin(), text.end(), option), end; at != end; ++at) {
        told.insert((*at)[1]);
    }
    EXPECT_EQ(told, tabled);
}

} // namespace
