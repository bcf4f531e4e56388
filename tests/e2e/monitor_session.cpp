#include "tests/e2e/monitor_session.h"

#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <poll.h>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

#include "rig/png_file.h"
#include "tests/e2e/tones.h"

namespace e2e {

namespace {

// The end of a log is what tells why a program failed; the start of one that
// ran without audio is a hundred lines of device-scan noise.
constexpr size_t shownLogTail = 6000;

std::string tail(const std::string& text)
{
    return text.size() <= shownLogTail ? text : "[...]\n" + text.substr(text.size() - shownLogTail);
}

// Suite.Test/Param as a file name.
std::string currentTestName()
{
    const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
    std::string name = test == nullptr ? "no-test" : std::string(test->test_suite_name()) + "." + test->name();
    for (char& c : name) {
        if (c == '/') {
            c = '_';
        }
    }
    return name;
}

std::string describe(const rig::ExitStatus& status)
{
    return status.signal != 0 ? "was killed by signal " + std::to_string(status.signal)
                              : "exited with code " + std::to_string(status.code);
}

} // namespace

rig::EnvironmentVariables twoInputAlsa(const std::string& dir, const rig::PulseServer& pulse)
{
    const std::string path = dir + "/alsa.conf";
    std::ofstream(path) << "pcm.earshot_low { type pulse; device \"sine\"; }\n"
                           "pcm.earshot_high { type pulse; device \"sine2\"; }\n";
    return pulse.environment(path);
}

MonitorSession::MonitorSession(const MonitorProgram& program, AudioInput audio,
                               const std::vector<std::string>& arguments,
                               const std::function<void(rig::ChildOptions&)>& adjustRun)
    : program_(program)
{
    xvfb_ = std::make_unique<rig::XvfbServer>(xvfbLog());
    rig::ChildOptions options;
    options.argv = program.launcher;
    options.argv.push_back(program.path);
    options.argv.insert(options.argv.end(), arguments.begin(), arguments.end());
    options.environment = program.environment;
    const rig::EnvironmentVariables display = xvfb_->environment();
    options.environment.insert(options.environment.end(), display.begin(), display.end());
    if (audio == AudioInput::none || audio == AudioInput::unreadableAlsa) {
        rig::EnvironmentVariables noAudio = rig::noAudioEnvironment();
        if (audio == AudioInput::unreadableAlsa) {
            noAudio.emplace_back("ALSA_CONFIG_PATH", "/nonexistent/earshot-alsa.conf");
        }
        options.environment.insert(options.environment.end(), noAudio.begin(), noAudio.end());
    } else {
        const bool fedSine = audio == AudioInput::sine1500 && program.feedsSine;
        const rig::SineSource sine{1500, audio == AudioInput::twoSines ? 3000 : 0};
        pulse_ = audio == AudioInput::pipe || fedSine ? std::make_unique<rig::PulseServer>(rig::PipeSource{})
                                                      : std::make_unique<rig::PulseServer>(sine);
        if (fedSine) {
            pulse_->playSignal(sineSourceSample);
        }
        if (audio == AudioInput::sineLater) {
            pulse_->stop();
        }
        if (audio == AudioInput::sineFrozen) {
            pulse_->freeze();
        }
        if (audio == AudioInput::sineSuspended && !pulse_->suspendSource(true)) {
            throw std::runtime_error("the source could not be suspended\n" + pulse_->log());
        }
        const rig::EnvironmentVariables served =
            audio == AudioInput::twoSines ? twoInputAlsa(workDir(), *pulse_) : pulse_->environment();
        options.environment.insert(options.environment.end(), served.begin(), served.end());
    }
    options.workDir = workDir();
    options.stdoutPath = programLog();
    options.stderrPath = programLog();
    if (adjustRun) {
        adjustRun(options);
    }
    child_ = std::make_unique<rig::ChildProcess>(options);
    client_ = std::make_unique<rig::XClient>(xvfb_->displayName());
    window_ = client_->findWindowByPid(child_->pid());
    if (window_ == 0) {
        throw std::runtime_error("no window of " + program_.name + " appeared\n" + diagnostics());
    }
    if (!client_->focusWindow(window_)) {
        throw std::runtime_error("the window of " + program_.name + " did not take the focus\n" + diagnostics());
    }
    client_->movePointer(window_, windowWidth / 2, windowHeight / 2);
}

MonitorSession::~MonitorSession()
{
    if (dumpReader_ >= 0) {
        close(dumpReader_);
    }
    try {
        if (lastCapture_.width == 0 && child_->running()) {
            capture();
        }
        const char* shots = std::getenv("EARSHOT_E2E_SHOTS");
        if (shots != nullptr && *shots != '\0' && lastCapture_.width > 0) {
            std::filesystem::create_directories(shots);
            rig::writePng(std::string(shots) + "/" + currentTestName() + ".png", lastCapture_);
        }
        if (testing::Test::HasFailure()) {
            keepFailureArtefacts();
        }
    } catch (const std::exception& error) {
        std::cerr << "e2e: could not keep the session's artefacts: " << error.what() << "\n";
    }
}

rig::PulseServer& MonitorSession::pulse()
{
    if (!pulse_) {
        throw std::logic_error("this session has no audio server");
    }
    return *pulse_;
}

rig::RgbImage MonitorSession::capture()
{
    if (client_) {
        lastCapture_ = client_->capture(window_);
    }
    return lastCapture_;
}

testing::AssertionResult MonitorSession::waitForFrame(const std::string& expectation, const FrameCheck& check,
                                                      std::chrono::milliseconds timeout)
{
    std::string seen = "no capture";
    bool ended = false;
    const bool done = rig::waitUntil(
        [&] {
            if (!child_->running()) {
                ended = true;
                return true;
            }
            rig::RgbImage image = capture();
            seen = check(image);
            if (seen.empty()) {
                frame_ = std::move(image);
                return true;
            }
            return false;
        },
        timeout);
    if (done && !ended) {
        return testing::AssertionSuccess();
    }
    testing::AssertionResult failure = testing::AssertionFailure();
    failure << "waiting for " << expectation << ": ";
    if (ended) {
        failure << program_.name << " " << describe(*child_->exitStatus()) << " first";
    } else {
        failure << "no capture in " << timeout.count() << " ms showed it";
    }
    return failure << "; the last capture showed: " << seen;
}

testing::AssertionResult MonitorSession::waitForSteadyFrame(const std::string& expectation, const FrameCheck& check,
                                                            std::chrono::milliseconds settle)
{
    const auto deadline = std::chrono::steady_clock::now() + rig::rigDeadline;
    testing::AssertionResult found = waitForFrame(expectation, check);
    rig::RgbImage first = frame_;
    auto firstSeen = std::chrono::steady_clock::now();
    while (found) {
        const auto now = std::chrono::steady_clock::now();
        if (now >= deadline) {
            return testing::AssertionFailure() << "waiting for " << expectation << ": the window kept changing";
        }
        found = waitForFrame(expectation, check, std::chrono::duration_cast<std::chrono::milliseconds>(deadline - now));
        if (found && frame_.rgb != first.rgb) {
            first = frame_;
            firstSeen = std::chrono::steady_clock::now();
        } else if (found && std::chrono::steady_clock::now() - firstSeen >= settle) {
            return found;
        }
    }
    return found;
}

void MonitorSession::typeKey(rig::KeySymbol key, const std::vector<rig::KeySymbol>& modifiers)
{
    client_->typeKey(key, modifiers);
}

void MonitorSession::pressButton(int button)
{
    client_->pressButton(button);
}

void MonitorSession::releaseButton(int button)
{
    client_->releaseButton(button);
}

void MonitorSession::movePointer(int x, int y)
{
    client_->movePointer(window_, x, y);
}

testing::AssertionResult MonitorSession::focusElsewhere()
{
    if (client_->focusOtherWindow() == 0) {
        return testing::AssertionFailure() << "the rig's own window did not take the focus from " << program_.name;
    }
    return testing::AssertionSuccess();
}

testing::AssertionResult MonitorSession::focusProgram()
{
    if (!client_->focusWindow(window_)) {
        return testing::AssertionFailure() << "the window of " << program_.name << " did not take the focus back";
    }
    return testing::AssertionSuccess();
}

void MonitorSession::requestClose()
{
    client_->requestClose(window_);
}

void MonitorSession::sendSignal(int signal)
{
    child_->sendSignal(signal);
}

bool MonitorSession::running()
{
    return child_->running();
}

bool MonitorSession::windowExists()
{
    return client_->windowExists(window_);
}

testing::AssertionResult MonitorSession::waitForCleanExit(int code, std::chrono::milliseconds timeout)
{
    const std::optional<rig::ExitStatus> status = child_->waitExit(timeout);
    if (!status) {
        return testing::AssertionFailure() << program_.name << " still runs after " << timeout.count() << " ms";
    }
    if (status->signal != 0 || status->code != code) {
        return testing::AssertionFailure() << program_.name << " " << describe(*status) << ", not " << code;
    }
    const std::string log = rig::readTextFile(programLog());
    for (const char* report : {"Sanitizer", "runtime error:"}) {
        const size_t at = log.find(report);
        if (at != std::string::npos) {
            return testing::AssertionFailure()
                   << program_.name << " exited with code " << code << " but its log reports:\n"
                   << log.substr(at > 200 ? at - 200 : 0, 2000);
        }
    }
    return testing::AssertionSuccess();
}

std::optional<rig::ExitStatus> MonitorSession::waitForEnd(std::chrono::milliseconds timeout)
{
    return child_->waitExit(timeout);
}

std::string MonitorSession::output() const
{
    return rig::readTextFile(programLog());
}

void MonitorSession::endDisplay()
{
    // The rig's own connection goes first: Xlib would end this process when
    // its server vanished under it.
    client_.reset();
    xvfb_.reset();
}

std::string MonitorSession::readDump() const
{
    return rig::readTextFile(dumpPath());
}

void MonitorSession::makeDumpPipe()
{
    if (mkfifo(dumpPath().c_str(), 0644) != 0) {
        throw std::runtime_error("cannot make the named pipe " + dumpPath());
    }
}

testing::AssertionResult MonitorSession::readDumpPipe(std::string& dump)
{
    dump.clear();
    const int pipe = dumpReader_ >= 0 ? dumpReader_ : open(dumpPath().c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    dumpReader_ = -1;
    if (pipe < 0) {
        return testing::AssertionFailure() << "cannot open " << dumpPath();
    }
    // A pipe reports its end (POLLHUP) only once a writer has come and gone.
    const bool done = rig::waitUntil([&] {
        pollfd entry{pipe, POLLIN, 0};
        if (poll(&entry, 1, 0) <= 0) {
            return false;
        }
        char block[4096];
        ssize_t got = 0;
        while ((got = read(pipe, block, sizeof block)) > 0) {
            dump.append(block, static_cast<size_t>(got));
        }
        return got == 0 && (entry.revents & POLLHUP) != 0;
    });
    close(pipe);
    if (!done) {
        return testing::AssertionFailure() << program_.name << " did not write and close out.txt within "
                                           << rig::rigDeadline.count() << " ms; " << dump.size() << " bytes came";
    }
    return testing::AssertionSuccess();
}

testing::AssertionResult MonitorSession::waitForExitInDumpPipe()
{
    dumpReader_ = open(dumpPath().c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (dumpReader_ < 0 || fcntl(dumpReader_, F_SETPIPE_SZ, 4096) < 0) {
        return testing::AssertionFailure() << "cannot read " << dumpPath() << " through a one-page pipe";
    }
    const bool written = rig::waitUntil([&] {
        pollfd entry{dumpReader_, POLLIN, 0};
        return poll(&entry, 1, 0) > 0 && (entry.revents & POLLIN) != 0;
    });
    if (!written) {
        return testing::AssertionFailure()
               << program_.name << " did not begin to write out.txt within " << rig::rigDeadline.count() << " ms";
    }
    return testing::AssertionSuccess();
}

std::string MonitorSession::diagnostics()
{
    std::string text = "--- " + program_.name + " log:\n" + tail(rig::readTextFile(programLog()));
    text += "--- Xvfb log:\n" + tail(rig::readTextFile(xvfbLog()));
    if (pulse_) {
        text += std::string("--- ") + rig::soundServerName(pulse_->kind()) + " log:\n" + tail(pulse_->log());
    }
    return text;
}

void MonitorSession::keepFailureArtefacts()
{
    namespace fs = std::filesystem;
    const fs::path kept = fs::current_path() / "e2e-failures" / currentTestName();
    fs::create_directories(kept);
    if (child_->running()) {
        capture();
    }
    if (lastCapture_.width > 0) {
        rig::writePng((kept / "last-capture.png").string(), lastCapture_);
    }
    if (frame_.width > 0) {
        rig::writePng((kept / "last-awaited-frame.png").string(), frame_);
    }
    for (const fs::path& file : {fs::path(programLog()), fs::path(xvfbLog()), fs::path(dumpPath())}) {
        std::error_code ignored;
        fs::copy_file(file, kept / file.filename(), fs::copy_options::overwrite_existing, ignored);
    }
    std::cerr << diagnostics() << "--- screenshots and logs kept in " << kept.string() << "\n";
}

} // namespace e2e
