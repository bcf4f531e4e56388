#include "rig/display_cut.h"

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <stdexcept>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include "rig/wait_until.h"

namespace rig {

namespace {

constexpr int firstDisplay = 100;
constexpr int lastDisplay = 999;

std::string socketOf(int display)
{
    return "/tmp/.X11-unix/X" + std::to_string(display);
}

int unixSocket(const std::string& path, bool listen)
{
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    path.copy(address.sun_path, sizeof address.sun_path - 1);
    const auto* at = reinterpret_cast<const sockaddr*>(&address);
    const bool ready = fd >= 0 && (listen ? bind(fd, at, sizeof address) == 0 && ::listen(fd, 8) == 0
                                          : connect(fd, at, sizeof address) == 0);
    if (!ready && fd >= 0) {
        close(fd);
        return -1;
    }
    return fd;
}

// Passes bytes between the program and the server until the program sends
// anything after the server's first reply (the connection's set-up), then
// closes both ends.
void passUntilFirstRequest(int program, int server)
{
    bool setUp = false;
    char block[65536];
    for (;;) {
        pollfd ends[2] = {{program, POLLIN, 0}, {server, POLLIN, 0}};
        if (poll(ends, 2, static_cast<int>(rigDeadline.count())) <= 0) {
            return;
        }
        for (int side = 0; side < 2; ++side) {
            if (ends[side].revents == 0) {
                continue;
            }
            const ssize_t got = read(ends[side].fd, block, sizeof block);
            if (got <= 0 || (side == 0 && setUp)) {
                return;
            }
            setUp = setUp || side == 1;
            if (write(ends[1 - side].fd, block, static_cast<size_t>(got)) != got) {
                return;
            }
        }
    }
}

} // namespace

DisplayCut::DisplayCut(const std::string& realDisplay) : realSocketPath_(socketOf(std::stoi(realDisplay.substr(1))))
{
    // An X server claims its number with a lock file; so does the stand-in.
    for (int display = firstDisplay; display <= lastDisplay && listener_ < 0; ++display) {
        const std::string lock = "/tmp/.X" + std::to_string(display) + "-lock";
        const int lockFd = open(lock.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0444);
        if (lockFd < 0) {
            continue;
        }
        close(lockFd);
        unlink(socketOf(display).c_str());
        listener_ = unixSocket(socketOf(display), true);
        if (listener_ < 0) {
            unlink(lock.c_str());
            continue;
        }
        displayName_ = std::string(":").append(std::to_string(display));
        socketPath_ = socketOf(display);
        lockPath_ = lock;
    }
    if (listener_ < 0) {
        throw std::runtime_error("no free display number for a stand-in display");
    }
    thread_ = std::thread(&DisplayCut::serve, this);
}

DisplayCut::~DisplayCut()
{
    stopping_ = true;
    thread_.join();
    close(listener_);
    unlink(socketPath_.c_str());
    unlink(lockPath_.c_str());
}

void DisplayCut::serve()
{
    while (!stopping_) {
        pollfd entry{listener_, POLLIN, 0};
        if (poll(&entry, 1, static_cast<int>(rigPollInterval.count())) <= 0) {
            continue;
        }
        const int program = accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
        if (program < 0) {
            continue;
        }
        const int server = unixSocket(realSocketPath_, false);
        if (server >= 0) {
            passUntilFirstRequest(program, server);
            close(server);
        }
        close(program);
        ++connections_;
    }
}

} // namespace rig
