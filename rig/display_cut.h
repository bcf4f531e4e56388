// A display that goes away while a program starts: a stand-in X display that
// passes each connection on to a real X server until the program has its
// connection set up, then cuts it at the program's first request. The
// program sees its display vanish in the first milliseconds, before its
// window exists. The object owns one thread, which it stops and joins when
// it goes away, with the display's socket and lock file.
#pragma once

#include <atomic>
#include <string>
#include <thread>

namespace rig {

class DisplayCut {
public:
    // Claims a free display number and listens on it; every connection is
    // passed on to the X server of realDisplay (":N"). Throws
    // std::runtime_error when no display can be claimed.
    explicit DisplayCut(const std::string& realDisplay);
    ~DisplayCut();
    DisplayCut(const DisplayCut&) = delete;
    DisplayCut& operator=(const DisplayCut&) = delete;

    // The stand-in's display name, ":N".
    const std::string& displayName() const { return displayName_; }

    // Connections the program has made so far (each then cut).
    int connections() const { return connections_.load(); }

private:
    void serve();

    std::string displayName_;
    std::string socketPath_;
    std::string lockPath_;
    std::string realSocketPath_;
    int listener_ = -1;
    std::atomic<bool> stopping_{false};
    std::atomic<int> connections_{0};
    std::thread thread_;
};

} // namespace rig
