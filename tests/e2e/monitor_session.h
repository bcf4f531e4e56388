// One run of a monitor program for an end-to-end test: a private X server, a
// private audio server (or none), and the program in a fresh working
// directory, its window found by PID and given the focus, the pointer resting
// over it. The session acts as the user (keys, buttons, close requests,
// signals), reads the window's pixels and the program's out.txt, and waits for
// every outcome with the rig's deadline.
//
// When the test has failed by the time the session ends, it prints the logs of
// the program and both servers and keeps them, with a screenshot of the last
// capture, under e2e-failures/<test> in the current directory. With
// EARSHOT_E2E_SHOTS set to a directory, every session leaves its last capture
// there as <test>.png. Every process is stopped by its PID when the session
// goes away, whether the test passed or not.
//
// One thread owns a session.
#pragma once

#include <chrono>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "rig/child_process.h"
#include "rig/pulse_server.h"
#include "rig/temp_dir.h"
#include "rig/x_client.h"
#include "rig/xvfb_server.h"
#include "tests/e2e/monitor_programs.h"

namespace e2e {

enum class AudioInput {
    none,           // no device at all: the program runs on silence
    sine1500,       // a 1500 Hz sine of amplitude 0.5
    pipe,           // samples the test plays through pulse()
    sineLater,      // no server yet: the test starts it with pulse().restart()
    twoSines,       // 1500 Hz, the default, and 3000 Hz, as the ALSA inputs earshot_low and earshot_high
    sineFrozen,     // a 1500 Hz sine on a server that answers nothing: the test lets it go on with pulse().thaw()
    sineSuspended,  // a 1500 Hz sine, suspended: the test resumes it with pulse().suspendSource(false)
    unreadableAlsa, // no server, and an ALSA configuration that cannot be read
};

// Writes into dir an ALSA configuration with one input per source of a
// two-sine server, earshot_low ("sine") and earshot_high ("sine2"), and
// returns the server's environment with it added.
rig::EnvironmentVariables twoInputAlsa(const std::string& dir, const rig::PulseServer& pulse);

// Looks at a captured window: an empty text when it shows what the test waits
// for, otherwise a short description of what it shows instead.
using FrameCheck = std::function<std::string(const rig::RgbImage&)>;

class MonitorSession {
public:
    // Throws std::runtime_error, with the logs, when a server or the window
    // does not come up or the window does not take the focus. adjustRun may
    // change how the program is started (its standard streams, say) just
    // before it is.
    MonitorSession(const MonitorProgram& program, AudioInput audio, const std::vector<std::string>& arguments = {},
                   const std::function<void(rig::ChildOptions&)>& adjustRun = {});
    ~MonitorSession();
    MonitorSession(const MonitorSession&) = delete;
    MonitorSession& operator=(const MonitorSession&) = delete;

    // The program's working directory, where it writes out.txt.
    const std::string& workDir() const { return dir_.path(); }
    std::string dumpPath() const { return workDir() + "/out.txt"; }

    // The audio server; only for AudioInput::pipe may the test play on it.
    rig::PulseServer& pulse();

    // Captures the window until one capture passes check; that capture is
    // then frame(). Fails, saying what the last capture showed, when none does
    // within timeout or the program ends first.
    testing::AssertionResult waitForFrame(const std::string& expectation, const FrameCheck& check,
                                          std::chrono::milliseconds timeout = rig::rigDeadline);
    const rig::RgbImage& frame() const { return frame_; }

    // The same, for a frame that the window still shows unchanged at least
    // `settle` later, when a steady input has been drawn again: frames come
    // about every 100 ms, and a frame just after a change of the input may
    // still hold some of the old samples.
    testing::AssertionResult waitForSteadyFrame(const std::string& expectation, const FrameCheck& check,
                                                std::chrono::milliseconds settle = std::chrono::milliseconds(400));

    // A capture right now (also kept for the failure screenshot).
    rig::RgbImage capture();

    void typeKey(rig::KeySymbol key, const std::vector<rig::KeySymbol>& modifiers = {});
    // X buttons: 1 left, 3 right. The pointer rests over the window.
    void pressButton(int button);
    void releaseButton(int button);
    // Moves the pointer to (x, y) of the window's client area; a point
    // outside the area takes the pointer off the window.
    void movePointer(int x, int y);
    // Gives the keyboard focus to a small window of the rig's own, as when
    // the user turns to another program, or back to the program's window;
    // each waits until the focus has moved.
    testing::AssertionResult focusElsewhere();
    testing::AssertionResult focusProgram();
    // What a window manager sends when the close button is clicked.
    void requestClose();
    void sendSignal(int signal);

    bool running();
    bool windowExists();

    // The process that was started: the program itself, or its launcher.
    pid_t pid() const { return child_->pid(); }

    // Waits up to timeout for the program to end by itself; fails unless it
    // exits with code and its log holds no sanitizer report.
    testing::AssertionResult waitForCleanExit(int code = 0, std::chrono::milliseconds timeout = rig::rigDeadline);

    // Waits up to timeout for the program to end in any way; how it ended.
    std::optional<rig::ExitStatus> waitForEnd(std::chrono::milliseconds timeout);

    // What the program has written to its standard output and error.
    std::string output() const;

    // Ends the X server under the program, as when the desktop session ends.
    // From then on the session no longer looks at the window.
    void endDisplay();

    // The bytes of out.txt; empty when there is none.
    std::string readDump() const;

    // Makes out.txt a named pipe before the program ends: its exit then waits
    // in the open of out.txt, the window still showing the last frame, until
    // readDumpPipe takes what it writes (all of it, up to its close; through
    // the reader of waitForExitInDumpPipe when there is one).
    void makeDumpPipe();
    testing::AssertionResult readDumpPipe(std::string& dump);

    // For a named pipe out.txt: opens it for reading with room for one page
    // only, and waits until the program's exit has written into it. The exit
    // then waits for the test to read on, which it never does.
    testing::AssertionResult waitForExitInDumpPipe();

private:
    std::string programLog() const { return workDir() + "/" + program_.name + ".log"; }
    std::string xvfbLog() const { return workDir() + "/xvfb.log"; }
    std::string diagnostics();
    void keepFailureArtefacts();

    const MonitorProgram& program_;
    rig::TempDir dir_;
    std::unique_ptr<rig::XvfbServer> xvfb_;
    std::unique_ptr<rig::PulseServer> pulse_;
    std::unique_ptr<rig::ChildProcess> child_;
    std::unique_ptr<rig::XClient> client_;
    rig::XWindowId window_ = 0;
    rig::RgbImage frame_;
    rig::RgbImage lastCapture_;
    int dumpReader_ = -1;
};

} // namespace e2e
