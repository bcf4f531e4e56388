#include "monitor/arguments.h"
#include "monitor/monitor_exit.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const ProgramUsage usage = {"tester", "", "", "", "", "", "", {{"--grid", ""}}, {}};

CommandLine read(std::vector<const char*> arguments)
{
    arguments.insert(arguments.begin(), "tester");
    return readCommandLine(static_cast<int>(arguments.size()), arguments.data(), usage);
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
        {{"--bogus", "--help"}, Request::run, {}, "unknown option '--bogus'"},
        {{"--input", "x", "stray"}, Request::run, {"x"}, "unexpected argument 'stray'"},
        {{"--input"}, Request::run, {}, "option '--input' needs the name or index of an input"},
        {{"-\x1b]0;x\x07"}, Request::run, {}, "unknown option '-\\x1b]0;x\\x07'"},
    };
    for (const Case& c : cases) {
        const CommandLine line = read(c.arguments);
        const std::string shown = c.arguments.empty() ? "(none)" : c.arguments.front();
        EXPECT_EQ(line.request, c.request) << shown;
        EXPECT_EQ(line.inputs, c.inputs) << shown;
        EXPECT_EQ(line.wrong, c.wrong) << shown;
    }
}

TEST(ExitStatus, ZeroOnlyWhenTheDumpWasWrittenAndTheDisplayStayed)
{
    EXPECT_EQ(exitStatusFor(true, false), 0);
    EXPECT_EQ(exitStatusFor(false, false), 1);
    EXPECT_EQ(exitStatusFor(true, true), 1);
    EXPECT_EQ(exitStatusFor(false, true), 1);
}

} // namespace
