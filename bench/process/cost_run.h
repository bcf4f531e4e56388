// Runs one program at a time as a user would start it, on its own private X
// server and sound server, and measures what it costs and how quickly it
// shows things. Each call starts its servers and the program afresh and stops
// all three (by PID) before it returns. Throws std::runtime_error, with the
// program's output, when the program does not behave as expected. One thread
// at a time.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "bench/process/process_usage.h"
#include "bench/process/screen_probe.h"

struct ProgramUnderTest {
    std::string name;
    std::string path;
    const ScreenProbe* probe = nullptr; // nullptr: it opens no window
    // Options it runs with. With any, its window gets the focus and the
    // pointer once it shows a frame (where a readout reads it), and its
    // delays are not measured: the probe judges only the plain picture.
    std::vector<std::string> options;
};

struct CostMeasurement {
    double wallSeconds = 0.0;      // launch to the final reading
    double cpuPercent = 0.0;       // of one core, over the whole run
    double steadyCpuPercent = 0.0; // of one core, after the start-up phase
    double startupCpuMs = 0.0;     // CPU time spent in the start-up phase
    int64_t peakResidentKb = 0;
    int64_t threads = 0;
    std::optional<double> windowMs;             // launch to the window being mapped
    std::optional<double> firstFrameMs;         // launch to the first frame with a trace
    double capturePeriodMs = 0.0;               // mean time from one capture to the next while watching
    std::vector<ThreadUsage> threadUsage;       // the live threads at the end
    std::optional<double> refreshSteadyPercent; // the window's refresh thread, after the start-up phase
};

// The start-up phase that the steady figure leaves out.
inline constexpr double startupSeconds = 2.0;

// Runs the program for the given seconds with a 1500 Hz sine as the default
// input and reads its usage just before stopping it.
CostMeasurement measureCost(const ProgramUnderTest& program, double seconds);

struct DelayMeasurement {
    std::vector<double> signalDelaysMs; // the sine switched on -> first capture that shows it
    double capturePeriodMs = 0.0;
};

// Runs a monitor on a silent input and switches a 1500 Hz sine on and off
// again the given number of times, each time after the window has shown
// silence, at moments spread over the frame period.
DelayMeasurement measureSignalDelays(const ProgramUnderTest& program, int switches);
