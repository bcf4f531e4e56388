#include "rig/pulse_server.h"

#include <cerrno>
#include <cmath>
#include <csignal>
#include <fcntl.h>
#include <fstream>
#include <numbers>
#include <poll.h>
#include <stdexcept>
#include <unistd.h>

namespace rig {

namespace {

// The feeder writes blocks of 5 ms and keeps 50 ms ahead of the clock, so the
// source never runs dry on a loaded machine: PipeWire takes a whole cycle
// (about 21 ms) from the pipe at once and plays silence for what is missing.
// A switch of signal shows up within that lead.
constexpr int64_t feedBlock = pulseSampleRate / 200;
constexpr int64_t feedLead = pulseSampleRate / 20;

// Writes all bytes unless the reader goes away or the feeder is told to stop.
bool writeAll(int fd, const uint8_t* bytes, size_t size, const std::atomic<bool>& stop)
{
    while (size > 0 && !stop) {
        pollfd entry{fd, POLLOUT, 0};
        if (poll(&entry, 1, 50) <= 0 || (entry.revents & POLLOUT) == 0) {
            if ((entry.revents & (POLLERR | POLLHUP)) != 0) {
                return false;
            }
            continue;
        }
        const ssize_t written = write(fd, bytes, size);
        if (written < 0 && errno != EINTR && errno != EAGAIN) {
            return false;
        }
        if (written > 0) {
            bytes += written;
            size -= static_cast<size_t>(written);
        }
    }
    return true;
}

} // namespace

int16_t sineSample(int frequencyHz, int64_t n)
{
    const double turns = static_cast<double>(n * frequencyHz % pulseSampleRate) / pulseSampleRate;
    return static_cast<int16_t>(std::lround(16384.0 * std::sin(2.0 * std::numbers::pi * turns)));
}

PulseServer::PulseServer(SineSource source) : PulseServer(false, source)
{}

PulseServer::PulseServer(PipeSource) : PulseServer(true, SineSource{})
{}

PulseServer::PulseServer(bool pipe, SineSource sine) : kind_(installedSoundServer()), pipe_(pipe)
{
    // ALSA's default device is this server even where the machine makes it
    // another (PipeWire's own ALSA plugin, or no sound server at all).
    std::ofstream(dir_.path() + "/alsa.conf") << "pcm.!default { type pulse }\nctl.!default { type pulse }\n";
    start(sine);
}

void PulseServer::stop()
{
    if (pipe_) {
        throw std::logic_error("only a sine source's server is stopped and started again");
    }
    stopFeeding();
    daemons_.reset();
}

void PulseServer::restart(SineSource source)
{
    stop();
    start(source);
}

void PulseServer::start(SineSource sine)
{
    if (!pipe_ && (sine.frequencyHz <= 0 || sine.secondHz < 0)) {
        throw std::runtime_error("a sine source needs a positive frequency");
    }
    daemons_ = std::make_unique<SoundDaemons>(kind_, dir_.path());
    if (!waitUntil([&] { return runPactl({"info"}); })) {
        throw std::runtime_error(std::string("private ") + soundServerName(kind_) + " did not come up:\n" + log());
    }
    std::vector<std::pair<std::string, int>> sines;
    if (!pipe_) {
        sines.emplace_back("sine", sine.frequencyHz);
        if (sine.secondHz > 0) {
            sines.emplace_back("sine2", sine.secondHz);
        }
    }
    if (pipe_) {
        addFedSource("feed", SignalFunction());
    }
    for (const auto& [name, frequencyHz] : sines) {
        if (kind_ == SoundServerKind::pipeWire) {
            // PipeWire has no sine source of its own.
            addFedSource(name, [frequencyHz](int64_t n) { return sineSample(frequencyHz, n); });
        } else if (!runPactl({"load-module", "module-sine-source", "source_name=" + name, "rate=48000",
                              "frequency=" + std::to_string(frequencyHz)})) {
            throw std::runtime_error("cannot add the sine source " + name + ":\n" + log());
        }
    }
    if (!runPactl({"set-default-source", pipe_ ? "feed" : "sine"})) {
        throw std::runtime_error("cannot make the default source:\n" + log());
    }
    if (!fed_.empty()) {
        stopFeeding_ = false;
        samplesFed_ = 0;
        generated_ = 0;
        feeder_ = std::thread([this] { feedLoop(); });
    }
}

void PulseServer::addFedSource(const std::string& name, SignalFunction signal)
{
    const std::string fifoPath = dir_.path() + "/" + name + ".fifo";
    // PipeWire reads the pipe of a source that nobody records from only when
    // told to always process it (PulseAudio always does); without that the
    // feeder would stall, and a recording would start on stale samples.
    if (!runPactl({"load-module", "module-pipe-source", "source_name=" + name, "file=" + fifoPath, "format=s16le",
                   "rate=48000", "channels=1", "source_properties=node.always-process=true"})) {
        throw std::runtime_error("cannot add the pipe source " + name + ":\n" + log());
    }
    const int fifo = open(fifoPath.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
    if (fifo < 0) {
        throw std::runtime_error("cannot open the pipe of source " + name + ":\n" + log());
    }
    fed_.push_back({name, fifo, std::move(signal), 0});
}

void PulseServer::stopFeeding()
{
    stopFeeding_ = true;
    if (feeder_.joinable()) {
        feeder_.join();
    }
    for (const FedSource& source : fed_) {
        close(source.fifo);
    }
    fed_.clear();
}

PulseServer::~PulseServer()
{
    thaw();
    stopFeeding();
}

void PulseServer::freeze()
{
    ::kill(pid(), SIGSTOP);
    frozen_ = true;
}

void PulseServer::thaw()
{
    if (frozen_) {
        ::kill(pid(), SIGCONT);
        frozen_ = false;
    }
}

bool PulseServer::suspendSource(bool suspended)
{
    return runPactl({"suspend-source", pipe_ ? "feed" : "sine", suspended ? "1" : "0"});
}

EnvironmentVariables PulseServer::environment() const
{
    return {{"PULSE_SERVER", "unix:" + SoundDaemons::socketPath(dir_.path())},
            {"ALSA_CONFIG_PATH", "/usr/share/alsa/alsa.conf:" + dir_.path() + "/alsa.conf"}};
}

EnvironmentVariables PulseServer::environment(const std::string& moreAlsaConfig) const
{
    EnvironmentVariables variables = environment();
    variables.back().second += ":" + moreAlsaConfig;
    return variables;
}

std::string PulseServer::log() const
{
    return (daemons_ ? daemons_->log() : std::string()) + "--- pactl:\n" + readTextFile(dir_.path() + "/pactl.log");
}

bool PulseServer::runPactl(const std::vector<std::string>& arguments)
{
    ChildOptions options;
    options.argv = {"pactl"};
    options.argv.insert(options.argv.end(), arguments.begin(), arguments.end());
    options.environment = environment();
    options.unsetEnvironment = {"DISPLAY"};
    options.stdoutPath = dir_.path() + "/pactl.log";
    options.stderrPath = options.stdoutPath;
    ChildProcess pactl(options);
    const auto status = pactl.waitExit();
    return status && status->code == 0;
}

int64_t PulseServer::playSignal(SignalFunction signal)
{
    if (!pipe_) {
        throw std::logic_error("only a pipe source can play samples");
    }
    const std::lock_guard lock(signalLock_);
    fed_.front().signal = std::move(signal);
    fed_.front().position = 0;
    return generated_;
}

int64_t PulseServer::playSamples(std::vector<int16_t> samples)
{
    return playSignal([samples = std::move(samples)](int64_t n) {
        return n < static_cast<int64_t>(samples.size()) ? samples[static_cast<size_t>(n)] : int16_t{0};
    });
}

int64_t PulseServer::playSilence()
{
    return playSignal(SignalFunction());
}

void PulseServer::feedLoop()
{
    // A reader that vanishes must end the feeder, not the test process.
    sigset_t pipeSignal;
    sigemptyset(&pipeSignal);
    sigaddset(&pipeSignal, SIGPIPE);
    pthread_sigmask(SIG_BLOCK, &pipeSignal, nullptr);

    const auto start = std::chrono::steady_clock::now();
    std::vector<std::vector<uint8_t>> blocks(fed_.size());
    while (!stopFeeding_) {
        const auto elapsed = std::chrono::steady_clock::now() - start;
        const int64_t due =
            std::chrono::duration_cast<std::chrono::microseconds>(elapsed).count() * pulseSampleRate / 1000000 +
            feedLead;
        if (samplesFed_ + feedBlock > due) {
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
            continue;
        }
        {
            const std::lock_guard lock(signalLock_);
            for (size_t index = 0; index < fed_.size(); ++index) {
                blocks[index].clear();
                for (int64_t i = 0; i < feedBlock; ++i) {
                    FedSource& source = fed_[index];
                    const int16_t sample = source.signal ? source.signal(source.position++) : int16_t{0};
                    const auto bits = static_cast<uint16_t>(sample);
                    blocks[index].push_back(static_cast<uint8_t>(bits & 0xff));
                    blocks[index].push_back(static_cast<uint8_t>(bits >> 8));
                }
            }
            generated_ += feedBlock;
        }
        for (size_t index = 0; index < fed_.size(); ++index) {
            if (!writeAll(fed_[index].fifo, blocks[index].data(), blocks[index].size(), stopFeeding_)) {
                return;
            }
        }
        samplesFed_ += feedBlock;
    }
}

EnvironmentVariables noAudioEnvironment()
{
    // PIPEWIRE_REMOTE: where PipeWire's own ALSA plugin is the default device,
    // it would otherwise find the desktop's PipeWire.
    return {{"PULSE_SERVER", "unix:/nonexistent/earshot-no-audio-server"},
            {"PIPEWIRE_REMOTE", "/nonexistent/earshot-no-audio-server"}};
}

} // namespace rig
