// A private PulseAudio server for end-to-end tests, one per test: its own
// runtime directory, home and socket in a temporary directory, started as a
// child so that it is stopped by its PID. Its default source is either a sine
// generator or a pipe that the rig feeds with known samples at real-time pace.
// Programs reach it through PULSE_SERVER alone (ALSA's default device goes to
// PulseAudio on these machines, and PortAudio's default input with it).
// Construct, use and destroy on one thread; the play functions may be called
// from any thread.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "rig/child_process.h"
#include "rig/temp_dir.h"

namespace rig {

constexpr int pulseSampleRate = 48000;

// A sine of amplitude 0.5 (16384 as a 16-bit sample) at frequencyHz, the
// default source "sine"; with secondHz above 0 a second one at that
// frequency beside it, "sine2".
struct SineSource {
    int frequencyHz = 1500;
    int secondHz = 0;
};

// Signed 16-bit mono samples at 48000 Hz, written by the rig: silence until a
// test plays something.
struct PipeSource {};

// Sample n of a signal, counted from the moment it starts playing.
using SignalFunction = std::function<int16_t(int64_t n)>;

class PulseServer {
public:
    // Start the server with that default source and return once it answers
    // and the source is the default. Throw std::runtime_error (with the
    // server's log) when that does not happen within rigDeadline.
    explicit PulseServer(SineSource source);
    explicit PulseServer(PipeSource source);
    // Stops the feeder, then the server (politely, then by force).
    ~PulseServer();
    PulseServer(const PulseServer&) = delete;
    PulseServer& operator=(const PulseServer&) = delete;

    // PULSE_SERVER=unix:<socket>: all a program needs to use this server.
    EnvironmentVariables environment() const;

    // Stops the server (politely, then by force), as when a desktop's sound
    // server ends or restarts; programs lose their streams. Sine source only.
    void stop();

    // Starts a new server on the same socket, with a sine source at this
    // frequency as the default, stopping the running one first. Throws like
    // the constructor.
    void restart(SineSource source);

    // Everything the server has logged so far, to show when a check fails.
    std::string log() const;

    pid_t pid() const { return process_->pid(); }

    // Pipe source only. From the next block written on, the samples come from
    // signal (n = 0, 1, ...) instead of what was playing. Returns the position
    // in the fed stream (samples since the feeder started) of sample n = 0.
    int64_t playSignal(SignalFunction signal);

    // Pipe source only. Plays these samples once, then silence; returns where
    // the first one lands in the fed stream.
    int64_t playSamples(std::vector<int16_t> samples);

    // Pipe source only. Back to silence from the next block on.
    int64_t playSilence();

    // Samples written to the pipe so far.
    int64_t samplesFed() const { return samplesFed_; }

private:
    PulseServer(bool pipe, SineSource sine);
    void start(bool pipe, SineSource sine);
    std::string socketPath() const;
    bool runPactl(const std::vector<std::string>& arguments);
    void feedLoop();

    TempDir dir_;
    std::unique_ptr<ChildProcess> process_;
    int fifo_ = -1;
    std::mutex signalLock_;
    SignalFunction signal_;      // guarded by signalLock_; empty plays silence
    int64_t signalPosition_ = 0; // guarded by signalLock_: next n of signal_
    int64_t generated_ = 0;      // guarded by signalLock_: samples taken so far
    std::atomic<int64_t> samplesFed_{0};
    std::atomic<bool> stopFeeding_{false};
    std::thread feeder_;
};

// PULSE_SERVER pointing at a socket that does not exist: on machines without a
// sound card, a program sees no audio input device at all.
EnvironmentVariables noAudioEnvironment();

} // namespace rig
