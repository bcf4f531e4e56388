#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "plot/logic/pause_steps.h"

namespace {

// Runs the pause steps against a script of key-hit answers and returns what
// happened: "T" for each test of the flag, the length of each sleep.
// hitAtTest n (from 1) makes the nth test find a key; 0 never does.
std::vector<std::string> pauseLog(int32_t ms, int32_t hitAtTest)
{
    std::vector<std::string> log;
    int32_t tests = 0;
    pauseSteps(
        ms,
        [&] {
            log.emplace_back("T");
            return ++tests == hitAtTest;
        },
        [&](int32_t stepMs) { log.push_back(std::to_string(stepMs)); });
    return log;
}

using Log = std::vector<std::string>;

TEST(PauseSteps, HundredTestsOnceThenSleepsTwoSteps)
{
    EXPECT_EQ(pauseLog(100, 0), (Log{"T", "50", "50"}));
    EXPECT_EQ(pauseLog(100, 1), (Log{"T"}));
}

TEST(PauseSteps, LongerPausesTestBeforeEveryFullStepAndSleepTheRestUntested)
{
    EXPECT_EQ(pauseLog(120, 0), (Log{"T", "50", "T", "50", "20"}));
    EXPECT_EQ(pauseLog(149, 0), (Log{"T", "50", "T", "50", "49"}));
    EXPECT_EQ(pauseLog(150, 0), (Log{"T", "50", "T", "50", "50"}));
    EXPECT_EQ(pauseLog(151, 0), (Log{"T", "50", "T", "50", "T", "50", "1"}));
    EXPECT_EQ(pauseLog(250, 0), (Log{"T", "50", "T", "50", "T", "50", "T", "50", "50"}));
}

TEST(PauseSteps, AKeyFoundAtALaterTestEndsThePauseThere)
{
    EXPECT_EQ(pauseLog(250, 3), (Log{"T", "50", "T", "50", "T"}));
    EXPECT_EQ(pauseLog(151, 3), (Log{"T", "50", "T", "50", "T"}));
}

TEST(PauseSteps, ShortPausesSleepWholeWithoutTesting)
{
    EXPECT_EQ(pauseLog(1, 1), (Log{"1"}));
    EXPECT_EQ(pauseLog(99, 1), (Log{"99"}));
}

TEST(PauseSteps, ZeroAndNegativePausesOtherThanMinusOneDoNothing)
{
    EXPECT_EQ(pauseLog(0, 1), Log{});
    EXPECT_EQ(pauseLog(-2, 1), Log{});
    EXPECT_EQ(pauseLog(INT32_MIN, 1), Log{});
}

TEST(PauseSteps, MinusOneTestsEveryStepUntilAKey)
{
    EXPECT_EQ(pauseLog(-1, 1), (Log{"T"}));
    EXPECT_EQ(pauseLog(-1, 4), (Log{"T", "50", "T", "50", "T", "50", "T"}));
}

} // namespace
