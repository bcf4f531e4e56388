#include "tests/e2e/monitor_programs.h"

#include <cstdlib>

#include "rig/pulse_server.h"
#include "tests/e2e/spectrum_picture.h"
#include "tests/e2e/wave_picture.h"

namespace e2e {

namespace {

// A steady 0.5 puts wavemon's whole trace on plot row 300.
std::string waveShowsSteadyHalf(const rig::RgbImage& image)
{
    return comparePicture(image, flatWavePicture(waveRow(0.5f, 1.0f)));
}

// A steady 0.5 is a level of about 55 dB in bin 0, drawn near plot row 374
// at the start offset: far above anything that silence shows.
std::string spectrumShowsSteadyHalf(const rig::RgbImage& image)
{
    std::string problem = checkPalette(image);
    if (problem.empty()) {
        problem = compareText(image, spectrumLegendLines, true);
    }
    if (problem.empty() && topTraceRow(image, 0) < 300) {
        problem = "column 0 tops out at plot row " + std::to_string(topTraceRow(image, 0));
    }
    return problem;
}

// wavemon shows silence on row 200; a tone of amplitude 0.5 up to 3 kHz
// crosses it in steps of at least 5 rows, so never rests there for two
// columns.
std::string waveShowsToneThroughout(const rig::RgbImage& image)
{
    std::string problem = checkWaveWithin(image, windowHeight);
    const std::vector<int64_t> rows = shownWaveRows(image);
    for (size_t x = 1; x < rows.size() && problem.empty(); ++x) {
        if (rows[x - 1] == 200 && rows[x] == 200) {
            problem = "silence on row 200 at columns " + std::to_string(x - 1) + " and " + std::to_string(x);
        }
    }
    return problem;
}

// specmon's peak of a tone stands where a window that holds some silence too
// puts it, lower: only the legend and a trace other than silence tell here.
std::string spectrumShowsTone(const rig::RgbImage& image)
{
    std::string problem = checkPalette(image);
    if (problem.empty()) {
        problem = compareText(image, spectrumLegendLines, true);
    }
    if (problem.empty() && comparePicture(image, legendOnlyPicture()).empty()) {
        problem = "silence";
    }
    return problem;
}

MonitorProgram underWineIfAsked(MonitorProgram program)
{
    const char* windowsBuilds = std::getenv("EARSHOT_E2E_WINE");
    if (windowsBuilds != nullptr && *windowsBuilds != '\0') {
        program.path = std::string(windowsBuilds) + "/" + program.name + ".exe";
        program.launcher = {"wine"};
        program.underWine = true;
        // What the Linux build needs (a preloaded library) has no place in Wine.
        program.environment.clear();
        program.feedsSine = true;
    }
    return program;
}

// What this build of the programs needs to run under test.
rig::EnvironmentVariables buildEnvironment()
{
#ifdef KEEP_AUDIO_PLUGINS_PATH
    const char* sanitizerOptions = std::getenv("ASAN_OPTIONS");
    std::string options = sanitizerOptions == nullptr ? "" : sanitizerOptions;
    // The preloaded library comes before the sanitizer runtime.
    options += options.empty() ? "verify_asan_link_order=0" : ":verify_asan_link_order=0";
    return {{"LD_PRELOAD", KEEP_AUDIO_PLUGINS_PATH}, {"ASAN_OPTIONS", options}};
#else
    return {};
#endif
}

MonitorProgram makeWavemon()
{
    MonitorProgram program;
    program.name = "wavemon";
    program.path = WAVEMON_PATH;
    program.environment = buildEnvironment();
    program.dumpLines = 2048;
    program.silentValue = " 0";
    program.silentPicture = flatWavePicture(200);
    program.showsSteadyHalf = waveShowsSteadyHalf;
    program.showsTone = waveShowsToneThroughout;
    return underWineIfAsked(program);
}

MonitorProgram makeSpecmon()
{
    MonitorProgram program;
    program.name = "specmon";
    program.path = SPECMON_PATH;
    program.environment = buildEnvironment();
    program.dumpLines = 1024;
    program.silentValue = "-190";
    program.silentPicture = legendOnlyPicture();
    program.showsSteadyHalf = spectrumShowsSteadyHalf;
    program.showsTone = spectrumShowsTone;
    return underWineIfAsked(program);
}

} // namespace

const MonitorProgram& wavemonProgram()
{
    static const MonitorProgram program = makeWavemon();
    return program;
}

const MonitorProgram& specmonProgram()
{
    static const MonitorProgram program = makeSpecmon();
    return program;
}

rig::ChildOptions programRun(const MonitorProgram& program, const std::vector<std::string>& arguments,
                             const std::string& dir)
{
    rig::ChildOptions options;
    options.argv = program.launcher;
    options.argv.push_back(program.path);
    options.argv.insert(options.argv.end(), arguments.begin(), arguments.end());
    options.environment = program.environment;
    const rig::EnvironmentVariables noAudio = rig::noAudioEnvironment();
    options.environment.insert(options.environment.end(), noAudio.begin(), noAudio.end());
    options.unsetEnvironment = {"DISPLAY", "WAYLAND_DISPLAY"};
    options.workDir = dir;
    options.stdoutPath = dir + "/out.log";
    options.stderrPath = dir + "/err.log";
    return options;
}

namespace {

std::string withoutCarriageReturns(std::string text)
{
    std::erase(text, '\r');
    return text;
}

} // namespace

Ended runToEnd(const MonitorProgram& program, const std::vector<std::string>& arguments, const std::string& dir,
               const rig::EnvironmentVariables& environment)
{
    rig::ChildOptions options = programRun(program, arguments, dir);
    options.environment.insert(options.environment.end(), environment.begin(), environment.end());
    rig::ChildProcess child(options);
    const std::optional<rig::ExitStatus> status = child.waitExit();
    return {status ? status->code : -1, withoutCarriageReturns(rig::readTextFile(options.stdoutPath)),
            withoutCarriageReturns(rig::readTextFile(options.stderrPath))};
}

rig::EnvironmentVariables withWineDisplay(const MonitorProgram& program, std::unique_ptr<rig::XvfbServer>& display,
                                          rig::EnvironmentVariables environment)
{
    if (program.underWine) {
        display = std::make_unique<rig::XvfbServer>();
        const rig::EnvironmentVariables added = display->environment();
        environment.insert(environment.end(), added.begin(), added.end());
    }
    return environment;
}

const MonitorProgram& programOf(Monitor monitor)
{
    return monitor == Monitor::wavemon ? wavemonProgram() : specmonProgram();
}

void PrintTo(Monitor monitor, std::ostream* out)
{
    *out << programOf(monitor).name;
}

} // namespace e2e
