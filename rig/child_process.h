// Child processes for end-to-end tests: start a program, know its PID, wait
// for it with a deadline, signal it, and make sure it is gone when its owner
// goes away. A child is only ever stopped through the PID it was started with.
// One ChildProcess belongs to one thread at a time.
#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <sys/types.h>
#include <utility>
#include <vector>

#include "rig/wait_until.h"

namespace rig {

using EnvironmentVariables = std::vector<std::pair<std::string, std::string>>;

// Fill the fields one by one: designated initializers that leave fields out
// trip -Wmissing-field-initializers on g++ 12.
struct ChildOptions {
    // argv[0] is the program: a path, or a name looked up in PATH.
    std::vector<std::string> argv;
    // Set (or overridden) on top of this process's environment; of a name
    // given twice, the later value counts.
    EnvironmentVariables environment;
    // Removed from the inherited environment.
    std::vector<std::string> unsetEnvironment;
    // Empty keeps the current working directory.
    std::string workDir;
    // Where the child's stdout and stderr go (created or truncated); empty
    // means /dev/null. Both may name the same file.
    std::string stdoutPath;
    std::string stderrPath;
    // Instead of the paths: a descriptor of ours that becomes the child's
    // stdout or stderr (a pipe end the test reads, sharing its flags), or
    // closedStream for a child started with that stream closed; -1 for the
    // path.
    int stdoutFd = -1;
    int stderrFd = -1;
    // A descriptor of ours that the child inherits under the same number
    // (e.g. a pipe end it is told about on its command line); -1 for none.
    // Every other descriptor above 2 is closed in the child.
    int inheritFd = -1;
};

inline constexpr int closedStream = -2;

// How a child ended: its exit code, or the signal that killed it.
struct ExitStatus {
    int code = -1;  // -1 when killed by a signal
    int signal = 0; // 0 when it exited
};

class ChildProcess {
public:
    // Starts the program; throws std::runtime_error when it cannot be found
    // or started. The child is killed if the thread that started it ends
    // first, so a crashed test leaves no servers behind.
    explicit ChildProcess(const ChildOptions& options);
    // Kills (SIGKILL) and reaps the child if it is still running.
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    pid_t pid() const { return pid_; }

    // True while the child has not ended (reaps it when it has).
    bool running();

    // Waits up to timeout for the child to end; its status, or nothing when
    // it is still running at the deadline.
    std::optional<ExitStatus> waitExit(std::chrono::milliseconds timeout = rigDeadline);

    // Sends sig to the child unless it has already been reaped.
    void sendSignal(int sig);

    // SIGKILL, then reap. The status tells how it ended (it may have ended by
    // itself before).
    ExitStatus kill();

    // SIGTERM, and SIGKILL if it is still running after timeout; then reap.
    ExitStatus stop(std::chrono::milliseconds timeout = rigDeadline);

    // The status once the child has been reaped.
    std::optional<ExitStatus> exitStatus() const { return status_; }

private:
    bool reap(bool block);

    pid_t pid_ = -1;
    std::optional<ExitStatus> status_;
};

// The full path of the program when name has no slash (searched in PATH),
// else name itself; empty when not found or not executable.
std::string findExecutable(const std::string& name);

// The whole content of a file, or an empty string when it cannot be read.
// Handy for showing a child's log when a check fails.
std::string readTextFile(const std::string& path);

} // namespace rig
