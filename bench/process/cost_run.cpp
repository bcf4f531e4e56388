#include "bench/process/cost_run.h"

#include "plot/platform/screen_platform.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <numbers>
#include <stdexcept>
#include <thread>

#include "rig/child_process.h"
#include "rig/pulse_server.h"
#include "rig/temp_dir.h"
#include "rig/x_client.h"
#include "rig/xvfb_server.h"

namespace {

using Clock = std::chrono::steady_clock;

// Short enough to time a frame to a few milliseconds; a capture itself takes
// some milliseconds more.
constexpr auto watchPause = std::chrono::milliseconds(2);

// Frames come every 100 ms and more; a switch waits this long after silence
// shows, plus a share of the frame period that differs from switch to switch.
constexpr auto settlePause = std::chrono::milliseconds(150);
constexpr double framePeriodMs = 100.0;

constexpr int sineHz = 1500;
constexpr double sineAmplitude = 16384.0;

// Where the pointer rests over a window that runs with options.
constexpr int pointerX = 300;
constexpr int pointerY = 150;

double millisecondsBetween(Clock::time_point from, Clock::time_point to)
{
    return std::chrono::duration<double, std::milli>(to - from).count();
}

// A program started on the servers, writing its output to a log in dir.
rig::ChildOptions programOptions(const ProgramUnderTest& program, const rig::TempDir& dir, const rig::XvfbServer& xvfb,
                                 const rig::PulseServer& pulse)
{
    rig::ChildOptions options;
    options.argv = {program.path};
    options.argv.insert(options.argv.end(), program.options.begin(), program.options.end());
    options.environment = xvfb.environment();
    const rig::EnvironmentVariables audio = pulse.environment();
    options.environment.insert(options.environment.end(), audio.begin(), audio.end());
    options.workDir = dir.path();
    options.stdoutPath = dir.path() + "/program.log";
    options.stderrPath = options.stdoutPath;
    return options;
}

[[noreturn]] void fail(const ProgramUnderTest& program, const rig::TempDir& dir, const std::string& what)
{
    throw std::runtime_error(program.name + ": " + what + "\nprogram output:\n" +
                             rig::readTextFile(dir.path() + "/program.log"));
}

// Polls captures of one window as fast as they come.
class ScreenWatch {
public:
    ScreenWatch(rig::XClient& client, rig::XWindowId window) : client_(client), window_(window) {}

    // When the first capture that shows it began; nothing by the deadline.
    std::optional<Clock::time_point> waitFor(bool (*shows)(const rig::RgbImage&), Clock::time_point deadline)
    {
        for (;;) {
            const Clock::time_point start = Clock::now();
            const bool seen = shows(client_.capture(window_));
            polled_ += Clock::now() - start;
            ++captures_;
            if (seen) {
                return start;
            }
            if (Clock::now() > deadline) {
                return std::nullopt;
            }
            std::this_thread::sleep_for(watchPause);
            polled_ += watchPause;
        }
    }

    double periodMs() const
    {
        return captures_ == 0 ? 0.0 : std::chrono::duration<double, std::milli>(polled_).count() / captures_;
    }

private:
    rig::XClient& client_;
    rig::XWindowId window_;
    int64_t captures_ = 0;
    Clock::duration polled_{};
};

rig::XWindowId waitForWindow(rig::XClient& client, pid_t pid, Clock::time_point deadline)
{
    for (;;) {
        const rig::XWindowId window = client.findWindowByPid(pid, std::chrono::milliseconds(0));
        if (window != 0 || Clock::now() > deadline) {
            return window;
        }
        std::this_thread::sleep_for(watchPause);
    }
}

ProcessUsage usageOf(const ProgramUnderTest& program, const rig::TempDir& dir, rig::ChildProcess& child)
{
    const auto usage = readProcessUsage(child.pid());
    if (!child.running() || !usage) {
        fail(program, dir, "ended by itself");
    }
    return *usage;
}

void stopProgram(const ProgramUnderTest& program, const rig::TempDir& dir, rig::ChildProcess& child)
{
    const rig::ExitStatus status = child.stop();
    if (status.code != 0) {
        fail(program, dir, "did not end cleanly on SIGTERM");
    }
}

int16_t sineSample(int64_t n)
{
    const double phase = 2.0 * std::numbers::pi * sineHz * static_cast<double>(n) / rig::pulseSampleRate;
    return static_cast<int16_t>(std::lround(sineAmplitude * std::sin(phase)));
}

// The CPU of the thread of that name between two readings, as % of one core
// over wall seconds; nothing when it is not there at both.
std::optional<double> steadyShare(const std::vector<ThreadUsage>& before, const std::vector<ThreadUsage>& after,
                                  const std::string& name, double wall)
{
    for (const ThreadUsage& early : before) {
        for (const ThreadUsage& late : after) {
            if (early.name == name && late.tid == early.tid && wall > 0.0) {
                return 100.0 * (late.cpuSeconds - early.cpuSeconds) / wall;
            }
        }
    }
    return std::nullopt;
}

} // namespace

