// earshot_demo <program-path> <seconds> <out-dir> [program options...]
//
// Shows what a monitor does on a machine with no display and no sound card:
// runs the program (with the options given) against a private X server and a
// private audio server whose default input plays three tones of different
// strength over a little noise, gives its window the focus with the pointer
// resting over it (where a readout reads it), lets it run for the given
// seconds once its window shows a frame, saves a screenshot of the window,
// presses Escape and keeps the program's out.txt.
#include <X11/keysym.h>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <iostream>
#include <string>
#include <thread>
#include <vector>

#include "rig/child_process.h"
#include "rig/png_file.h"
#include "rig/pulse_server.h"
#include "rig/temp_dir.h"
#include "rig/x_client.h"
#include "rig/xvfb_server.h"

namespace {

// Three tones that a spectrum tells apart by height (440 Hz loud, 1500 Hz
// softer, 4000 Hz faint) over a little noise, whose floor lies about 35 dB
// under the faintest peak and still inside specmon's window: a waveform with
// a shape of its own, and peaks over a noise floor.
int16_t demoSignal(int64_t n)
{
    struct Tone {
        double hz;
        double amplitude;
    };
    constexpr Tone tones[] = {{440.0, 0.30}, {1500.0, 0.12}, {4000.0, 0.04}};
    const double t = static_cast<double>(n) / rig::pulseSampleRate;
    double value = 0.0;
    for (const Tone& tone : tones) {
        value += tone.amplitude * std::sin(2.0 * M_PI * tone.hz * t);
    }
    // White noise: the sample number scrambled by a 64-bit mixing function.
    uint64_t mixed = static_cast<uint64_t>(n) + 0x9e3779b97f4a7c15ull;
    mixed = (mixed ^ (mixed >> 30)) * 0xbf58476d1ce4e5b9ull;
    mixed = (mixed ^ (mixed >> 27)) * 0x94d049bb133111ebull;
    mixed ^= mixed >> 31;
    value += 0.06 * (static_cast<double>(mixed >> 11) / 9007199254740992.0 - 0.5);
    return static_cast<int16_t>(std::lround(value * 32767.0));
}

bool showsSomething(const rig::RgbImage& image)
{
    for (const uint8_t value : image.rgb) {
        if (value != 0) {
            return true;
        }
    }
    return false;
}

int fail(const std::string& message, const std::string& programLog)
{
    std::cerr << "earshot_demo: " << message << "\n";
    const std::string log = rig::readTextFile(programLog);
    if (!log.empty()) {
        std::cerr << "program output:\n" << log;
    }
    return 1;
}

// Where the pointer rests in the window: over the trace, left of the middle.
constexpr int pointerX = 300;
constexpr int pointerY = 150;

int runDemo(const std::string& programPath, double seconds, const std::filesystem::path& outDir,
            const std::vector<std::string>& programOptions)
{
    const std::string program = std::filesystem::path(programPath).stem().string();
    const rig::TempDir dir;
    const std::string programLog = dir.path() + "/" + program + ".log";
    const rig::XvfbServer xvfb(dir.path() + "/xvfb.log");
    rig::PulseServer pulse(rig::PipeSource{});
    pulse.playSignal(demoSignal);

    rig::ChildOptions options;
    options.argv = {std::filesystem::absolute(programPath).string()};
    options.argv.insert(options.argv.end(), programOptions.begin(), programOptions.end());
    options.environment = xvfb.environment();
    const rig::EnvironmentVariables audio = pulse.environment();
    options.environment.insert(options.environment.end(), audio.begin(), audio.end());
    options.workDir = dir.path();
    options.stdoutPath = programLog;
    options.stderrPath = programLog;
    rig::ChildProcess child(options);

    rig::XClient client(xvfb.displayName());
    const rig::XWindowId window = client.findWindowByPid(child.pid());
    if (window == 0) {
        return fail("no window of " + program + " appeared", programLog);
    }
    if (!client.focusWindow(window)) {
        return fail("the window of " + program + " did not take the focus", programLog);
    }
    client.movePointer(window, pointerX, pointerY);
    if (!rig::waitUntil([&] { return showsSomething(client.capture(window)); })) {
        return fail("the window of " + program + " stayed black", programLog);
    }
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (std::chrono::steady_clock::now() < end && child.running()) {
        std::this_thread::sleep_for(rig::rigPollInterval);
    }
    if (!child.running()) {
        return fail(program + " ended by itself", programLog);
    }

    std::filesystem::create_directories(outDir);
    const std::string screenshot = (outDir / (program + ".png")).string();
    if (!rig::writePng(screenshot, client.capture(window))) {
        return fail("cannot write " + screenshot, programLog);
    }
    std::cout << "screenshot (title \"" << client.windowTitle(window) << "\"): " << screenshot << "\n";

    client.typeKey(XK_Escape);
    const auto status = child.waitExit();
    if (!status) {
        return fail(program + " did not end after Escape", programLog);
    }
    std::cout << program << " ended with exit code " << status->code << "\n";
    const std::filesystem::path dump = std::filesystem::path(dir.path()) / "out.txt";
    const std::filesystem::path kept = outDir / (program + "-out.txt");
    std::error_code error;
    std::filesystem::copy_file(dump, kept, std::filesystem::copy_options::overwrite_existing, error);
    if (error) {
        return fail(program + " left no out.txt", programLog);
    }
    std::cout << "out.txt: " << kept.string() << "\n";
    return status->code == 0 ? 0 : 1;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 4) {
        std::cerr << "usage: earshot_demo <program-path> <seconds> <out-dir> [program options...]\n";
        return 2;
    }
    try {
        return runDemo(argv[1], std::stod(argv[2]), argv[3], std::vector<std::string>(argv + 4, argv + argc));
    } catch (const std::exception& error) {
        std::cerr << "earshot_demo: " << error.what() << "\n";
        return 1;
    }
}
