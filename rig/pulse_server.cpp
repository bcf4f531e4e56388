#include "rig/pulse_server.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace rig {

namespace {

// The feeder writes blocks of 5 ms and keeps 20 ms ahead of the clock, so the
// source never runs dry on a loaded machine and a switch of signal shows up
// within a few milliseconds.
constexpr int64_t feedBlock = pulseSampleRate / 200;
constexpr int64_t feedLead = pulseSampleRate / 50;

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

PulseServer::PulseServer(SineSource source) : PulseServer(false, source)
{}

PulseServer::PulseServer(PipeSource) : PulseServer(true, SineSource{})
{}

PulseServer::PulseServer(bool pipe, SineSource sine)
{
    const std::string runtimeDir = dir_.path() + "/runtime";
    if (mkdir(runtimeDir.c_str(), 0700) != 0) {
        throw std::runtime_error("cannot make " + runtimeDir);
    }
    start(pipe, sine);
}

void PulseServer::stop()
{
    if (fifo_ >= 0) {
        throw std::logic_error("only a sine source's server is stopped and started again");
    }
    process_->stop();
    // A server that was killed leaves its socket behind.
    unlink(socketPath().c_str());
}

void PulseServer::restart(SineSource source)
{
    stop();
    start(false, source);
}

void PulseServer::start(bool pipe, SineSource sine)
{
    if (!pipe && sine.frequencyHz <= 0) {
        throw std::runtime_error("a sine source needs a positive frequency");
    }
    const std::string runtimeDir = dir_.path() + "/runtime";
    const std::string sourceName = pipe ? "feed" : "sine";
    const std::string fifoPath = dir_.path() + "/fifo";
    ChildOptions options;
    options.argv = {
        "pulseaudio",
        "-n",
        "--daemonize=no",
        "--exit-idle-time=-1",
        "--disable-shm=yes",
        "-L",
        "module-native-protocol-unix socket=" + socketPath(),
        "-L",
        pipe ? "module-pipe-source source_name=feed file=" + fifoPath + " format=s16le rate=48000 channels=1"
             : "module-sine-source source_name=sine rate=48000 frequency=" + std::to_string(sine.frequencyHz)};
    if (!pipe && sine.secondHz > 0) {
        options.argv.insert(options.argv.end(), {"-L", "module-sine-source source_name=sine2 rate=48000 frequency=" +
                                                           std::to_string(sine.secondHz)});
    }
    // No display and no session bus: the server must not launch helpers that
    // would outlive it.
    options.environment = {{"XDG_RUNTIME_DIR", runtimeDir},
                           {"HOME", dir_.path()},
                           {"DBUS_SESSION_BUS_ADDRESS", "unix:path=" + dir_.path() + "/no-bus"}};
    options.unsetEnvironment = {"DISPLAY", "PULSE_SERVER"};
    options.stdoutPath = dir_.path() + "/pulse.log";
    options.stderrPath = options.stdoutPath;
    process_ = std::make_unique<ChildProcess>(options);
    const bool ready = waitUntil([&] { return !process_->running() || runPactl({"info"}); }) && process_->running() &&
                       runPactl({"set-default-source", sourceName});
    if (!ready) {
        throw std::runtime_error("private PulseAudio did not come up:\n" + log());
    }
    if (pipe) {
        fifo_ = open(fifoPath.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
        if (fifo_ < 0) {
            throw std::runtime_error("cannot open the source's pipe:\n" + log());
        }
        feeder_ = std::thread([this] { feedLoop(); });
    }
}

PulseServer::~PulseServer()
{
    stopFeeding_ = true;
    if (feeder_.joinable()) {
        feeder_.join();
    }
    if (fifo_ >= 0) {
        close(fifo_);
    }
    process_->stop();
}

std::string PulseServer::socketPath() const
{
    return dir_.path() + "/runtime/native";
}

EnvironmentVariables PulseServer::environment() const
{
    return {{"PULSE_SERVER", "unix:" + socketPath()}};
}

std::string PulseServer::log() const
{
    return readTextFile(dir_.path() + "/pulse.log") + readTextFile(dir_.path() + "/pactl.log");
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
    if (fifo_ < 0) {
        throw std::logic_error("only a pipe source can play samples");
    }
    const std::lock_guard lock(signalLock_);
    signal_ = std::move(signal);
    signalPosition_ = 0;
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
    std::vector<uint8_t> bytes;
    while (!stopFeeding_) {
        const auto elapsed = std::chrono::steady_clock::now() - start;
        const int64_t due =
            std::chrono::duration_cast<std::chrono::microseconds>(elapsed).count() * pulseSampleRate / 1000000 +
            feedLead;
        if (samplesFed_ + feedBlock > due) {
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
            continue;
        }
        bytes.clear();
        {
            const std::lock_guard lock(signalLock_);
            for (int64_t i = 0; i < feedBlock; ++i) {
                const int16_t sample = signal_ ? signal_(signalPosition_++) : int16_t{0};
                const auto bits = static_cast<uint16_t>(sample);
                bytes.push_back(static_cast<uint8_t>(bits & 0xff));
                bytes.push_back(static_cast<uint8_t>(bits >> 8));
            }
            generated_ += feedBlock;
        }
        if (!writeAll(fifo_, bytes.data(), bytes.size(), stopFeeding_)) {
            return;
        }
        samplesFed_ += feedBlock;
    }
}

EnvironmentVariables noAudioEnvironment()
{
    return {{"PULSE_SERVER", "unix:/nonexistent/earshot-no-audio-server"}};
}

} // namespace rig
