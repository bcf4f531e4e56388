// When the sound server, the display or the exit goes wrong, and what wavemon
// and specmon meet at start-up: they say so in a line of their own and run
// on (or end, with a line and a status); they never hang, never die.
#include <gtest/gtest.h>

#include <X11/keysym.h>
#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <set>
#include <sstream>
#include <tuple>

#include "rig/display_cut.h"
#include "rig/xvfb_server.h"
#include "tests/e2e/dump_file.h"
#include "tests/e2e/monitor_checks.h"

namespace {

using e2e::AudioInput;
using e2e::bothMonitors;
using e2e::endBy;
using e2e::Ended;
using e2e::ExitWay;
using e2e::exitWayNames;
using e2e::Monitor;
using e2e::monitorName;
using e2e::MonitorProgram;
using e2e::MonitorSession;
using e2e::runToEnd;
using e2e::saysLine;
using e2e::showsSilence;

class MonitorFailureTest : public testing::TestWithParam<Monitor> {
protected:
    void SetUp() override
    {
        if (program.underWine) {
            GTEST_SKIP() << "under Wine the sound server and the display sit behind Wine's own drivers, and a "
                            "signal or a named pipe does not reach the program as on Linux";
        }
    }

    // Waits for a complete frame of a tone that the dump, taken later, holds
    // as well.
    testing::AssertionResult showsInput(MonitorSession& session)
    {
        return session.waitForFrame("a frame of the input's tone", program.showsTone);
    }

