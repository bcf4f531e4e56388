// A private X server for end-to-end tests: an Xvfb on a free display, with a
// 1280 x 800 screen of 24-bit colour and no TCP listener. It does not reset
// when its last client leaves. It is stopped by its PID when the object goes
// away, politely first so that it removes its lock file and socket. One thread
// owns the object.
#pragma once

#include <memory>
#include <string>
#include <sys/types.h>

#include "rig/child_process.h"

namespace rig {

class XvfbServer {
public:
    // Starts Xvfb, which picks a free display itself, and returns once the
    // server accepts connections. Its output goes to logPath (empty: nowhere).
    // Throws std::runtime_error when it does not come up within rigDeadline.
    explicit XvfbServer(const std::string& logPath = "");
    ~XvfbServer();
    XvfbServer(const XvfbServer&) = delete;
    XvfbServer& operator=(const XvfbServer&) = delete;

    // The display name, ":N".
    const std::string& displayName() const { return displayName_; }

    // What a program needs to show its windows on this server: DISPLAY, and
    // no message bus. A desktop session has one; here the window platform
    // would otherwise try to start a bus daemon that nobody stops, or leak
    // its failed connection.
    EnvironmentVariables environment() const
    {
        return {{"DISPLAY", displayName_},
                {"DBUS_SESSION_BUS_ADDRESS", "disabled:"},
                {"DBUS_SYSTEM_BUS_ADDRESS", "disabled:"}};
    }

    pid_t pid() const { return process_->pid(); }

private:
    std::string displayName_;
    std::unique_ptr<ChildProcess> process_;
};

} // namespace rig
