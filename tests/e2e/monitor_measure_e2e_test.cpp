// The measurement line of both monitors (--measure), read back from the
// screen over known signals, and the same values for scripts
// (--print=measure).
#include <gtest/gtest.h>

#include <X11/keysym.h>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "rig/pulse_server.h"
#include "rig/temp_dir.h"
#include "tests/e2e/monitor_checks.h"
#include "tests/e2e/tones.h"

namespace {

using e2e::Monitor;

// The measurement line's row, and the clip mark's colour.
constexpr int measureRow = 10;
constexpr uint8_t clipColour = 12;

struct MeasureCase {
    Monitor monitor;
    std::string signal;
    std::function<int16_t(int64_t)> sample;
    std::string line; // the line's text, or how it begins (lineBegins)
    bool lineBegins = false;
    bool clip = false;
    std::string values; // a line of --print=measure, or how it begins
};

// 1500 Hz, 32 samples a period: 64 whole periods a snapshot, on bin 64.
int16_t squareSample(int64_t n)
{
    return n % 32 < 16 ? int16_t{32767} : int16_t{-32768};
}

// Empty when the capture shows the line (and the clip mark after it when
// asked for, in its colour), or what it shows instead.
std::string showsMeasureLine(const rig::RgbImage& image, const MeasureCase& test)
{
    const int cells = e2e::windowWidth / 8;
    const std::string line = e2e::readText(image, 0, measureRow, cells, e2e::textColour);
    if (test.lineBegins ? !line.starts_with(test.line) : line != test.line) {
        return "the line reads '" + line + "'";
    }
    const std::string mark = e2e::readText(image, 0, measureRow, cells, clipColour);
    return mark.ends_with("CLIP") == test.clip ? "" : "the clip mark reads '" + mark + "'";
}

TEST(MonitorMeasureTest, TheLineShowsAndScriptsGetTheValuesOfAKnownSignal)
{
    const std::vector<MeasureCase> cases = {
        {Monitor::wavemon, "a 1500 Hz sine at half scale", [](int64_t n) { return e2e::toneSample(32, n); },
         "RMS -9.03 dBFS  peak -6.02 dBFS  DC +0.0000  1500.0 Hz", false, false, "-9.03 -6.02 +0.0000 1500.0 0"},
        {Monitor::wavemon, "a full-scale 1500 Hz square", squareSample,
         "RMS 0.00 dBFS  peak 0.00 dBFS  DC +0.0000  1500.0 Hz", false, true, "0.00 0.00 +0.0000 1500.0 1"},
        {Monitor::specmon, "a 1500 Hz sine at half scale", [](int64_t n) { return e2e::toneSample(32, n); },
         "1500.0 Hz  F#6 +23 cents  THD 0.00 %", false, false, "1500.0 F#6 +23 0.00 0"},
        {Monitor::specmon, "a full-scale 1500 Hz square", squareSample, "1500.0 Hz  F#6 +23 cents  THD ", true, true,
         "1500.0 F#6 +23 "},
    };
    for (const MeasureCase& test : cases) {
        const e2e::MonitorProgram& program = e2e::programOf(test.monitor);
        SCOPED_TRACE(program.name + ", " + test.signal);
        {
            e2e::MonitorSession session(program, e2e::AudioInput::pipe, {"--measure"});
            session.pulse().playSignal(test.sample);
            EXPECT_TRUE(session.waitForFrame(
                "the measurement line", [&](const rig::RgbImage& image) { return showsMeasureLine(image, test); }));
            session.typeKey(XK_Escape);
            EXPECT_TRUE(session.waitForCleanExit());
        }
        const rig::TempDir dir;
        rig::PulseServer pulse{rig::PipeSource{}};
        pulse.playSignal(test.sample);
        std::unique_ptr<rig::XvfbServer> wineDisplay;
        // Every frame holds the signal alone; under Wine, whose capture
        // starts with silence and comes in bursts, only some frames do.
        const int frames = program.underWine ? 30 : 2;
        const e2e::Ended run =
            e2e::runToEnd(program, {"--no-window", "--print=measure", "--frames", std::to_string(frames)}, dir.path(),
                          e2e::withWineDisplay(program, wineDisplay, pulse.environment()));
        EXPECT_EQ(run.code, 0) << run.err;
        std::istringstream lines(run.out);
        int count = 0;
        int known = 0;
        for (std::string line; std::getline(lines, line); ++count) {
            known += test.lineBegins ? line.starts_with(test.values) : line == test.values;
        }
        EXPECT_EQ(count, frames);
        EXPECT_TRUE(program.underWine ? known > 0 : known == frames) << run.out;
    }
}

} // namespace
