// A private sound server for end-to-end tests, one per test, that speaks
// PulseAudio's protocol: PulseAudio, or PipeWire where that is the desktop's
// sound (see sound_daemons.h). Its default source is either a sine or a pipe
// that the rig feeds with known samples at real-time pace. Programs reach it
// through its environment: PULSE_SERVER, and an ALSA configuration that makes
// ALSA's default device (and PortAudio's default input with it) this server,
// whatever the machine's own configuration says.
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
#include "rig/sound_daemons.h"
#include "rig/temp_dir.h"

namespace rig {

constexpr int pulseSampleRate = 48000;

// A sine of amplitude 0.5 (16384 as a 16-bit sample) at frequencyHz, the
// default source "sine"; with secondHz above 0 a second one at that
// frequency beside it, "sine2". PulseAudio generates them itself; PipeWire
// has no such source, so there the rig feeds sineSample through pipes.
struct SineSource {
    int frequencyHz = 1500;
    int secondHz = 0;
};

// Signed 16-bit mono samples at 48000 Hz, written by the rig: silence until a
// test plays something.
struct PipeSource {};

// Sample n of a signal, counted from the moment it starts playing.
using SignalFunction = std::function<int16_t(int64_t n)>;

// Sample n of a sine source at frequencyHz from a rising zero crossing on:
// 16384 sin(2 pi n frequencyHz / 48000), rounded. Any thread.
int16_t sineSample(int frequencyHz, int64_t n);

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

    // PULSE_SERVER=unix:<socket> and ALSA_CONFIG_PATH: all a program needs
    // to use this server.
    EnvironmentVariables environment() const;

    // The same, with this ALSA configuration file read last (it may define
    // more devices of this server).
    EnvironmentVariables environment(const std::string& moreAlsaConfig) const;

    SoundServerKind kind() const { return kind_; }

    // Stops the server (politely, then by force), as when a desktop's sound
    // server ends or restarts; programs lose their streams. Sine source only.
    void stop();

    // Starts a new server on the same socket, with a sine source at this
    // frequency as the default, stopping the running one first. Throws like
    // the constructor.
    void restart(SineSource source);

    // Stops the daemon that programs talk to (SIGSTOP), or lets it go on
    // (SIGCONT): while frozen it accepts connections and answers nothing, as
    // a server that hangs. The destructor lets a frozen server go on first.
    void freeze();
    void thaw();

    // Suspends the default source, or lets it run again, as a desktop does
    // with an idle source: a stream on it gets no samples meanwhile. True
    // when the server did it.
    bool suspendSource(bool suspended);

    // Everything the server has logged so far, to show when a check fails.
    std::string log() const;

    // The daemon that programs talk to.
    pid_t pid() const { return daemons_->pid(); }

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
    // A pipe source and what the feeder plays into it. Sources are added and
    // removed only while no feeder runs.
    struct FedSource {
        std::string name;
        int fifo = -1;
        SignalFunction signal; // guarded by signalLock_; empty plays silence
        int64_t position = 0;  // guarded by signalLock_: next n of signal
    };

    PulseServer(bool pipe, SineSource sine);
    void start(SineSource sine);
    void addFedSource(const std::string& name, SignalFunction signal);
    void stopFeeding();
    bool runPactl(const std::vector<std::string>& arguments);
    void feedLoop();

    TempDir dir_;
    const SoundServerKind kind_;
    const bool pipe_;
    std::unique_ptr<SoundDaemons> daemons_;
    std::vector<FedSource> fed_;
    std::mutex signalLock_;
    int64_t generated_ = 0; // guarded by signalLock_: samples taken so far
    std::atomic<int64_t> samplesFed_{0};
    std::atomic<bool> stopFeeding_{false};
    bool frozen_ = false;
    std::thread feeder_;
};

// PULSE_SERVER pointing at a socket that does not exist: on machines without a
// sound card, a program sees no audio input device at all.
EnvironmentVariables noAudioEnvironment();

} // namespace rig
