// specmon end to end: the spectrum of a live sine on screen and in out.txt,
// and the offset under the mouse buttons, frame by frame.
#include <gtest/gtest.h>

#include <X11/keysym.h>
#include <cmath>

#include "tests/e2e/dump_file.h"
#include "tests/e2e/monitor_session.h"
#include "tests/e2e/spectrum_picture.h"
#include "tests/e2e/tones.h"

namespace {

using e2e::AudioInput;
using e2e::MonitorSession;

constexpr float startOffset = 100.0f;

// The level of bin 64 in a window that holds the 1500 Hz sine of amplitude
// 0.5 throughout, and how far the dump may be from it.
constexpr float fullToneDb = 48.83f;
constexpr float toneToleranceDb = 0.5f;

// Passes a complete frame (the legend drawn last, exactly) whose trace tops
// out in `column` within `rows` of plot row `row`.
e2e::FrameCheck showsPeakNear(int column, int64_t row, int64_t rows)
{
    return [=](const rig::RgbImage& image) {
        std::string seen = e2e::checkPalette(image);
        if (seen.empty()) {
            seen = e2e::compareText(image, e2e::spectrumLegendLines, true);
        }
        if (seen.empty() && std::abs(e2e::topTraceRow(image, column) - row) > rows) {
            seen = "column " + std::to_string(column) + " tops out at plot row " +
                   std::to_string(e2e::topTraceRow(image, column)) + ", not " + std::to_string(row);
        }
        return seen;
    };
}

std::vector<float> endAndReadLevels(MonitorSession& session)
{
    session.typeKey(XK_Escape);
    e2e::DumpValues values;
    EXPECT_TRUE(session.waitForCleanExit());
    EXPECT_TRUE(e2e::readDumpValues(session.readDump(), e2e::spectrumBins, values));
    return std::vector<float>(values.numbers.begin(), values.numbers.end());
}

TEST(SpecmonSineTest, PeakSitsInBin64AndTheTraceFollowsTheDumpedLevels)
{
    MonitorSession session(e2e::specmonProgram(), AudioInput::sine1500);
    // The sine is steady, so once the peak stands at the full tone's height
    // frame after frame, the frame drawn last, whose levels go to out.txt,
    // looks like this one. A frame whose window still holds some of the
    // silence before the tone, or that the capture holds back while the
    // source delivers in bursts, has a lower peak.
    const int64_t fullRow = e2e::levelRow(fullToneDb, startOffset);
    const auto toleranceRows = static_cast<int64_t>(toneToleranceDb * e2e::rowsPerDb);
    ASSERT_TRUE(session.waitForSteadyFrame("the legend over the full tone's peak in column 65",
                                           showsPeakNear(65, fullRow, toleranceRows)));
    const rig::RgbImage shown = session.frame();
    const std::vector<float> levels = endAndReadLevels(session);
    ASSERT_EQ(levels.size(), static_cast<size_t>(e2e::spectrumBins));
    EXPECT_NEAR(levels[64], fullToneDb, toneToleranceDb);
    EXPECT_NEAR(levels[63], 41.42, toneToleranceDb);
    EXPECT_NEAR(levels[65], 41.42, toneToleranceDb);
    for (int k = 0; k < e2e::spectrumBins; ++k) {
        if (std::abs(k - 64) > 3) {
            EXPECT_LT(levels[static_cast<size_t>(k)], 0.0f) << "bin " << k;
        }
    }
    EXPECT_EQ(e2e::topTraceRow(shown, 65), e2e::levelRow(levels[64], startOffset));
    EXPECT_EQ(e2e::checkSpectrumTrace(shown, levels, startOffset), "");
    // All went well: not a word on the terminal.
    if (!e2e::specmonProgram().underWine) {
        EXPECT_EQ(session.output(), "");
    }
}

// The offset, frame by frame. Two tones of amplitude 0.5 take turns through
// the pipe, each until a frame shows its peak alone: so every turn is at least
// one more frame, and the height of the peak in it tells the offset.

struct Tone {
    int bin;
    int period; // samples; 2048 / period is the bin
};

constexpr Tone tones[] = {{64, 32}, {128, 16}};

// A complete frame with trace pixels around the tone's peak and none around
// the other tone's, at any offset from -100 to 200.
e2e::FrameCheck showsToneAlone(const Tone& tone, const Tone& other)
{
    return [&tone, &other](const rig::RgbImage& image) {
        std::string seen = e2e::checkPalette(image);
        if (seen.empty()) {
            seen = e2e::compareText(image, e2e::spectrumLegendLines, true);
        }
        const auto traced = [&](const Tone& around) {
            for (int x = around.bin - 1; x <= around.bin + 3; ++x) {
                if (!e2e::traceRowsOf(image, x).empty()) {
                    return true;
                }
            }
            return false;
        };
        if (seen.empty() && (!traced(tone) || traced(other))) {
            seen = std::string("columns around bin ") + std::to_string(tone.bin) +
                   (traced(tone) ? " traced" : " empty") + ", around bin " + std::to_string(other.bin) +
                   (traced(other) ? " traced" : " empty");
        }
        return seen;
    };
}

// Plays the tones in turn for `turns` turns, starting with the first; tops
// gets the plot row of the peak's top in each turn's frame (-1 when above
// the window). The last tone keeps playing.
testing::AssertionResult takeTurns(MonitorSession& session, int turns, std::vector<int>& tops)
{
    tops.clear();
    for (int turn = 0; turn < turns; ++turn) {
        const Tone& tone = tones[turn % 2];
        session.pulse().playSignal([&tone](int64_t n) { return e2e::toneSample(tone.period, n); });
        const testing::AssertionResult shown = session.waitForFrame(
            "the peak of bin " + std::to_string(tone.bin) + " alone", showsToneAlone(tone, tones[(turn + 1) % 2]));
        if (!shown) {
            return testing::AssertionFailure() << "turn " << turn << ": " << shown.message();
        }
        tops.push_back(e2e::topTraceRow(session.frame(), tone.bin + 1));
    }
    return testing::AssertionSuccess();
}

std::string listed(const std::vector<int>& rows)
{
    std::string text;
    for (const int row : rows) {
        text.append(" ").append(std::to_string(row));
    }
    return text;
}

// Success when each turn's top lies a multiple of 10 rows further from start
// than the previous one: at least 10 once the trace has begun to move (every
// turn is at least one frame), none once it is at the end row. The last two
// turns must be at the end row, or above the window when that is; a top cut
// off by the top edge counts as above it.
testing::AssertionResult stepsTo(const std::vector<int>& tops, int start, int end)
{
    const int direction = end > start ? 1 : -1;
    const int topEdge = e2e::windowHeight - 1;
    const int last = end > topEdge ? -1 : end;
    int previous = start;
    for (const int top : tops) {
        if (last == -1 && (top == -1 || top == topEdge)) {
            continue;
        }
        const int step = (top - previous) * direction;
        if (step % 10 != 0 || step < 0 || (step == 0 && top != start && top != end) || (top - end) * direction > 0) {
            return testing::AssertionFailure() << "peak tops from " << start << ":" << listed(tops);
        }
        previous = top;
    }
    if (tops.size() < 2 || tops[tops.size() - 1] != last || tops[tops.size() - 2] != last) {
        return testing::AssertionFailure()
               << "peak tops from " << start << " do not end at " << last << ":" << listed(tops);
    }
    return testing::AssertionSuccess();
}

class SpecmonOffsetTest : public testing::Test {
protected:
    // Starts specmon on the first tone and returns the top of its peak.
    int start()
    {
        std::vector<int> tops;
        EXPECT_TRUE(takeTurns(session, 1, tops));
        return tops.empty() ? -1 : tops.front();
    }