    const MonitorProgram& program = e2e::programOf(GetParam());
};

TEST_P(MonitorFailureTest, ASoundServerThatRestartsWithAnotherToneIsShownAfterSilence)
{
    MonitorSession session(program, AudioInput::sine1500);
    ASSERT_TRUE(showsInput(session));
    session.pulse().stop();
    ASSERT_TRUE(showsSilence(session, program));
    EXPECT_TRUE(saysLine(session, program, "audio input lost ("));
    session.pulse().restart(rig::SineSource{440});
    ASSERT_TRUE(showsInput(session));
    EXPECT_TRUE(saysLine(session, program, "audio input back\n"));
    session.typeKey(XK_Escape);
    ASSERT_TRUE(session.waitForCleanExit());
    EXPECT_NEAR(e2e::dumpedToneHz(GetParam(), session.readDump()), 440.0, 30.0);
    // The audio libraries' own complaints stay off the terminal.
    std::istringstream output(session.output());
    for (std::string line; std::getline(output, line);) {
        EXPECT_TRUE(line.starts_with(program.name + ": ")) << line;
    }
}

// An exit stuck on an out.txt that nobody reads: the first signal after the
// exit began ends the program at once, whether a signal or Escape began it.
TEST_P(MonitorFailureTest, ASignalEndsAStuckExitAtOnceWhateverBeganIt)
{
    for (const ExitWay began : {ExitWay::sigterm, ExitWay::escape}) {
        MonitorSession session(program, AudioInput::none);
        session.makeDumpPipe();
        ASSERT_TRUE(showsSilence(session, program));
        endBy(session, began);
        ASSERT_TRUE(session.waitForExitInDumpPipe());
        session.sendSignal(SIGINT);
        const std::optional<rig::ExitStatus> status = session.waitForEnd(std::chrono::seconds(1));
        ASSERT_TRUE(status) << "after " << exitWayNames[static_cast<int>(began)];
        EXPECT_EQ(status->signal, SIGINT) << "after " << exitWayNames[static_cast<int>(began)];
    }
}

TEST_P(MonitorFailureTest, TheDisplayGoingAwayEndsItWithinTwoSecondsAndTheDumpIsWritten)
{
    MonitorSession session(program, AudioInput::none);
    ASSERT_TRUE(showsSilence(session, program));
    session.endDisplay();
    ASSERT_TRUE(session.waitForCleanExit(1, std::chrono::seconds(2)));
    EXPECT_TRUE(e2e::sameDump(session.readDump(), e2e::uniformDump(program.dumpLines, program.silentValue)));
    EXPECT_TRUE(saysLine(session, program, "lost the connection to the display; writing out.txt and ending\n"));
}

// Start-up: whatever the program meets, it says so in a line of its own and
// runs on (or ends, with a line and a status); it never hangs, never dies.

// An input missing at start, for want of a server, of one that answers, or
// of samples: the program tells why, shows silence, and finds the input once
// it comes, then dumps it.
TEST_P(MonitorFailureTest, AnInputMissingAtStartIsToldAndFoundOnceItComes)
{
    struct Case {
        AudioInput audio;
        std::string said;
        std::function<void(MonitorSession&)> bringBack;
    };
    const Case cases[] = {
        {AudioInput::sineLater, "no audio input (Device unavailable); showing silence until one appears\n",
         [](MonitorSession& session) { session.pulse().restart(rig::SineSource{1500}); }},
        {AudioInput::sineFrozen,
         "no audio input (the sound server does not answer); showing silence until one appears\n",
         [this](MonitorSession& session) {
             // The command line gives up on such a server after the same wait.
             const rig::TempDir dir;
             const Ended list = runToEnd(program, {"--list-inputs"}, dir.path(), session.pulse().environment());
             EXPECT_EQ(list.code, 1);
             EXPECT_NE(
                 list.err.find(program.name + ": the sound server does not answer, so no audio input can be listed\n"),
                 std::string::npos)
                 << list.err;
             session.pulse().thaw();
         }},
        {AudioInput::sineSuspended, "no audio input (no samples for 3 seconds)",
         [](MonitorSession& session) { ASSERT_TRUE(session.pulse().suspendSource(false)); }},
    };
    for (const Case& start : cases) {
        SCOPED_TRACE(start.said);
        MonitorSession session(program, start.audio);
        ASSERT_TRUE(showsSilence(session, program));
        EXPECT_TRUE(saysLine(session, program, start.said));
        start.bringBack(session);
        ASSERT_TRUE(showsInput(session));
        EXPECT_TRUE(saysLine(session, program, "audio input found\n"));
        session.typeKey(XK_Escape);
        ASSERT_TRUE(session.waitForCleanExit());
        EXPECT_NEAR(e2e::dumpedToneHz(GetParam(), session.readDump()), 1500.0, 30.0);
    }
}

TEST_P(MonitorFailureTest, AnUnreadableAudioConfigurationLeavesItRunningOnSilence)
{
    MonitorSession session(program, AudioInput::unreadableAlsa);
    ASSERT_TRUE(showsSilence(session, program));
    EXPECT_TRUE(saysLine(session, program, "no audio input (the audio library failed to start); showing silence\n"));
    session.typeKey(XK_Escape);
    ASSERT_TRUE(session.waitForCleanExit());
    EXPECT_TRUE(e2e::sameDump(session.readDump(), e2e::uniformDump(program.dumpLines, program.silentValue)));
}

// Another user cannot read the checkout when it is closed to others, as a
// clone in mktemp -d is: such a run starts a copy of the program from dir,
// and the files that the preload and the sanitizers' options name are
// copied there as well.
void runFromOpenCopies(rig::ChildOptions& options, const MonitorProgram& program, const std::string& dir)
{
    const auto copied = [&dir](const std::string& path) {
        const std::string copy = dir + "/" + std::filesystem::path(path).filename().string();
        std::filesystem::copy_file(path, copy, std::filesystem::copy_options::overwrite_existing);
        return copy;
    };
    std::replace(options.argv.begin(), options.argv.end(), program.path, copied(program.path));
    for (const char* name : {"LD_PRELOAD", "ASAN_OPTIONS", "LSAN_OPTIONS", "UBSAN_OPTIONS", "TSAN_OPTIONS"}) {
        const auto given = std::find_if(options.environment.rbegin(), options.environment.rend(),
                                        [name](const auto& variable) { return variable.first == name; });
        const char* inherited = std::getenv(name);
        std::string value = given != options.environment.rend() ? given->second : inherited ? inherited : "";
        if (value.empty()) {
            continue;
        }
        // Each absolute path, after a separator, up to the next one.
        for (size_t at = value.find('/'); at != std::string::npos; at = value.find('/', at + 1)) {
            if (at > 0 && value[at - 1] != '=' && value[at - 1] != ':' && value[at - 1] != ' ') {
                continue;
            }
            const size_t end = std::min(value.find(':', at), value.find(' ', at));
            const std::string path = value.substr(at, end == std::string::npos ? end : end - at);
            if (std::filesystem::is_regular_file(path)) {
                const std::string copy = copied(path);
                value.replace(at, path.size(), copy);
            }
        }
        options.environment.emplace_back(name, value);
    }
}

// Without a window, for want of a display or of a thread for it: one line,
// then the program runs on until Ctrl-C and dumps as usual.
TEST_P(MonitorFailureTest, WithoutAWindowItSaysWhyAndRunsOnUntilCtrlC)
{
    struct Case {
        std::vector<std::string> launcher; // before the program
        std::string said;
    };
    // A process limit of one for a user of its own: no thread at all.
    const Case cases[] = {
        {{}, "no display; running without a window, Ctrl-C ends it\n"},
        {{"setpriv", "--reuid=65534", "--regid=65534", "--clear-groups", "prlimit", "--nproc=1", "--"},
         "cannot start the window's thread (Resource temporarily unavailable); running without a window"},
    };
    for (const Case& run : cases) {
        const rig::TempDir dir;
        std::filesystem::permissions(dir.path(), std::filesystem::perms::all);
        rig::ChildOptions options = e2e::programRun(program, {}, dir.path());
        if (!run.launcher.empty()) {
            runFromOpenCopies(options, program, dir.path());
        }
        options.argv.insert(options.argv.begin(), run.launcher.begin(), run.launcher.end());
        rig::ChildProcess child(options);
        const std::string said = run.said;
        EXPECT_TRUE(rig::waitUntil([&] {
            return rig::readTextFile(options.stderrPath).find(said) != std::string::npos;
        })) << rig::readTextFile(options.stderrPath);
        child.sendSignal(SIGINT);
        const std::optional<rig::ExitStatus> status = child.waitExit();
        ASSERT_TRUE(status);
        EXPECT_EQ(status->code, 0) << rig::readTextFile(options.stderrPath);
        EXPECT_TRUE(e2e::sameDump(rig::readTextFile(dir.path() + "/out.txt"),
                                  e2e::uniformDump(program.dumpLines, program.silentValue)));
    }
}

// A display that goes away while the window opens, before the program has a
// window: the program meets it as any loss of the display.
TEST_P(MonitorFailureTest, ADisplayLostWhileTheWindowOpensEndsItWithTheDumpWritten)
{
    const rig::XvfbServer xvfb;
    const rig::DisplayCut cut(xvfb.displayName());
    const rig::TempDir dir;
    rig::ChildOptions options = e2e::programRun(program, {}, dir.path());
    options.environment.emplace_back("DISPLAY", cut.displayName());
    rig::ChildProcess child(options);
    const std::optional<rig::ExitStatus> status = child.waitExit();
    ASSERT_TRUE(status);
    EXPECT_EQ(status->code, 1) << rig::readTextFile(options.stderrPath);
    EXPECT_GE(cut.connections(), 1);
    EXPECT_NE(rig::readTextFile(options.stderrPath).find("lost the connection to the display; writing out.txt"),
              std::string::npos)
        << rig::readTextFile(options.stderrPath);
    EXPECT_TRUE(e2e::sameDump(rig::readTextFile(dir.path() + "/out.txt"),
                              e2e::uniformDump(program.dumpLines, program.silentValue)));
}

INSTANTIATE_TEST_SUITE_P(Monitors, MonitorFailureTest, bothMonitors, monitorName);

} // namespace
