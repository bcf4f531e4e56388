#include "rig/child_process.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace rig {

namespace {

std::vector<std::string> mergedEnvironment(const EnvironmentVariables& extra, const std::vector<std::string>& unset)
{
    std::vector<std::string> merged;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string text = *entry;
        const std::string name = text.substr(0, text.find('='));
        bool overridden = std::find(unset.begin(), unset.end(), name) != unset.end();
        for (const auto& [key, value] : extra) {
            overridden = overridden || key == name;
        }
        if (!overridden) {
            merged.push_back(text);
        }
    }
    // A name given twice takes its later value.
    for (auto entry = extra.begin(); entry != extra.end(); ++entry) {
        const bool setAgain =
            std::any_of(entry + 1, extra.end(), [&](const auto& later) { return later.first == entry->first; });
        if (!setAgain) {
            merged.push_back(entry->first + "=" + entry->second);
        }
    }
    return merged;
}

std::vector<char*> pointersTo(std::vector<std::string>& strings)
{
    std::vector<char*> pointers;
    for (auto& text : strings) {
        pointers.push_back(text.data());
    }
    pointers.push_back(nullptr);
    return pointers;
}

// Runs in the forked child: only async-signal-safe calls until execve.
[[noreturn]] void execChild(const char* path, char* const* argv, char* const* envp, const char* workDir,
                            const char* stdoutPath, const char* stderrPath, int stdoutFd, int stderrFd, int inheritFd,
                            pid_t parent)
{
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != parent) {
        _exit(127);
    }
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);
    if (workDir[0] != '\0' && chdir(workDir) != 0) {
        _exit(127);
    }
    const int devNull = open("/dev/null", O_RDWR);
    const int out = stdoutFd >= 0           ? stdoutFd
                    : stdoutPath[0] != '\0' ? open(stdoutPath, O_WRONLY | O_CREAT | O_TRUNC | O_APPEND, 0644)
                                            : devNull;
    const bool sameFile = stdoutFd == -1 && stderrPath[0] != '\0' && std::strcmp(stdoutPath, stderrPath) == 0;
    const int err =
        stderrFd >= 0 ? stderrFd
        : sameFile
            ? out
            : (stderrPath[0] != '\0' ? open(stderrPath, O_WRONLY | O_CREAT | O_TRUNC | O_APPEND, 0644) : devNull);
    if (devNull < 0 || out < 0 || err < 0 || dup2(devNull, 0) < 0 || dup2(out, 1) < 0 || dup2(err, 2) < 0) {
        _exit(127);
    }
    if (inheritFd >= 0) {
        if (inheritFd > 3) {
            close_range(3, static_cast<unsigned>(inheritFd) - 1, 0);
        }
        close_range(static_cast<unsigned>(inheritFd) + 1, ~0U, 0);
        fcntl(inheritFd, F_SETFD, 0);
    } else {
        close_range(3, ~0U, 0);
    }
    if (stdoutFd == closedStream) {
        close(1);
    }
    if (stderrFd == closedStream) {
        close(2);
    }
    execve(path, argv, envp);
    _exit(127);
}

} // namespace

std::string findExecutable(const std::string& name)
{
    if (name.find('/') != std::string::npos) {
        return access(name.c_str(), X_OK) == 0 ? name : std::string();
    }
    const char* pathVariable = std::getenv("PATH");
    std::stringstream directories(pathVariable != nullptr ? pathVariable : "/usr/local/bin:/usr/bin:/bin");
    std::string directory;
    while (std::getline(directories, directory, ':')) {
        const std::string candidate = (directory.empty() ? "." : directory) + "/" + name;
        if (access(candidate.c_str(), X_OK) == 0) {
            return candidate;
        }
    }
    return {};
}

std::string readTextFile(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    std::stringstream content;
    content << file.rdbuf();
    return content.str();
}

ChildProcess::ChildProcess(const ChildOptions& options)
{
    if (options.argv.empty()) {
        throw std::runtime_error("no program given");
    }
    const std::string path = findExecutable(options.argv[0]);
    if (path.empty()) {
        throw std::runtime_error("program not found: " + options.argv[0]);
    }
    std::vector<std::string> argvStrings = options.argv;
    std::vector<std::string> envStrings = mergedEnvironment(options.environment, options.unsetEnvironment);
    const std::vector<char*> argv = pointersTo(argvStrings);
    const std::vector<char*> envp = pointersTo(envStrings);
    const pid_t parent = getpid();
    pid_ = fork();
    if (pid_ < 0) {
        throw std::runtime_error(std::string("fork failed: ") + std::strerror(errno));
    }
    if (pid_ == 0) {
        execChild(path.c_str(), argv.data(), envp.data(), options.workDir.c_str(), options.stdoutPath.c_str(),
                  options.stderrPath.c_str(), options.stdoutFd, options.stderrFd, options.inheritFd, parent);
    }
}

ChildProcess::~ChildProcess()
{
    kill();
}

bool ChildProcess::reap(bool block)
{
    if (status_) {
        return true;
    }
    int raw = 0;
    pid_t result = -1;
    do {
        result = waitpid(pid_, &raw, block ? 0 : WNOHANG);
    } while (result < 0 && errno == EINTR);
    if (result == 0) {
        return false;
    }
    ExitStatus status;
    if (result == pid_ && WIFEXITED(raw)) {
        status.code = WEXITSTATUS(raw);
    } else if (result == pid_ && WIFSIGNALED(raw)) {
        status.signal = WTERMSIG(raw);
    }
    status_ = status;
    return true;
}

bool ChildProcess::running()
{
    return !reap(false);
}

std::optional<ExitStatus> ChildProcess::waitExit(std::chrono::milliseconds timeout)
{
    waitUntil([this] { return reap(false); }, timeout);
    return status_;
}

void ChildProcess::sendSignal(int sig)
{
    if (!status_) {
        ::kill(pid_, sig);
    }
}

ExitStatus ChildProcess::kill()
{
    if (!status_) {
        ::kill(pid_, SIGKILL);
        reap(true);
    }
    return *status_;
}

ExitStatus ChildProcess::stop(std::chrono::milliseconds timeout)
{
    sendSignal(SIGTERM);
    waitExit(timeout);
    return kill();
}

} // namespace rig
