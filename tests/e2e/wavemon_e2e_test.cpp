// wavemon end to end: the trace of a live sine and its scale under the mouse
// buttons, exact samples fed through the audio server on screen and in
// out.txt.
#include <gtest/gtest.h>

#include <X11/keysym.h>
#include <algorithm>
#include <cmath>
#include <fstream>
#include <set>

#include "rig/temp_dir.h"
#include "tests/e2e/dump_file.h"
#include "tests/e2e/monitor_session.h"
#include "tests/e2e/tones.h"
#include "tests/e2e/wave_picture.h"

namespace {

using e2e::AudioInput;
using e2e::MonitorSession;

// A signal given by its samples from some start on; frames show stretches
// of it.
using SampleAt = std::function<int16_t(int64_t)>;

// The plot rows of the 1024 points of a frame whose oldest sample is
// signal(start), at a scale.
std::vector<int64_t> rowsOf(const SampleAt& signal, int64_t start, float scale)
{
    std::vector<int64_t> rows(e2e::wavePoints);
    for (int64_t x = 0; x < e2e::wavePoints; ++x) {
        rows[static_cast<size_t>(x)] = e2e::waveRow(static_cast<float>(signal(start + x)) / 32768.0f, scale);
    }
    return rows;
}

// The first start in 0..starts-1 whose stretch of the signal, at this scale,
// puts its points on the rows that a capture shows (-1 for none); shown holds
// the plot row of each column, -1 where the column shows no point.
int64_t shownStretch(const std::vector<int64_t>& shown, const SampleAt& signal, int64_t starts, float scale)
{
    for (int64_t start = 0; start < starts; ++start) {
        bool matches = true;
        for (int x = 0; x < e2e::wavePoints && matches; ++x) {
            const int64_t row = e2e::waveRow(static_cast<float>(signal(start + x)) / 32768.0f, scale);
            const bool visible =
                row >= 0 && row < e2e::windowHeight && !e2e::onGlyph(e2e::waveHelpLines, x, e2e::windowRow(row));
            matches = shown[static_cast<size_t>(x)] == (visible ? row : -1);
        }
        if (matches) {
            return start;
        }
    }
    return -1;
}

// Passes a complete frame of any stretch signal(start), start in 0..starts-1,
// at this scale: pixel for pixel the points and the help lines over them.
e2e::FrameCheck showsStretchOf(SampleAt signal, int64_t starts, float scale)
{
    return [signal = std::move(signal), starts, scale](const rig::RgbImage& image) {
        const std::vector<int64_t> shown = e2e::shownWaveRows(image);
        const int64_t start = shownStretch(shown, signal, starts, scale);
        if (start >= 0) {
            return e2e::comparePicture(image, e2e::wavePicture(rowsOf(signal, start, scale)));
        }
        std::string seen = e2e::checkWaveWithin(image, e2e::windowHeight);
        if (seen.empty()) {
            seen = "a complete frame of another signal or scale; spread " + std::to_string(e2e::waveSpread(image)) +
                   " rows, plot rows of columns 0..7:";
            for (int x = 0; x < 8; ++x) {
                seen.append(" ").append(std::to_string(shown[static_cast<size_t>(x)]));
            }
        }
        return seen;
    };
}

e2e::FrameCheck showsSine(float scale)
{
    return showsStretchOf(e2e::sineSourceSample, e2e::sineSourcePeriod, scale);
}

e2e::DumpValues endAndReadDump(MonitorSession& session)
{
    session.typeKey(XK_Escape);
    e2e::DumpValues values;
    EXPECT_TRUE(session.waitForCleanExit());
    EXPECT_TRUE(e2e::readDumpValues(session.readDump(), 2048, values));
    return values;
}

// A live sine

TEST(WavemonSineTest, EachColumnShowsOnePointOfTheSineAndTheDumpHoldsWholePeriods)
{
    MonitorSession session(e2e::wavemonProgram(), AudioInput::sine1500);
    ASSERT_TRUE(session.waitForFrame("one point per column within 100 rows of row 200",
                                     [](const rig::RgbImage& image) { return e2e::checkWaveWithin(image, 100); }));
    ASSERT_TRUE(session.waitForFrame("the sine at scale 1", showsSine(1.0f)));
    const e2e::DumpValues dump = endAndReadDump(session);
    ASSERT_EQ(dump.numbers.size(), 2048u);
    const std::vector<double>& x = dump.numbers;
    EXPECT_NEAR(*std::max_element(x.begin(), x.end()), 0.5, 0.002);
    EXPECT_NEAR(*std::min_element(x.begin(), x.end()), -0.5, 0.002);
    constexpr size_t period = e2e::sineSourcePeriod;
    int broken = 0;
    for (size_t i = 0; i + period < x.size(); ++i) {
        if (std::abs(x[i + period] - x[i]) > 1e-6 || std::abs(x[i + period / 2] + x[i]) > 1e-6) {
            if (broken++ < 3) {
                ADD_FAILURE() << "not a sine of period 32 at line " << i << ": " << x[i] << ", 16 later "
                              << x[i + period / 2] << ", 32 later " << x[i + period];
            }
        }
    }
    EXPECT_EQ(broken, 0);
    // All went well: not a word on the terminal.
    if (!e2e::wavemonProgram().underWine) {
        EXPECT_EQ(session.output(), "");
    }
}

TEST(WavemonSineTest, LeftButtonHeldShrinksTheTraceToTenRowsAtTheFloorScale)
{
    MonitorSession session(e2e::wavemonProgram(), AudioInput::sine1500);
    ASSERT_TRUE(session.waitForFrame("the sine at scale 1", showsSine(1.0f)));
    session.pressButton(1);
    ASSERT_TRUE(session.waitForFrame("the sine at scale 0.1", showsSine(0.1f)));
    session.releaseButton(1);
}

TEST(WavemonSineTest, RightButtonHeldEnlargesTheTraceUntilMostPointsLeaveTheWindow)
{
    MonitorSession session(e2e::wavemonProgram(), AudioInput::sine1500);
    ASSERT_TRUE(session.waitForFrame("the sine at scale 1", showsSine(1.0f)));
    session.pressButton(3);
    ASSERT_TRUE(session.waitForFrame("the sine at scale 10", showsSine(10.0f)));
    session.releaseButton(3);
}

// Known samples through the pipe

// 2048 distinct samples, the extremes and the smallest steps among them;
// played over and over, any 2048 consecutive samples are a rotation of it.
std::vector<int16_t> distinctPattern()
{
    std::vector<int16_t> pattern = {-32768, 32767, 16384, 2048, -2048, 1, 2, 3, 4, -1};
    for (int16_t k = static_cast<int16_t>(pattern.size()); pattern.size() < 2048; ++k) {
        pattern.push_back(static_cast<int16_t>(29 * k - 30000));
    }
    return pattern;
}

TEST(WavemonPipeTest, ScreenAndDumpHoldTheFedSamplesInOrder)
{
    const std::vector<int16_t> pattern = distinctPattern();
    ASSERT_EQ(std::set<int16_t>(pattern.begin(), pattern.end()).size(), pattern.size());
    const SampleAt repeated = [&](int64_t n) { return pattern[static_cast<size_t>(n % 2048)]; };
    MonitorSession session(e2e::wavemonProgram(), AudioInput::pipe);
    session.pulse().playSignal(repeated);
    ASSERT_TRUE(session.waitForFrame("1024 consecutive fed samples at scale 1", showsStretchOf(repeated, 2048, 1.0f)));

    const e2e::DumpValues dump = endAndReadDump(session);
    ASSERT_EQ(dump.numbers.size(), 2048u);
    const auto first = std::find(pattern.begin(), pattern.end(), std::lround(dump.numbers[0] * 32768.0));
    ASSERT_NE(first, pattern.end()) << "line 0 holds " << dump.texts[0] << ", which was never fed";
    const size_t start = static_cast<size_t>(first - pattern.begin());
    for (size_t i = 0; i < 2048; ++i) {
        const int16_t fed = pattern[(start + i) % 2048];
        const double exact = fed / 32768.0;
        ASSERT_NEAR(dump.numbers[i], exact, 5e-7 * std::abs(exact))
            << "line " << i << " reads \"" << dump.texts[i] << "\", but " << fed << " was fed there";
    }
    const std::pair<int16_t, const char*> texts[] = {
        {-32768, "-1"},        {32767, " 0.9999695"}, {16384, " 0.5"},      {2048, " 0.0625"},     {-2048, "-0.0625"},
        {1, " 3.051758e-005"}, {3, " 9.155273e-005"}, {4, " 0.0001220703"}, {-1, "-3.051758e-005"}};
    for (const auto& [sample, text] : texts) {
        const size_t at =
            (static_cast<size_t>(std::find(pattern.begin(), pattern.end(), sample) - pattern.begin()) + 2048 - start) %
            2048;
        EXPECT_EQ(dump.texts[at], text) << "the sample " << sample << " on line " << at;
    }
}

TEST(WavemonPipeTest, SteadyValuesLandOnTheirRowsWithHalvesToEven)
{
    struct Steady {
        int16_t sample;
        int64_t plotRow;
    };
    const Steady steadies[] = {{-32768, 0}, {32767, 400}, {-2048, 188}, {16384, 300}, {2048, 212}};
    MonitorSession session(e2e::wavemonProgram(), AudioInput::pipe);
    for (const Steady& steady : steadies) {
        session.pulse().playSignal([sample = steady.sample](int64_t) { return sample; });
        ASSERT_TRUE(session.waitForFrame("a flat line on plot row " + std::to_string(steady.plotRow) + " for " +
                                             std::to_string(steady.sample),
                                         [&](const rig::RgbImage& image) {
                                             return e2e::comparePicture(image, e2e::flatWavePicture(steady.plotRow));
                                         }));
    }
    session.typeKey(XK_Escape);
    ASSERT_TRUE(session.waitForCleanExit());
    EXPECT_TRUE(e2e::sameDump(session.readDump(), e2e::uniformDump(2048, " 0.0625")));
}

// Samples that look random, repeating only after 2^20 (about 22 seconds): any
// 1024 of them in a row put their points on rows that no other stretch does.
constexpr int64_t scatterPeriod = int64_t{1} << 20;

int16_t scatterSample(int64_t n)
{
    const uint32_t hashed = static_cast<uint32_t>(n % scatterPeriod) * 2654435761u;
    return static_cast<int16_t>(static_cast<int32_t>(hashed >> 16) - 32768);
}

TEST(WavemonPipeTest, FramesShowTheOlderHalfOfTheSamplesThatTheDumpHolds)
{
    if (e2e::wavemonProgram().underWine) {
        GTEST_SKIP() << "Wine opens a named pipe for reading and writing, so the exit never waits for the test to "
                        "read out.txt, and what it writes is lost";
    }
    MonitorSession session(e2e::wavemonProgram(), AudioInput::pipe);
    session.makeDumpPipe();
    session.pulse().playSignal(scatterSample);
    const e2e::FrameCheck showsScatter = showsStretchOf(scatterSample, scatterPeriod, 1.0f);
    ASSERT_TRUE(session.waitForFrame("a stretch of the fed samples", showsScatter));
    session.typeKey(XK_Escape);
    // Once the exit writes out.txt the frames have ended: the window keeps
    // the last one while the exit waits for the test to read on.
    ASSERT_TRUE(session.waitForExitInDumpPipe());
    ASSERT_TRUE(session.waitForFrame("the last frame, held by the exit", showsScatter));
    const int64_t frameStart = shownStretch(e2e::shownWaveRows(session.frame()), scatterSample, scatterPeriod, 1.0f);
    std::string dumpText;
    ASSERT_TRUE(session.readDumpPipe(dumpText));
    ASSERT_TRUE(session.waitForCleanExit());
    e2e::DumpValues dump;
    ASSERT_TRUE(e2e::readDumpValues(dumpText, 2048, dump));
    int64_t dumpStart = -1;
    for (int64_t start = 0; start < scatterPeriod && dumpStart < 0; ++start) {
        bool matches = true;
        for (size_t i = 0; i < dump.numbers.size() && matches; ++i) {
            matches = scatterSample(start + static_cast<int64_t>(i)) == std::lround(dump.numbers[i] * 32768.0);
        }
        dumpStart = matches ? start : -1;
    }
    ASSERT_GE(dumpStart, 0) << "out.txt does not hold 2048 fed samples in a row";
    // The exit dumps the samples of its moment, a few milliseconds after the
    // last frame copied them: the frame starts with the oldest dumped sample
    // or a little before it. The newer half would start about 1024 after it.
    const int64_t olderBy = (dumpStart - frameStart + scatterPeriod) % scatterPeriod;
    EXPECT_LT(olderBy, scatterPeriod / 2)
        << "the last frame starts at sample " << frameStart << ", the dump at " << dumpStart;
}

} // namespace

