#include <atomic>
#include <ctime>
#include <gtest/gtest.h>
#include <thread>
#include <unistd.h>

#include "bench/process/process_usage.h"
#include "bench/process/screen_probe.h"

namespace {

TEST(ProcessUsageParsing, StatusNumberMatchesTheWholeFieldName)
{
    const std::string status = "Name:\tspecmon\nVmHWMx:\t7 kB\nVmHWM:\t   33184 kB\nThreads:\t4\n";
    EXPECT_EQ(statusNumber(status, "VmHWM"), 33184);
    EXPECT_EQ(statusNumber(status, "Threads"), 4);
    EXPECT_EQ(statusNumber(status, "VmHW"), std::nullopt);
    EXPECT_EQ(statusNumber(status, "VmRSS"), std::nullopt);
    EXPECT_EQ(statusNumber("Threads:\tmany\n", "Threads"), std::nullopt);
}

TEST(ProcessUsageParsing, StartTimeCountsFieldsAfterTheLastParenthesis)
{
    // A command name with blanks and a ") (" inside shifts naive splitting.
    const std::string line = "4751 (a) (b c) S 4748 4748 301 0 -1 4194304 101 0 0 0 3 5 0 0 20 0 1 0 157500 3133440";
    EXPECT_EQ(startTicksFromStat(line), 157500);
    EXPECT_EQ(startTicksFromStat("4751 (cat) R 4748 4748"), std::nullopt);
    EXPECT_EQ(startTicksFromStat("no parenthesis at all"), std::nullopt);
}

double threadCpuSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

TEST(ProcessUsageReading, SeesThisProcessAndItsThreads)
{
    std::atomic<bool> stop{false};
    std::thread waiter([&stop] { stop.wait(false); });
    constexpr double burnt = 0.03;
    while (threadCpuSeconds() < burnt) {
    }
    const auto usage = readProcessUsage(getpid());
    const auto threads = readThreadUsage(getpid());
    stop = true;
    stop.notify_one();
    waiter.join();

    ASSERT_TRUE(usage.has_value());
    EXPECT_GE(usage->cpuSeconds, burnt);
    EXPECT_GT(usage->peakResidentKb, 0);
    EXPECT_GE(usage->threads, 2);
    ASSERT_GE(threads.size(), 2U);
    EXPECT_TRUE(threads.front().isMain);
    EXPECT_EQ(threads.front().tid, getpid());
    EXPECT_GE(threads.front().cpuSeconds, burnt);
    for (size_t i = 1; i < threads.size(); ++i) {
        EXPECT_FALSE(threads[i].isMain);
        EXPECT_LE(threads[i - 1].startTicks, threads[i].startTicks);
    }
    EXPECT_EQ(readProcessUsage(-1), std::nullopt);
}

constexpr rig::Rgb otherRgb{255, 85, 85};

rig::RgbImage blankWindow()
{
    return {1025, 401, std::vector<uint8_t>(1025 * 401 * 3, 0)};
}

void paint(rig::RgbImage& image, int x, int y, rig::Rgb colour)
{
    const size_t at = (static_cast<size_t>(y) * static_cast<size_t>(image.width) + static_cast<size_t>(x)) * 3;
    std::copy(colour.begin(), colour.end(), image.rgb.begin() + static_cast<ptrdiff_t>(at));
}

// A waveform frame: the zero line over the first columns, and text.
rig::RgbImage waveFrame(int columns)
{
    rig::RgbImage image = blankWindow();
    for (int x = 0; x < columns; ++x) {
        paint(image, x, waveZeroRow, traceRgb);
    }
    paint(image, 10, 390, textRgb);
    return image;
}

TEST(ScreenProbe, WaveformNeedsNineHundredColumnsForAFrame)
{
    EXPECT_TRUE(wavemonProbe.firstFrame(waveFrame(1024)));
    EXPECT_TRUE(wavemonProbe.firstFrame(waveFrame(900)));
    EXPECT_FALSE(wavemonProbe.firstFrame(waveFrame(899)));
    EXPECT_FALSE(wavemonProbe.showsSilence(waveFrame(899)));
    EXPECT_FALSE(wavemonProbe.firstFrame(blankWindow()));
}

TEST(ScreenProbe, WaveformSignalReachesMoreThanFiftyRowsEitherWay)
{
    rig::RgbImage flat = waveFrame(1024);
    EXPECT_TRUE(wavemonProbe.showsSilence(flat));
    EXPECT_FALSE(wavemonProbe.showsSignal(flat));

    rig::RgbImage edgeBelow = flat;
    paint(edgeBelow, 700, waveZeroRow + waveSignalReach, traceRgb);
    paint(edgeBelow, 3, waveZeroRow - waveSignalReach, otherRgb);
    EXPECT_FALSE(wavemonProbe.showsSignal(edgeBelow));
    EXPECT_TRUE(wavemonProbe.showsSilence(edgeBelow));

    rig::RgbImage above = flat;
    paint(above, 1024, waveZeroRow - waveSignalReach - 1, traceRgb);
    EXPECT_TRUE(wavemonProbe.showsSignal(above));
    EXPECT_FALSE(wavemonProbe.showsSilence(above));

    rig::RgbImage below = flat;
    paint(below, 0, 400, traceRgb);
    EXPECT_TRUE(wavemonProbe.showsSignal(below));
}

TEST(ScreenProbe, SpectrumFrameNeedsTraceAndLegend)
{
    rig::RgbImage legend = blankWindow();
    paint(legend, 4, 392, textRgb);
    rig::RgbImage trace = blankWindow();
    paint(trace, 65, 12, traceRgb);
    rig::RgbImage both = legend;
    paint(both, 1024, 0, traceRgb);

    EXPECT_FALSE(specmonProbe.firstFrame(legend));
    EXPECT_TRUE(specmonProbe.showsSilence(legend));
    EXPECT_FALSE(specmonProbe.showsSignal(legend));

    EXPECT_FALSE(specmonProbe.firstFrame(trace));
    EXPECT_FALSE(specmonProbe.showsSilence(trace));
    EXPECT_TRUE(specmonProbe.showsSignal(trace));

    EXPECT_TRUE(specmonProbe.firstFrame(both));
    EXPECT_TRUE(specmonProbe.showsSignal(both));

    EXPECT_FALSE(specmonProbe.showsSilence(blankWindow()));
    EXPECT_FALSE(specmonProbe.showsSignal(rig::RgbImage{}));
}

TEST(ScreenProbe, ColumnCountsAndDistances)
{
    rig::RgbImage image = blankWindow();
    paint(image, 5, 0, traceRgb);
    paint(image, 5, 300, traceRgb);
    paint(image, 6, 300, traceRgb);
    paint(image, 7, 300, otherRgb);
    EXPECT_EQ(columnsWithColour(image, traceRgb), 2);
    EXPECT_EQ(columnsWithColourOnRow(image, traceRgb, 300), 2);
    EXPECT_EQ(columnsWithColourOnRow(image, traceRgb, 401), 0);
    EXPECT_EQ(farthestFromRow(image, traceRgb, 280), 280);
    EXPECT_EQ(farthestFromRow(image, textRgb, 280), -1);
}

} // namespace