    // Holds the buttons while the tones take their turns and until the last
    // tone has been drawn again, steady, then releases them; the peak tops of
    // the turns.
    std::vector<int> turnsWhileHolding(const std::vector<int>& buttons, int turns)
    {
        for (const int button : buttons) {
            session.pressButton(button);
        }
        std::vector<int> tops;
        EXPECT_TRUE(takeTurns(session, turns, tops));
        const Tone& last = tones[(turns - 1) % 2];
        EXPECT_TRUE(session.waitForSteadyFrame("the last tone, steady", showsToneAlone(last, tones[turns % 2])));
        for (const int button : buttons) {
            session.releaseButton(button);
        }
        return tops;
    }

    MonitorSession session{e2e::specmonProgram(), AudioInput::pipe};
};

TEST_F(SpecmonOffsetTest, LeftButtonHeldLowersTheTraceTenRowsAFrameDownToOffsetMinus100)
{
    if (e2e::specmonProgram().underWine) {
        GTEST_SKIP() << "the check of a tone shown alone cannot see a frame that still holds a little of the other "
                        "tone once its peak is below the window, which Wine's burstier capture gives in about one "
                        "run of three";
    }
    const int top = start();
    ASSERT_GT(top, 300);
    const std::vector<int> tops = turnsWhileHolding({1}, 22);
    ASSERT_FALSE(HasFailure());
    EXPECT_TRUE(stepsTo(tops, top, top - 200));
    const rig::RgbImage last = session.frame();
    EXPECT_EQ(e2e::checkSpectrumTrace(last, endAndReadLevels(session), -100.0f), "");
}

TEST_F(SpecmonOffsetTest, RightButtonHeldRaisesTheTraceTenRowsAFrameUpToOffset200)
{
    const int top = start();
    ASSERT_GT(top, 300);
    const std::vector<int> tops = turnsWhileHolding({3}, 12);
    ASSERT_FALSE(HasFailure());
    EXPECT_TRUE(stepsTo(tops, top, top + 100));
    const rig::RgbImage last = session.frame();
    EXPECT_EQ(e2e::checkSpectrumTrace(last, endAndReadLevels(session), 200.0f), "");
}

TEST_F(SpecmonOffsetTest, BothButtonsHeldLeaveTheTraceWhereItIs)
{
    const int top = start();
    ASSERT_GT(top, 300);
    const std::vector<int> tops = turnsWhileHolding({1, 3}, 6);
    ASSERT_FALSE(HasFailure());
    // A frame may read the buttons between the two presses and step once.
    EXPECT_LE(std::abs(tops.front() - top), 10) << "peak tops from " << top << ":" << listed(tops);
    for (const int later : tops) {
        EXPECT_EQ(later, tops.front()) << "peak tops from " << top << ":" << listed(tops);
    }
}

} // namespace