// The options of an instrument

namespace {

// A steady 0.25 with --grid --readout: the grid of this amplitude step at
// this scale (a line every 96 columns, a line at every multiple of the step,
// the first labelled, no label in the top rows) under the flat trace, and the
// readout of the pointer's column; empty readout for none.
e2e::FrameCheck showsWaveGrid(float scale, double step, const std::string& stepLabel, const std::string& readout)
{
    return [=](const rig::RgbImage& image) -> std::string {
        const int traceRow = e2e::windowRow(e2e::waveRow(0.25f, scale));
        if (!e2e::hasColour(image, 10, traceRow, e2e::traceColour)) {
            return "no flat trace at window row " + std::to_string(traceRow);
        }
        for (int column = 96; column <= 960; column += 96) {
            if (!e2e::hasColour(image, column, 130, e2e::gridColour)) {
                return "no time line in column " + std::to_string(column);
            }
        }
        for (int k = -5; k <= 5; ++k) {
            const int row = e2e::windowRow(e2e::waveRow(static_cast<float>(k * step), scale));
            if (row >= 0 && row < e2e::windowHeight && !e2e::hasColour(image, 500, row, e2e::gridColour)) {
                return "no amplitude line in window row " + std::to_string(row);
            }
        }
        const int firstLine = e2e::windowRow(e2e::waveRow(static_cast<float>(step), scale));
        const int labelLength = static_cast<int>(stepLabel.size());
        const std::string label = e2e::readText(image, e2e::windowWidth - 2 - 8 * labelLength, firstLine - 9,
                                                labelLength, e2e::gridLabelColour);
        if (label != stepLabel) {
            return "the first amplitude line is labelled '" + label + "'";
        }
        if (e2e::readText(image, 62, 10, 4, e2e::gridLabelColour) != "2 ms") {
            return "the first time line is not labelled '2 ms'";
        }
        if (const std::string top = e2e::checkLabelsKeepOutOfTheTop(image); !top.empty()) {
            return top;
        }
        const std::string shown = e2e::readText(image, 0, e2e::readoutRow, 40, e2e::textColour);
        return shown == readout ? "" : "the readout reads '" + shown + "'";
    };
}

TEST(WavemonInstrumentTest, TheGridFollowsTheScaleAndTheReadoutReadsThePointersColumn)
{
    MonitorSession session(e2e::wavemonProgram(), AudioInput::pipe, {"--grid", "--readout"});
    session.pulse().playSignal([](int64_t) { return int16_t{8192}; });
    session.movePointer(300, 150);
    ASSERT_TRUE(session.waitForFrame("the grid at scale 1 and the readout of column 300",
                                     showsWaveGrid(1.0f, 0.2, "+0.2", "6.25 ms  +0.2500")));
    session.pressButton(1);
    ASSERT_TRUE(session.waitForFrame("the grid at scale 0.1", showsWaveGrid(0.1f, 2.0, "+2", "6.25 ms  +0.2500")));
    session.releaseButton(1);
    session.movePointer(1023, 150);
    ASSERT_TRUE(
        session.waitForFrame("the readout of the last column", showsWaveGrid(0.1f, 2.0, "+2", "21.31 ms  +0.2500")));
    // The window's last column shows no sample: nothing to read out there.
    session.movePointer(1024, 150);
    ASSERT_TRUE(session.waitForFrame("no readout", showsWaveGrid(0.1f, 2.0, "+2", "")));
    session.typeKey(XK_Escape);
    ASSERT_TRUE(session.waitForCleanExit());
    EXPECT_TRUE(e2e::sameDump(session.readDump(), e2e::uniformDump(2048, " 0.25")));
}

} // namespace

