#include "capture/input_watch_internal.h"

#include <gtest/gtest.h>

namespace {

// The supervisor's judgement of a running stream, look by look (times in ms).
TEST(InputWatch, ALostStreamIsOneThatEndsOrStaysSilentForThreeSeconds)
{
    InputWatch watch = startWatch(100, 0);
    EXPECT_EQ(watchInput(watch, 100, true, 2999), InputVerdict::waiting);
    EXPECT_EQ(watchInput(watch, 100, true, 3000), InputVerdict::lost);

    watch = startWatch(100, 0);
    EXPECT_EQ(watchInput(watch, 101, true, 2900), InputVerdict::delivering);
    // Gaps between the bursts of a healthy input.
    EXPECT_EQ(watchInput(watch, 101, true, 5899), InputVerdict::delivering);
    EXPECT_EQ(watchInput(watch, 96101, true, 5900), InputVerdict::delivering);
    EXPECT_EQ(watchInput(watch, 96101, true, 8900), InputVerdict::lost);
    EXPECT_TRUE(watch.delivered);

    // The end of a stream counts at once, after samples or before any.
    watch = startWatch(0, 0);
    EXPECT_EQ(watchInput(watch, 0, false, 200), InputVerdict::lost);
    EXPECT_FALSE(watch.delivered);
    watch = startWatch(0, 0);
    EXPECT_EQ(watchInput(watch, 50, true, 200), InputVerdict::delivering);
    EXPECT_EQ(watchInput(watch, 50, false, 400), InputVerdict::lost);
}

// A call into the audio library that does not return within two seconds (a
// sound server that accepts connections but does not answer) shows as a
// missing input, whatever the supervisor recorded before it.
TEST(InputWatch, ACallUnansweredForTwoSecondsShowsAsAMissingInput)
{
    const int64_t since = 10000;
    const int64_t limit = audioAnswerLimit.count();
    EXPECT_EQ(heardState(InputState::opening, since, since + limit - 1), InputState::opening);
    EXPECT_EQ(heardState(InputState::opening, since, since + limit), InputState::absent);
    EXPECT_EQ(heardState(InputState::absent, since, since + limit), InputState::absent);
    EXPECT_EQ(heardState(InputState::delivering, since, since + limit), InputState::lost);
    EXPECT_EQ(heardState(InputState::lost, since, since + limit), InputState::lost);
    EXPECT_EQ(heardState(InputState::delivering, 0, since + limit), InputState::delivering) << "no call under way";
}

} // namespace
