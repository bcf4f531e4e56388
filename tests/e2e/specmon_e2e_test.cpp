// specmon end to end: the spectrum of a live sine on screen and in out.txt,
// and the offset under the mouse buttons, frame by frame.
#include <gtest/gtest.h>

#include <X11/keysym.h>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <numbers>
#include <sstream>

#include "rig/pulse_server.h"
#include "rig/temp_dir.h"
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
// The same on the screen at the start offset, in plot rows.
const int64_t fullToneRow = e2e::levelRow(fullToneDb, startOffset);
constexpr auto toneToleranceRows = static_cast<int64_t>(toneToleranceDb * e2e::rowsPerDb);

// Empty when the line in the colour tops out in `column` within `rows` of
// plot row `row`.
std::string topsOutNear(const rig::RgbImage& image, int column, int64_t row, int64_t rows,
                        uint8_t colour = e2e::traceColour)
{
    const int top = e2e::topTraceRow(image, column, colour);
    return std::abs(top - row) <= rows ? ""
                                       : "column " + std::to_string(column) + " tops out at plot row " +
                                             std::to_string(top) + ", not " + std::to_string(row);
}

// Passes a complete frame (the legend drawn last, exactly) whose trace tops
// out in `column` within `rows` of plot row `row`.
e2e::FrameCheck showsPeakNear(int column, int64_t row, int64_t rows)
{
    return [=](const rig::RgbImage& image) {
        std::string seen = e2e::checkPalette(image);
        if (seen.empty()) {
            seen = e2e::compareText(image, e2e::spectrumLegendLines, true);
        }
        return seen.empty() ? topsOutNear(image, column, row, rows) : seen;
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
    ASSERT_TRUE(session.waitForSteadyFrame("the legend over the full tone's peak in column 65",
                                           showsPeakNear(65, fullToneRow, toneToleranceRows)));
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

// Whether the columns around the tone's peak hold pixels of a line in the
// colour.
bool drawnAround(const rig::RgbImage& image, const Tone& tone, uint8_t colour = e2e::traceColour)
{
    for (int x = tone.bin - 1; x <= tone.bin + 3; ++x) {
        if (!e2e::traceRowsOf(image, x, colour).empty()) {
            return true;
        }
    }
    return false;
}

// Empty when the columns around the tone's peak hold trace pixels and those
// around the other tone's hold none.
std::string tracedAlone(const rig::RgbImage& image, const Tone& tone, const Tone& other)
{
    const bool traced = drawnAround(image, tone);
    const bool otherTraced = drawnAround(image, other);
    if (traced && !otherTraced) {
        return "";
    }
    return std::string("columns around bin ") + std::to_string(tone.bin) + (traced ? " traced" : " empty") +
           ", around bin " + std::to_string(other.bin) + (otherTraced ? " traced" : " empty");
}

// Passes a frame of silence that keeps the tone's full peak in a line of the
// colour (the peak hold, the reference).
e2e::FrameCheck keptOverSilence(const Tone& tone, uint8_t colour)
{
    return [&tone, colour](const rig::RgbImage& image) {
        return drawnAround(image, tone) ? "the tone still traced"
                                        : topsOutNear(image, tone.bin + 1, fullToneRow, toneToleranceRows, colour);
    };
}

e2e::FrameCheck showsToneAlone(const Tone& tone, const Tone& other)
{
    return [&tone, &other](const rig::RgbImage& image) {
        std::string seen = e2e::checkPalette(image);
        if (seen.empty()) {
            seen = e2e::compareText(image, e2e::spectrumLegendLines, true);
        }
        return seen.empty() ? tracedAlone(image, tone, other) : seen;
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

// The options of an instrument

namespace {

// With --grid and --readout: a line at every whole kHz and at every multiple
// of 10 dB at this offset, the 20 dB line labelled, no line through a label
// and no label in the top rows, and a readout that begins as given.
e2e::FrameCheck showsSpectrumGrid(float offset, const std::string& readoutBegins)
{
    return [=](const rig::RgbImage& image) -> std::string {
        for (int k = 1; k <= 23; ++k) {
            const int column = 1 + static_cast<int>(std::lround(k * 1000.0 / 23.4375));
            if (!e2e::hasColour(image, column, 100, e2e::gridColour)) {
                return "no kHz line in column " + std::to_string(column);
            }
        }
        for (int level = -40; level <= 100; level += 10) {
            const int64_t row = e2e::levelRow(static_cast<float>(level), offset);
            if (row >= 0 && row < e2e::windowHeight &&
                !e2e::hasColour(image, 600, e2e::windowRow(row), e2e::gridColour)) {
                return "no line for " + std::to_string(level) + " dB at plot row " + std::to_string(row);
            }
        }
        if (const std::string top = e2e::checkLabelsKeepOutOfTheTop(image); !top.empty()) {
            return top;
        }
        // In the kHz labels' rows (window rows 10 to 17) an unlabelled line
        // stops at the next label's backing, which takes in the column left of
        // its text.
        for (int k = 1; k < 23; k += 2) {
            const int column = 1 + static_cast<int>(std::lround(k * 1000.0 / 23.4375));
            for (int row = 10; row < 18; ++row) {
                if (!e2e::hasColour(image, column, row, e2e::backgroundColour)) {
                    return "the " + std::to_string(k) + " kHz line shows in window row " + std::to_string(row);
                }
            }
        }
        const int labelTop = e2e::windowRow(e2e::levelRow(20.0f, offset)) - 9;
        const std::string label = e2e::readText(image, e2e::windowWidth - 2 - 8 * 5, labelTop, 5, e2e::gridLabelColour);
        if (label != "20 dB") {
            return "the 20 dB line is labelled '" + label + "'";
        }
        const std::string readout = e2e::readText(image, 0, e2e::readoutRow, 64, e2e::textColour);
        return readout.starts_with(readoutBegins) ? "" : "the readout reads '" + readout + "'";
    };
}

struct Readout {
    double binHz = -1.0;
    double binDb = 0.0;
    double peakHz = -1.0;
    double peakDb = 0.0;
};

// The readout of a frame, read off the screen.
Readout readoutOf(const rig::RgbImage& image)
{
    const std::string text = e2e::readText(image, 0, e2e::readoutRow, 64, e2e::textColour);
    Readout read;
    if (std::sscanf(text.c_str(), "%lf Hz  %lf dB  peak %lf Hz  %lf dB", &read.binHz, &read.binDb, &read.peakHz,
                    &read.peakDb) != 4) {
        std::sscanf(text.c_str(), "peak %lf Hz  %lf dB", &read.peakHz, &read.peakDb);
    }
    return read;
}

// A sine of amplitude 0.5 halfway between bins 64 and 65: 129 periods in
// 4096 samples.
int16_t betweenBinsSample(int64_t n)
{
    const double turns = static_cast<double>(n % 4096) * 129.0 / 4096.0;
    return static_cast<int16_t>(std::lround(16384.0 * std::sin(2.0 * std::numbers::pi * turns)));
}

TEST(SpecmonInstrumentTest, TheGridFollowsTheOffsetAndTheReadoutTellsTheBinAndThePeak)
{
    MonitorSession session(e2e::specmonProgram(), AudioInput::pipe, {"--grid", "--readout"});
    session.pulse().playSignal([](int64_t n) { return e2e::toneSample(32, n); });
    session.movePointer(65, 200);
    ASSERT_TRUE(session.waitForSteadyFrame(
        "the grid at the start offset over the full tone's peak in bin 64", [](const rig::RgbImage& image) {
            const std::string seen = showsSpectrumGrid(startOffset, "1500.0 Hz  ")(image);
            return seen.empty() ? topsOutNear(image, 65, fullToneRow, toneToleranceRows) : seen;
        }));
    Readout read = readoutOf(session.frame());
    EXPECT_NEAR(read.binDb, fullToneDb, toneToleranceDb);
    EXPECT_DOUBLE_EQ(read.peakHz, 1500.0);
    EXPECT_DOUBLE_EQ(read.peakDb, read.binDb);

    session.pressButton(3);
    ASSERT_TRUE(session.waitForFrame("the grid at offset 200", showsSpectrumGrid(200.0f, "1500.0 Hz  ")));
    session.releaseButton(3);
    // Between two bins the pointer's bin reads lower than the refined peak.
    session.pulse().playSignal(betweenBinsSample);
    ASSERT_TRUE(session.waitForFrame("the tone between bins 64 and 65", [](const rig::RgbImage& image) {
        const Readout between = readoutOf(image);
        return std::abs(between.peakHz - 64.5 * 23.4375) < 3.0 ? "" : "a peak at " + std::to_string(between.peakHz);
    }));
    read = readoutOf(session.frame());
    EXPECT_DOUBLE_EQ(read.binHz, 1500.0);
    EXPECT_GT(read.peakDb, read.binDb);
    // Column 0 shows no bin: only the peak is read out.
    session.movePointer(0, 200);
    EXPECT_TRUE(session.waitForFrame("the peak alone", showsSpectrumGrid(200.0f, "peak 151")));
    session.typeKey(XK_Escape);
    ASSERT_TRUE(session.waitForCleanExit());
}

} // namespace

namespace {

// Frozen, specmon keeps showing, and dumps, the levels it froze while the
// input has moved on to another tone; with --average those are averaged.
TEST(SpecmonInstrumentTest, AFrozenSpectrumStaysAndIsDumpedWhileTheInputMovesOn)
{
    MonitorSession session(e2e::specmonProgram(), AudioInput::pipe, {"--average", "2"});
    session.pulse().playSignal([](int64_t n) { return e2e::toneSample(tones[0].period, n); });
    ASSERT_TRUE(session.waitForSteadyFrame("the first tone alone", showsToneAlone(tones[0], tones[1])));
    session.typeKey(XK_space);
    ASSERT_TRUE(session.waitForFrame("the frozen mark", [](const rig::RgbImage& image) {
        return e2e::readText(image, e2e::windowWidth - 48, e2e::readoutRow, 6, e2e::textColour) == "frozen"
                   ? ""
                   : "no frozen mark";
    }));
    session.pulse().playSignal([](int64_t n) { return e2e::toneSample(tones[1].period, n); });
    // Well after the second tone has filled a window, the first still shows.
    const int64_t switched = session.pulse().samplesFed();
    ASSERT_TRUE(rig::waitUntil([&] { return session.pulse().samplesFed() > switched + 3 * 2048 + 4800; }));
    EXPECT_EQ(tracedAlone(session.capture(), tones[0], tones[1]), "");
    const std::vector<float> levels = endAndReadLevels(session);
    ASSERT_EQ(levels.size(), static_cast<size_t>(e2e::spectrumBins));
    EXPECT_EQ(std::max_element(levels.begin(), levels.end()) - levels.begin(), tones[0].bin);
}

// r starts the peak hold afresh: the first tone's peak, held while the second
// tone plays, leaves the peak hold's line, where the second's stays once the
// input falls silent.
TEST(SpecmonInstrumentTest, RStartsThePeakHoldAfresh)
{
    MonitorSession session(e2e::specmonProgram(), AudioInput::pipe, {"--peak-hold"});
    session.pulse().playSignal([](int64_t n) { return e2e::toneSample(tones[0].period, n); });
    // Steady: frames that hold the whole input, which alone the peak hold
    // takes in.
    ASSERT_TRUE(session.waitForSteadyFrame(
        "the first tone alone", [](const rig::RgbImage& image) { return tracedAlone(image, tones[0], tones[1]); }));
    session.pulse().playSignal([](int64_t n) { return e2e::toneSample(tones[1].period, n); });
    ASSERT_TRUE(
        session.waitForSteadyFrame("the second tone alone, the first one's peak held", [](const rig::RgbImage& image) {
            const std::string seen = tracedAlone(image, tones[1], tones[0]);
            return seen.empty() && !drawnAround(image, tones[0], e2e::peakHoldColour)
                       ? "no peak held around bin " + std::to_string(tones[0].bin)
                       : seen;
        }));
    session.typeKey(XK_r);
    ASSERT_TRUE(session.waitForFrame("the first tone's peak gone from the peak hold", [](const rig::RgbImage& image) {
        return drawnAround(image, tones[0], e2e::peakHoldColour)
                   ? "a peak still held around bin " + std::to_string(tones[0].bin)
                   : "";
    }));
    // Silence uncovers the second tone's peak, which the trace hid.
    session.pulse().playSilence();
    ASSERT_TRUE(session.waitForFrame("the second tone's peak held over silence",
                                     keptOverSilence(tones[1], e2e::peakHoldColour)));
    session.typeKey(XK_Escape);
    EXPECT_TRUE(session.waitForCleanExit());
}

// The frames before the capture holds a whole window of the input hold some
// of the silence before it: they enter neither the average nor the peak
// hold (which share that rule; a window shows the peak hold's fault only when
// a frame happens to fall in the 43 ms of a half-filled window). The first
// averaged levels of a steady tone are the tone's own.
TEST(SpecmonInstrumentTest, TheAverageTakesInOnlyFramesOfTheInput)
{
    const e2e::MonitorProgram& program = e2e::specmonProgram();
    if (program.underWine) {
        GTEST_SKIP() << "Wine's capture starts with silence of its own, which the program cannot tell from the input";
    }
    const rig::TempDir dir;
    rig::PulseServer pulse{rig::PipeSource{}};
    pulse.playSignal(e2e::sineSourceSample);
    const e2e::Ended run = e2e::runToEnd(program, {"--no-window", "--print", "--average", "10", "--frames", "1"},
                                         dir.path(), pulse.environment());
    ASSERT_EQ(run.code, 0) << run.err;
    std::istringstream line(run.out);
    const std::vector<double> levels{std::istream_iterator<double>(line), std::istream_iterator<double>()};
    ASSERT_EQ(levels.size(), static_cast<size_t>(e2e::spectrumBins)) << run.out.substr(0, 100);
    EXPECT_NEAR(levels[64], fullToneDb, toneToleranceDb);
    EXPECT_LT(levels[300], -100.0);
}

// The logarithmic axis (--log): column x shows 23.4375 x 1023^((x - 1) /
// 1023) Hz.
int logColumn(double hz)
{
    return 1 + static_cast<int>(std::lround(1023.0 * std::log(hz / 23.4375) / std::log(1023.0)));
}

std::string logColumnText(int column)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.1f Hz", 23.4375 * std::pow(1023.0, (column - 1) / 1023.0));
    return text;
}

// A frame that shows a steady tone: on Linux one that stands still; under
// Wine, whose capture comes in bursts, the readout's level at the pointer
// changes from frame to frame, so any frame that shows it.
testing::AssertionResult waitForTone(MonitorSession& session, const std::string& expectation,
                                     const e2e::FrameCheck& check)
{
    return e2e::specmonProgram().underWine ? session.waitForFrame(expectation, check)
                                           : session.waitForSteadyFrame(expectation, check);
}

// On the logarithmic axis a tone tops out in the column of its frequency, on
// a bin (1500 Hz) as between the columns' bins below 3.5 kHz (375 Hz), and
// nowhere a hundred columns (an octave) away; the grid's lines sit at their
// frequencies, and the readout tells the column's frequency and level.
TEST(SpecmonCompareTest, OnTheLogarithmicAxisATonesColumnFollowsItsFrequency)
{
    MonitorSession session(e2e::specmonProgram(), AudioInput::pipe, {"--log", "--grid", "--readout"});
    const int column1500 = logColumn(1500.0);
    session.movePointer(column1500, 150);
    for (const int period : {32, 128}) {
        const int column = logColumn(48000.0 / period);
        session.pulse().playSignal([period](int64_t n) { return e2e::toneSample(period, n); });
        ASSERT_TRUE(waitForTone(session, "the tone's peak in column " + std::to_string(column),
                                [column](const rig::RgbImage& image) {
                                    const std::string peak = topsOutNear(image, column, fullToneRow, toneToleranceRows);
                                    return !peak.empty() ? peak
                                           : e2e::topTraceRow(image, column - 100) >= fullToneRow - 50 ||
                                                   e2e::topTraceRow(image, column + 100) >= fullToneRow - 50
                                               ? "a peak an octave away"
                                               : "";
                                }));
        // The pointer's column shows 1501.2 Hz, and its span holds bin 64.
        if (period == 32 && !e2e::specmonProgram().underWine) {
            EXPECT_EQ(e2e::readText(session.frame(), 0, e2e::readoutRow, 60, e2e::textColour),
                      logColumnText(column1500) + "  48.83 dB  peak 1500.0 Hz  48.83 dB");
        }
    }
    const rig::RgbImage& image = session.frame();
    EXPECT_EQ(e2e::readText(image, logColumn(1000.0) - 2 - 40, 10, 5, e2e::gridLabelColour), "1 kHz");
    EXPECT_FALSE(e2e::traceRowsOf(image, logColumn(30.0), e2e::gridColour).empty()) << "the 30 Hz line";
    session.typeKey(XK_Escape);
    EXPECT_TRUE(session.waitForCleanExit());
}

// The reference (--reference): from a dump file at the start, then from m,
// in light cyan under the live trace, its level in the readout.
TEST(SpecmonCompareTest, TheReferenceComesFromAFileAndFromM)
{
    const rig::TempDir dir;
    const std::string file = dir.path() + "/before.txt";
    std::ofstream(file, std::ios::binary) << e2e::uniformDump(e2e::spectrumBins, " 20");
    MonitorSession session(e2e::specmonProgram(), AudioInput::pipe, {"--reference=" + file, "--readout"});
    session.movePointer(300, 150);
    const int row20 = e2e::windowRow(e2e::levelRow(20.0f, startOffset));
    ASSERT_TRUE(session.waitForFrame("the reference at 20 dB", [&](const rig::RgbImage& image) {
        const std::vector<int> rows = e2e::traceRowsOf(image, 300, e2e::referenceColour);
        const std::string readout = e2e::readText(image, 0, e2e::readoutRow, 80, e2e::textColour);
        return std::find(rows.begin(), rows.end(), row20) == rows.end() ? "no reference at 20 dB"
               : readout != "7007.8 Hz  -190.00 dB  ref 20.00 dB  peak 0.0 Hz  -190.00 dB"
                   ? "the readout reads '" + readout + "'"
                   : "";
    }));
    session.pulse().playSignal([](int64_t n) { return e2e::toneSample(tones[0].period, n); });
    ASSERT_TRUE(waitForTone(session, "the tone", [](const rig::RgbImage& image) {
        return topsOutNear(image, tones[0].bin + 1, fullToneRow, toneToleranceRows);
    }));
    session.movePointer(tones[0].bin + 1, 150);
    session.typeKey(XK_m);
    // The readout tells once the frame that m stored has come; under Wine
    // the levels of a frame are near the tone's, not exactly its.
    const std::string stored = e2e::specmonProgram().underWine ? "1500.0 Hz  4" : "1500.0 Hz  48.83 dB  ref 48.83 dB";
    ASSERT_TRUE(session.waitForFrame("the tone stored", [&](const rig::RgbImage& image) {
        const std::string readout = e2e::readText(image, 0, e2e::readoutRow, 80, e2e::textColour);
        const size_t ref = readout.find("  ref 4");
        return readout.starts_with(stored) && ref != std::string::npos ? "" : "the readout reads '" + readout + "'";
    }));
    session.pulse().playSilence();
    ASSERT_TRUE(session.waitForFrame("the tone kept as the reference over silence",
                                     keptOverSilence(tones[0], e2e::referenceColour)));
    session.typeKey(XK_Escape);
    EXPECT_TRUE(session.waitForCleanExit());
}

} // namespace
