#include "rig/xvfb_server.h"

#include <X11/Xlib.h>
#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <poll.h>
#include <stdexcept>
#include <unistd.h>

namespace rig {

namespace {

// Reads the display number that Xvfb writes, up to its newline; empty when
// the pipe closes or the deadline passes first.
std::string readDisplayNumber(int fd)
{
    const auto deadline = std::chrono::steady_clock::now() + rigDeadline;
    std::string number;
    while (std::chrono::steady_clock::now() < deadline) {
        pollfd entry{fd, POLLIN, 0};
        const int ready = poll(&entry, 1, static_cast<int>(rigPollInterval.count()));
        if (ready < 0 && errno != EINTR) {
            return {};
        }
        if (ready <= 0) {
            continue;
        }
        char c = 0;
        const ssize_t got = read(fd, &c, 1);
        if (got == 0 || (got < 0 && errno != EINTR && errno != EAGAIN)) {
            return {};
        }
        if (got == 1 && c == '\n') {
            return number;
        }
        if (got == 1) {
            number += c;
        }
    }
    return {};
}

bool acceptsConnections(const std::string& displayName)
{
    Display* display = XOpenDisplay(displayName.c_str());
    if (display == nullptr) {
        return false;
    }
    XCloseDisplay(display);
    return true;
}

} // namespace

XvfbServer::XvfbServer(const std::string& logPath)
{
    int fds[2] = {-1, -1};
    if (pipe2(fds, O_CLOEXEC) != 0) {
        throw std::runtime_error("pipe failed");
    }
    ChildOptions options;
    options.argv = {"Xvfb", "-displayfd", std::to_string(fds[1]), "-screen", "0", "1280x800x24", "-nolisten",
                    "tcp",  "-noreset"};
    options.stdoutPath = logPath;
    options.stderrPath = logPath;
    options.inheritFd = fds[1];
    try {
        process_ = std::make_unique<ChildProcess>(options);
    } catch (...) {
        close(fds[0]);
        close(fds[1]);
        throw;
    }
    close(fds[1]);
    const std::string number = readDisplayNumber(fds[0]);
    close(fds[0]);
    if (number.empty()) {
        const std::string log = logPath.empty() ? std::string() : ":\n" + readTextFile(logPath);
        throw std::runtime_error("Xvfb did not report a display" + log);
    }
    displayName_ = ":" + number;
    if (!waitUntil([this] { return acceptsConnections(displayName_); })) {
        throw std::runtime_error("Xvfb on " + displayName_ + " does not accept connections");
    }
}

XvfbServer::~XvfbServer()
{
    process_->stop();
}

} // namespace rig
