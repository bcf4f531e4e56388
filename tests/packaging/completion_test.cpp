// The bash completions that the build writes, completed in a bash with no
// terminal and compared with the programs' option tables.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "monitor/program_usage.h"
#include "rig/temp_dir.h"
#include "specmon/spectrum_usage.h"
#include "wavemon/wave_usage.h"

namespace {

using Offers = std::set<std::string>;

// What the completion of usage's program offers at the end of line, which
// continues the program's name. The line is split into words as bash splits
// it for completion: at blanks, and with '=' and ':' words of their own. Runs
// in dir, whose programs come first on the path.
Offers offers(const ProgramUsage& usage, const std::string& line, const std::string& dir = ".")
{
    std::vector<std::string> words = {usage.name, ""};
    for (const char c : line) {
        if (c == ' ') {
            words.push_back("");
        } else if (c == '=' || c == ':') {
            words.back().empty() ? words.back() = c : words.emplace_back(1, c);
            words.push_back("");
        } else {
            words.back() += c;
        }
    }
    if (words.back().empty() && line.back() != ' ') {
        words.pop_back();
    }
    std::string script = "source '" EARSHOT_COMPLETION_DIR "/" + usage.name + "'\nCOMP_WORDS=(";
    for (const std::string& word : words) {
        script += " '" + word + "'";
    }
    script += " )\nCOMP_CWORD=" + std::to_string(words.size() - 1) + "\n_earshot_" + usage.name +
              " && printf '%s\\n' \"${COMPREPLY[@]}\"\n";
    const rig::TempDir scratch;
    std::ofstream(scratch.path() + "/complete") << script;
    FILE* bash =
        popen(("cd '" + dir + "' && PATH=\"$PWD:$PATH\" bash --norc --noprofile '" + scratch.path() + "/complete' 2>&1")
                  .c_str(),
              "r");
    Offers out;
    std::string offer;
    for (int c = 0; (c = std::fgetc(bash)) != EOF;) {
        c == '\n' ? (out.insert(offer), offer.clear()) : offer.push_back(static_cast<char>(c));
    }
    EXPECT_EQ(pclose(bash), 0) << line;
    out.erase("");
    return out;
}

const ProgramUsage* const programs[] = {&wavemonUsage, &specmonUsage};

// An option added to a table is offered without more ado, and no other word.
TEST(Completion, OffersEveryOptionOfTheTableAndNoOther)
{
    for (const ProgramUsage* usage : programs) {
        Offers longNames;
        Offers names;
        for (const OptionRow& row : optionTable(*usage)) {
            longNames.insert(row.name);
            names.insert(row.name);
            if (!row.shortName.empty()) {
                names.insert(row.shortName);
            }
        }
        EXPECT_EQ(offers(*usage, "--"), longNames) << usage->name;
        EXPECT_EQ(offers(*usage, "-"), names) << usage->name;
        EXPECT_EQ(offers(*usage, "--frames 5 "), names) << usage->name;
        EXPECT_EQ(offers(*usage, "--frames "), Offers{}) << usage->name;
        EXPECT_EQ(offers(*usage, "--print "), names) << usage->name;
    }
    EXPECT_EQ(offers(wavemonUsage, "--trig"), Offers{"--trigger"});
    EXPECT_EQ(offers(specmonUsage, "--trig"), Offers{});
    EXPECT_EQ(offers(specmonUsage, "--pe"), Offers{"--peak-hold"});
}

// After '=', the words of the table's choices, also where '=' is no word
// break; no options after a value's ':'.
TEST(Completion, OffersTheChoicesOfAValue)
{
    for (const ProgramUsage* usage : programs) {
        for (const OptionRow& row : optionTable(*usage)) {
            if (!row.choices.empty()) {
                EXPECT_EQ(offers(*usage, row.name + "="), Offers(row.choices.begin(), row.choices.end()));
                EXPECT_EQ(offers(*usage, row.name + "=" + row.choices.back()), Offers{row.choices.back()});
            }
        }
        EXPECT_EQ(offers(*usage, "--print=m"), Offers{"measure"});
    }
    EXPECT_EQ(offers(wavemonUsage, "--trigger=f"), Offers{"falling"});
    EXPECT_EQ(offers(wavemonUsage, "--trigger=rising:"), Offers{});
    EXPECT_EQ(offers(wavemonUsage, "--trigger=rising:0"), Offers{});
    EXPECT_EQ(offers(specmonUsage, "--trigger="), Offers{});
}

TEST(Completion, OffersFilesAfterOutAndReference)
{
    const rig::TempDir dir;
    for (const char* name : {"before.txt", "bench.txt", "after.txt"}) {
        std::ofstream(dir.path() + "/" + name) << "";
    }
    for (const ProgramUsage* usage : programs) {
        EXPECT_EQ(offers(*usage, "--out b", dir.path()), (Offers{"before.txt", "bench.txt"}));
        EXPECT_EQ(offers(*usage, "--out=a", dir.path()), Offers{"after.txt"});
        EXPECT_EQ(offers(*usage, "--reference=be", dir.path()), (Offers{"before.txt", "bench.txt"}));
    }
}

// The names and indexes of the inputs that the program lists, escaped for
// the command line.
TEST(Completion, OffersTheInputsTheProgramLists)
{
    const rig::TempDir dir;
    for (const ProgramUsage* usage : programs) {
        const std::string program = dir.path() + "/" + usage->name;
        std::ofstream(program) << "#!/bin/sh\n[ \"$1\" = --list-inputs ] || exit 2\n"
                                  "echo '  0  ALSA  Desk Mic'\necho '* 1  ALSA  default'\necho '  2  Host API  USB'\n";
        ASSERT_EQ(std::system(("chmod +x '" + program + "'").c_str()), 0);
        EXPECT_EQ(offers(*usage, "--input ", dir.path()), (Offers{"0", "1", "2", "Desk\\ Mic", "default", "USB"}));
        EXPECT_EQ(offers(*usage, "--input=D", dir.path()), Offers{"Desk\\ Mic"});
        EXPECT_EQ(offers(*usage, "--input d", dir.path()), Offers{"default"});
    }
}

} // namespace
