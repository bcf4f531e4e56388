#include "monitor/arguments.h"
#include "monitor/instrument_keys.h"
#include "monitor/monitor_exit.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const ProgramUsage usage = {
    "tester", "", "", "", "", "", "", {{"--grid", ""}, {"--trigger[=EDGE[:LEVEL]]", ""}, {"--average N", ""}}, {}};

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
        EXPECT_EQ(line.inputs, c.inputs) << shown;
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
    EXPECT_TRUE(read({"--trigger=falling"}).options.instrument());
    EXPECT_FALSE(read({"--input", "x"}).options.instrument());
    const MonitorOptions script = read({"--print", "--frames=12", "--no-window", "--out", "a b.txt"}).options;
    EXPECT_TRUE(script.print && script.noWindow);
    EXPECT_EQ(script.frames, 12);
    EXPECT_EQ(script.out, "a b.txt");
    EXPECT_FALSE(script.instrument()) << "options for scripts freeze nothing";
}

// Space freezes only an instrument; r restarts only a peak hold or an
// average, each alone as well; every other key does nothing.
TEST(InstrumentKeys, SpaceAndROnlyWhereTheOptionsAskForThem)
{
    InstrumentState state;
    applyInstrumentKey(freezeKey, MonitorOptions{}, state);
    applyInstrumentKey(restartKey, MonitorOptions{}, state);
    EXPECT_FALSE(state.frozen || state.restart) << "no options: a plain monitor";
    MonitorOptions grid;
    grid.grid = true;
    applyInstrumentKey(freezeKey, grid, state);
    EXPECT_TRUE(state.frozen);
    applyInstrumentKey(restartKey, grid, state);
    applyInstrumentKey('x', grid, state);
    EXPECT_FALSE(state.restart) << "--grid holds nothing to restart";
    applyInstrumentKey(freezeKey, grid, state);
    EXPECT_FALSE(state.frozen);
    MonitorOptions held;
    held.peakHold = true;
    applyInstrumentKey(restartKey, held, state);
    EXPECT_TRUE(state.restart) << "--peak-hold alone";
    MonitorOptions averaged;
    averaged.average = 4;
    InstrumentState averagedState;
    applyInstrumentKey('R', averaged, averagedState);
    EXPECT_TRUE(averagedState.restart) << "--average alone";
}

TEST(ExitStatus, ZeroOnlyWhenTheDumpWasWrittenAndTheDisplayStayed)
{
    EXPECT_EQ(exitStatusFor(true, false), 0);
    EXPECT_EQ(exitStatusFor(false, false), 1);
    EXPECT_EQ(exitStatusFor(true, true), 1);
    EXPECT_EQ(exitStatusFor(false, true), 1);
}

} // namespace
