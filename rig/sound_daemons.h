// The daemons behind a private sound server that speaks PulseAudio's protocol:
// PulseAudio itself, or PipeWire with its PulseAudio server, WirePlumber and
// the session bus WirePlumber needs. All of them run as children of the test
// with a private runtime directory, home and configuration, so they touch
// neither the machine's nor the developer's desktop sound, and they are
// stopped by their PIDs. Construct, use and destroy on one thread.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "rig/child_process.h"

namespace rig {

enum class SoundServerKind { pulseAudio, pipeWire };

// PipeWire where its PulseAudio server is installed: that is the desktop's
// sound there, and PulseAudio may be missing and must not be installed.
// PulseAudio everywhere else.
SoundServerKind installedSoundServer();

// "PulseAudio" or "PipeWire", for messages.
const char* soundServerName(SoundServerKind kind);

class SoundDaemons {
public:
    // Starts the daemons of that kind with everything they keep under dir,
    // and returns once the last one is started (not yet answering; ask it
    // over the socket). Throws std::runtime_error with the logs when one
    // cannot start.
    SoundDaemons(SoundServerKind kind, const std::string& dir);
    // Stops them (politely, then by force), the last started first, and
    // removes the sockets that a killed daemon leaves behind.
    ~SoundDaemons();
    SoundDaemons(const SoundDaemons&) = delete;
    SoundDaemons& operator=(const SoundDaemons&) = delete;

    // The socket that clients of the PulseAudio protocol connect to. The same
    // for every start in the same dir.
    static std::string socketPath(const std::string& dir);

    // The PID of the daemon that clients talk to.
    pid_t pid() const { return daemons_.back().process->pid(); }

    // What every daemon has logged so far, each under its name.
    std::string log() const;

private:
    struct Daemon {
        std::string name;
        std::unique_ptr<ChildProcess> process;
    };
    void start(const std::string& name, std::vector<std::string> argv, const EnvironmentVariables& environment);

    std::string dir_;
    std::vector<Daemon> daemons_;
};

} // namespace rig
