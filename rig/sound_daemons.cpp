#include "rig/sound_daemons.h"

#include <cerrno>
#include <filesystem>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace rig {

SoundServerKind installedSoundServer()
{
    return findExecutable("pipewire-pulse").empty() ? SoundServerKind::pulseAudio : SoundServerKind::pipeWire;
}

const char* soundServerName(SoundServerKind kind)
{
    return kind == SoundServerKind::pipeWire ? "PipeWire" : "PulseAudio";
}

std::string SoundDaemons::socketPath(const std::string& dir)
{
    // Where PipeWire's PulseAudio server puts it by itself; PulseAudio is told.
    return dir + "/runtime/pulse/native";
}

SoundDaemons::SoundDaemons(SoundServerKind kind, const std::string& dir) : dir_(dir)
{
    const std::string runtimeDir = dir + "/runtime";
    for (const std::string& made : {runtimeDir, dir + "/config", dir + "/state"}) {
        if (mkdir(made.c_str(), 0700) != 0 && errno != EEXIST) {
            throw std::runtime_error("cannot make " + made);
        }
    }
    const std::string bus = dir + "/bus";
    EnvironmentVariables environment = {{"XDG_RUNTIME_DIR", runtimeDir},
                                        {"HOME", dir},
                                        {"XDG_CONFIG_HOME", dir + "/config"},
                                        {"XDG_STATE_HOME", dir + "/state"},
                                        {"DBUS_SESSION_BUS_ADDRESS", "unix:path=" + bus}};
    try {
        if (kind == SoundServerKind::pulseAudio) {
            // No session bus here: PulseAudio must not launch helpers that
            // would outlive it.
            start("pulseaudio",
                  {"pulseaudio", "-n", "--daemonize=no", "--exit-idle-time=-1", "--disable-shm=yes", "-L",
                   "module-native-protocol-unix socket=" + socketPath(dir)},
                  environment);
            return;
        }
        // WirePlumber, which links the streams to the sources, ends at once
        // without a session bus; PipeWire's daemons each wait for the one
        // before them.
        start("dbus-daemon", {"dbus-daemon", "--session", "--nofork", "--nopidfile", "--address=unix:path=" + bus},
              environment);
        if (!waitUntil([&] { return std::filesystem::exists(bus); })) {
            throw std::runtime_error("the session bus did not come up");
        }
        start("pipewire", {"pipewire"}, environment);
        if (!waitUntil([&] { return std::filesystem::exists(runtimeDir + "/pipewire-0"); })) {
            throw std::runtime_error("PipeWire did not come up");
        }
        start("wireplumber", {"wireplumber"}, environment);
        start("pipewire-pulse", {"pipewire-pulse"}, environment);
    } catch (const std::runtime_error& error) {
        throw std::runtime_error(std::string(error.what()) + "\n" + log());
    }
}

void SoundDaemons::start(const std::string& name, std::vector<std::string> argv,
                         const EnvironmentVariables& environment)
{
    ChildOptions options;
    options.argv = std::move(argv);
    options.environment = environment;
    options.unsetEnvironment = {"DISPLAY", "WAYLAND_DISPLAY", "PULSE_SERVER", "PIPEWIRE_REMOTE",
                                "PIPEWIRE_RUNTIME_DIR"};
    options.stdoutPath = dir_ + "/" + name + ".log";
    options.stderrPath = options.stdoutPath;
    daemons_.push_back({name, std::make_unique<ChildProcess>(options)});
}

SoundDaemons::~SoundDaemons()
{
    for (auto daemon = daemons_.rbegin(); daemon != daemons_.rend(); ++daemon) {
        daemon->process->stop();
    }
    for (const std::string& socket : {socketPath(dir_), dir_ + "/runtime/pipewire-0", dir_ + "/bus"}) {
        unlink(socket.c_str());
    }
}

std::string SoundDaemons::log() const
{
    std::string text;
    for (const Daemon& daemon : daemons_) {
        text += "--- " + daemon.name + ":\n" + readTextFile(dir_ + "/" + daemon.name + ".log");
    }
    return text;
}

} // namespace rig