CostMeasurement measureCost(const ProgramUnderTest& program, double seconds)
{
    const rig::TempDir dir;
    const rig::XvfbServer xvfb;
    const rig::PulseServer pulse(rig::SineSource{sineHz});
    rig::XClient client(xvfb.displayName());

    CostMeasurement result;
    const Clock::time_point launched = Clock::now();
    rig::ChildProcess child(programOptions(program, dir, xvfb, pulse));
    const Clock::time_point deadline = launched + rig::rigDeadline;
    if (program.probe != nullptr) {
        const rig::XWindowId window = waitForWindow(client, child.pid(), deadline);
        if (window == 0) {
            fail(program, dir, "no window appeared");
        }
        result.windowMs = millisecondsBetween(launched, Clock::now());
        ScreenWatch watch(client, window);
        const auto frame = watch.waitFor(program.probe->firstFrame, deadline);
        if (!frame) {
            fail(program, dir, "no frame with a trace appeared");
        }
        result.firstFrameMs = millisecondsBetween(launched, *frame);
        result.capturePeriodMs = watch.periodMs();
        if (!program.options.empty() && client.focusWindow(window)) {
            client.movePointer(window, pointerX, pointerY);
        }
    }

    const auto end = launched + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
    const auto steadyFrom = std::min(
        end, launched + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(startupSeconds)));
    std::this_thread::sleep_until(steadyFrom);
    const ProcessUsage atSteady = usageOf(program, dir, child);
    const std::vector<ThreadUsage> threadsAtSteady = readThreadUsage(child.pid());
    const Clock::time_point steadyRead = Clock::now();
    std::this_thread::sleep_until(end);
    const ProcessUsage atEnd = usageOf(program, dir, child);
    const Clock::time_point endRead = Clock::now();
    result.threadUsage = readThreadUsage(child.pid());
    stopProgram(program, dir, child);

    result.wallSeconds = std::chrono::duration<double>(endRead - launched).count();
    result.cpuPercent = 100.0 * atEnd.cpuSeconds / result.wallSeconds;
    const double steadyWall = std::chrono::duration<double>(endRead - steadyRead).count();
    result.steadyCpuPercent = steadyWall > 0.0 ? 100.0 * (atEnd.cpuSeconds - atSteady.cpuSeconds) / steadyWall : 0.0;
    result.startupCpuMs = 1000.0 * atSteady.cpuSeconds;
    result.refreshSteadyPercent = steadyShare(threadsAtSteady, result.threadUsage, refreshThreadName, steadyWall);
    result.peakResidentKb = atEnd.peakResidentKb;
    result.threads = atEnd.threads;
    return result;
}

DelayMeasurement measureSignalDelays(const ProgramUnderTest& program, int switches)
{
    const rig::TempDir dir;
    const rig::XvfbServer xvfb;
    rig::PulseServer pulse{rig::PipeSource{}};
    rig::XClient client(xvfb.displayName());

    rig::ChildProcess child(programOptions(program, dir, xvfb, pulse));
    const rig::XWindowId window = waitForWindow(client, child.pid(), Clock::now() + rig::rigDeadline);
    if (window == 0) {
        fail(program, dir, "no window appeared");
    }
    ScreenWatch watch(client, window);
    DelayMeasurement result;
    for (int i = 0; i < switches; ++i) {
        if (!watch.waitFor(program.probe->showsSilence, Clock::now() + rig::rigDeadline)) {
            fail(program, dir, "silence did not show");
        }
        const auto phase = std::chrono::duration<double, std::milli>(framePeriodMs * i / switches);
        std::this_thread::sleep_for(settlePause + std::chrono::duration_cast<Clock::duration>(phase));
        const Clock::time_point switched = Clock::now();
        pulse.playSignal(sineSample);
        const auto shown = watch.waitFor(program.probe->showsSignal, switched + rig::rigDeadline);
        if (!shown) {
            fail(program, dir, "the signal did not show");
        }
        result.signalDelaysMs.push_back(millisecondsBetween(switched, *shown));
        pulse.playSilence();
    }
    result.capturePeriodMs = watch.periodMs();
    stopProgram(program, dir, child);
    return result;
}
