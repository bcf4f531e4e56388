#include "monitor/arguments.h"
#include "monitor/program_usage.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A program of three options of its own, one of each kind of value, ahead of
// the options of both programs and the answers.
const std::vector<OptionRow> table = [] {
    ProgramUsage usage;
    usage.options = {
        instrumentOption(flagOption("--grid", &MonitorOptions::grid, "")),
        instrumentOption(triggerOption("")),
        instrumentOption(wholeNumberOption("--average", &MonitorOptions::average, averageLeast, averageMost, ""), "r"),
    };
    return optionTable(usage);
}();

CommandLine read(std::vector<const char*> arguments)
{
    arguments.insert(arguments.begin(), "tester");
    return readCommandLine(static_cast<int>(arguments.size()), arguments.data(), table);
}

// Left to right: --input in both forms collects names; the first answer
// request or wrong argument ends the reading, whatever follows it.
TEST(CommandLine, ReadsLeftToRightAndStopsAtTheFirstAnswerOrMistake)
{
    struct Case {
        std::vector<const char*> arguments;
        Request request;
        std::vector<std::string> inputs;
        std::string wrong;
    };
    const Case cases[] = {
        {{}, Request::run, {}, ""},
        {{"--input", "low", "--input=2"}, Request::run, {"low", "2"}, ""},
        {{"--input", "-h"}, Request::run, {"-h"}, ""},
        {{"--input=", "--version"}, Request::version, {""}, ""},
        {{"--input", "a", "--help", "--bogus"}, Request::help, {"a"}, ""},
        {{"-h"}, Request::help, {}, ""},
        {{"--list-inputs", "--input"}, Request::listInputs, {}, ""},
        {{"--help=x"}, Request::run, {}, "unknown option '--help=x'"},
        {{"--gri"}, Request::run, {}, "unknown option '--gri'"},
        {{"--input=a", "--", "--grid"}, Request::run, {"a"}, "unexpected argument '--grid'"},
        {{"--", "--"}, Request::run, {}, "unexpected argument '--'"},
        {{"--bogus", "--help"}, Request::run, {}, "unknown option '--bogus'"},
        {{"--input", "x", "stray"}, Request::run, {"x"}, "unexpected argument 'stray'"},
        {{"--input"}, Request::run, {}, "option '--input' needs the name or index of an input"},
        {{"--trigger=falling:0.99"},
         Request::run,
         {},
         "option '--trigger' takes rising or falling, then optionally ':' and a level from -0.98 to 0.98, not "
         "'falling:0.99'"},
        {{"-\x1b]0;x\x07"}, Request::run, {}, "unknown option '-\\x1b]0;x\\x07'"},
    };
    for (const Case& c : cases) {
        const CommandLine line = read(c.arguments);
        const std::string shown = c.arguments.empty() ? "(none)" : c.arguments.front();
        EXPECT_EQ(line.request, c.request) << shown;
        EXPECT_EQ(line.options.inputs, c.inputs) << shown;
        EXPECT_EQ(line.wrong, c.wrong) << shown;
    }
}

// Each option's values at their limits and just beyond; an option that the
// program does not list is unknown to it.
TEST(CommandLine, OptionValuesAreCheckedAtTheirLimits)
{
    struct Case {
        std::vector<const char*> arguments;
        bool accepted;
        float level;
        int64_t average;
    };
    const Case cases[] = {
        {{"--trigger"}, true, 0.0f, 0},
        {{"--trigger=falling"}, true, 0.0f, 0},
        {{"--trigger=rising:-0.98"}, true, -0.98f, 0},
        {{"--trigger=falling:0.98"}, true, 0.98f, 0},
        {{"--trigger=rising:-0.99"}, false, 0.0f, 0},
        {{"--trigger=falling:0.99"}, false, 0.0f, 0},
        {{"--trigger=up"}, false, 0.0f, 0},
        {{"--trigger="}, false, 0.0f, 0},
        {{"--trigger=rising:"}, false, 0.0f, 0},
        {{"--trigger=rising: 0.5"}, false, 0.0f, 0},
        {{"--trigger", "falling"}, false, 0.0f, 0},
        {{"--average", "2"}, true, 0.0f, 2},
        {{"--average=100"}, true, 0.0f, 100},
        {{"--average", "1"}, false, 0.0f, 0},
        {{"--average=101"}, false, 0.0f, 0},
        {{"--average", "5x"}, false, 0.0f, 0},
        {{"--average"}, false, 0.0f, 0},
        {{"--average", "--grid"}, false, 0.0f, 0},
        {{"--grid=yes"}, false, 0.0f, 0},
        {{"--peak-hold"}, false, 0.0f, 0},
        {{"--frames", "1", "--print", "--no-window"}, true, 0.0f, 0},
        {{"--frames=0"}, false, 0.0f, 0},
        {{"--frames", "-3"}, false, 0.0f, 0},
        {{"--frames", "ten"}, false, 0.0f, 0},
        {{"--out", "-"}, true, 0.0f, 0},
        {{"--out="}, false, 0.0f, 0},
        {{"--out"}, false, 0.0f, 0},
        {{"--print=1"}, false, 0.0f, 0},
    };
    for (const Case& c : cases) {
        const CommandLine line = read(c.arguments);
        const std::string shown = std::string(c.arguments.front()) + (c.arguments.size() > 1 ? " ..." : "");
        EXPECT_EQ(line.wrong.empty(), c.accepted) << shown << ": " << line.wrong;
        if (c.accepted) {
            EXPECT_EQ(line.options.trigger.level, c.level) << shown;
            EXPECT_EQ(line.options.average, c.average) << shown;
        }
    }
    EXPECT_FALSE(read({"--trigger=falling"}).options.trigger.rising);
    EXPECT_TRUE(read({"--trigger=falling"}).options.instrument);
    EXPECT_EQ(read({"--grid", "--average=5"}).options.instrumentKeys, "r");
    EXPECT_FALSE(read({"--input", "x"}).options.instrument);
    const MonitorOptions script = read({"--print", "--frames=12", "--no-window", "--out", "a b.txt"}).options;
    EXPECT_TRUE(script.print == PrintKind::numbers && script.noWindow);
    EXPECT_EQ(script.frames, 12);
    EXPECT_EQ(script.out, "a b.txt");
    EXPECT_FALSE(script.instrument) << "options for scripts freeze nothing";
}

} // namespace