namespace {

// A 1 kHz sine of amplitude 0.5: 48 samples a period, so a frame of 2048
// samples starts at another phase each time unless a trigger holds it.
int16_t kilohertzSample(int64_t n)
{
    return static_cast<int16_t>(
        std::lround(16384.0 * std::sin(2.0 * 3.141592653589793 * static_cast<double>(n % 48) / 48.0)));
}

TEST(WavemonInstrumentTest, ATriggeredTraceStandsStillWhereAnUntriggeredOneMoves)
{
    const e2e::FrameCheck complete = [](const rig::RgbImage& image) { return e2e::checkWaveWithin(image, 100); };
    {
        MonitorSession session(e2e::wavemonProgram(), AudioInput::pipe);
        session.pulse().playSignal(kilohertzSample);
        ASSERT_TRUE(session.waitForFrame("the sine", complete));
        const rig::RgbImage first = session.frame();
        EXPECT_TRUE(session.waitForFrame("another phase of the sine", [&](const rig::RgbImage& image) {
            const std::string seen = complete(image);
            return !seen.empty() ? seen : image.rgb == first.rgb ? "the same frame" : "";
        }));
    }
    MonitorSession session(e2e::wavemonProgram(), AudioInput::pipe, {"--trigger"});
    session.pulse().playSignal(kilohertzSample);
    // Frames come ten a second: a second unchanged is ten frames alike.
    ASSERT_TRUE(session.waitForSteadyFrame("the sine, standing still", complete, std::chrono::seconds(1)));
    const std::vector<int64_t> rows = e2e::shownWaveRows(session.frame());
    EXPECT_EQ(rows[512], 200) << "the rising zero crossing sits in the middle column";
    EXPECT_GT(rows[513], 200);
    EXPECT_LT(rows[511], 200);
}

// Space freezes the picture and out.txt then holds the frozen samples: the
// frame's columns are the dump's first 1024 values, whatever came since.
TEST(WavemonInstrumentTest, SpaceFreezesThePictureAndTheDumpHoldsWhatItShows)
{
    MonitorSession session(e2e::wavemonProgram(), AudioInput::pipe, {"--grid"});
    session.pulse().playSignal(scatterSample);
    const auto frameOfScatter = [](const rig::RgbImage& image) {
        return e2e::waveSpread(image) > 100 ? "" : "no frame of the fed samples yet";
    };
    ASSERT_TRUE(session.waitForFrame("the fed samples", frameOfScatter));
    for (int press = 0; press < 3; ++press) {
        session.typeKey(XK_space);
        const bool frozen = press % 2 == 0;
        const auto marked = [&](const rig::RgbImage& image) -> std::string {
            const bool mark =
                e2e::readText(image, e2e::windowWidth - 48, e2e::readoutRow, 6, e2e::textColour) == "frozen";
            return mark == frozen ? frameOfScatter(image) : "the frozen mark is not as it should be";
        };
        if (frozen) {
            ASSERT_TRUE(session.waitForSteadyFrame("a frozen frame", marked, std::chrono::seconds(1))) << press;
        } else {
            ASSERT_TRUE(session.waitForFrame("a live frame", marked)) << press;
            const rig::RgbImage live = session.frame();
            ASSERT_TRUE(session.waitForFrame("a newer live frame", [&](const rig::RgbImage& image) {
                return image.rgb != live.rgb ? marked(image) : "the same frame";
            }));
        }
    }
    const std::vector<int64_t> shown = e2e::shownWaveRows(session.frame());
    const e2e::DumpValues dump = endAndReadDump(session);
    ASSERT_EQ(dump.numbers.size(), 2048u);
    int differing = 0;
    for (int x = 0; x < e2e::wavePoints; ++x) {
        const int64_t row = e2e::waveRow(static_cast<float>(dump.numbers[static_cast<size_t>(x)]), 1.0f);
        const bool hidden = shown[static_cast<size_t>(x)] == -1;
        differing += !hidden && shown[static_cast<size_t>(x)] != row ? 1 : 0;
    }
    EXPECT_EQ(differing, 0) << "columns of the frozen frame that the dump does not hold";
}

// The reference (--reference): from a dump file at the start (the older
// half of its samples), then from m, in light cyan under the live trace, its
// sample in the readout.
TEST(WavemonCompareTest, TheReferenceComesFromAFileAndFromM)
{
    const rig::TempDir dir;
    const std::string file = dir.path() + "/before.txt";
    std::ofstream(file, std::ios::binary) << e2e::uniformDump(2048, " 0.25");
    MonitorSession session(e2e::wavemonProgram(), AudioInput::pipe, {"--reference=" + file, "--readout"});
    session.movePointer(300, 150);
    // Empty when column 300 shows the value in the colour.
    const auto shownAt = [](float value, uint8_t colour) {
        const int row = e2e::windowRow(e2e::waveRow(value, 1.0f));
        return [row, colour](const rig::RgbImage& image) {
            const std::vector<int> rows = e2e::traceRowsOf(image, 300, colour);
            return std::find(rows.begin(), rows.end(), row) == rows.end() ? "nothing on row " + std::to_string(row)
                                                                          : std::string();
        };
    };
    ASSERT_TRUE(session.waitForFrame("the reference of the file", [&](const rig::RgbImage& image) {
        const std::string readout = e2e::readText(image, 0, e2e::readoutRow, 40, e2e::textColour);
        const std::string seen = shownAt(0.25f, e2e::referenceColour)(image);
        return !seen.empty()                                ? seen
               : readout != "6.25 ms  +0.0000  ref +0.2500" ? "the readout reads '" + readout + "'"
                                                            : "";
    }));
    session.pulse().playSignal([](int64_t) { return int16_t{16384}; });
    ASSERT_TRUE(session.waitForSteadyFrame("a steady input of 0.5", shownAt(0.5f, e2e::traceColour)));
    session.typeKey(XK_m);
    // The readout tells once the frame that m stored has come.
    ASSERT_TRUE(session.waitForFrame("0.5 stored", [](const rig::RgbImage& image) {
        const std::string readout = e2e::readText(image, 0, e2e::readoutRow, 40, e2e::textColour);
        return readout == "6.25 ms  +0.5000  ref +0.5000" ? "" : "the readout reads '" + readout + "'";
    }));
    session.pulse().playSilence();
    ASSERT_TRUE(session.waitForFrame("0.5 kept as the reference", shownAt(0.5f, e2e::referenceColour)));
    session.typeKey(XK_Escape);
    EXPECT_TRUE(session.waitForCleanExit());
}

} // namespace
