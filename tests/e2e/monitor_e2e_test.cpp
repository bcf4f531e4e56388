// What wavemon and specmon do alike: the ways out, the keys and requests they
// ignore, and how they treat an out.txt that is already there.
#include <gtest/gtest.h>

#include <X11/keysym.h>
#include <algorithm>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <set>
#include <sstream>
#include <sys/stat.h>
#include <tuple>
#include <unistd.h>

#include "rig/display_cut.h"
#include "rig/xvfb_server.h"
#include "tests/e2e/dump_file.h"
#include "tests/e2e/monitor_session.h"

namespace {

using e2e::AudioInput;
using e2e::MonitorProgram;
using e2e::MonitorSession;

using e2e::Monitor;

const auto bothMonitors = testing::Values(Monitor::wavemon, Monitor::specmon);

std::string monitorName(const testing::TestParamInfo<Monitor>& info)
{
    return e2e::programOf(info.param).name;
}

// Starts the program without audio and waits until its window shows the
// picture of silence, so that it is in its frame loop.
testing::AssertionResult showsSilence(MonitorSession& session, const MonitorProgram& program)
{
    return session.waitForFrame("the picture of silence", [&](const rig::RgbImage& image) {
        return e2e::comparePicture(image, program.silentPicture);
    });
}

// Ways out

enum class ExitWay { escape, ctrlC, sigint, sigterm, sighup };

const char* const exitWayNames[] = {"Escape", "CtrlC", "Sigint", "Sigterm", "Sighup"};

void PrintTo(ExitWay way, std::ostream* out)
{
    *out << exitWayNames[static_cast<int>(way)];
}

void endBy(MonitorSession& session, ExitWay way)
{
    switch (way) {
    case ExitWay::escape: session.typeKey(XK_Escape); break;
    case ExitWay::ctrlC: session.typeKey(XK_c, {XK_Control_L}); break;
    case ExitWay::sigint: session.sendSignal(SIGINT); break;
    case ExitWay::sigterm: session.sendSignal(SIGTERM); break;
    case ExitWay::sighup: session.sendSignal(SIGHUP); break;
    }
}

class MonitorExitTest : public testing::TestWithParam<std::tuple<Monitor, ExitWay>> {};

// Whether the program's output holds this line of its own, or does within
// the rig's deadline.
testing::AssertionResult saysLine(const MonitorSession& session, const MonitorProgram& program, const std::string& text)
{
    const std::string line = program.name + ": " + text;
    if (rig::waitUntil([&] { return session.output().find(line) != std::string::npos; })) {
        return testing::AssertionSuccess();
    }
    return testing::AssertionFailure() << program.name << " did not say \"" << text << "\"; it wrote:\n"
                                       << session.output();
}

TEST_P(MonitorExitTest, OnSilenceItShowsTheSilentPictureThenDumpsAndExitsWithCodeZero)
{
    const MonitorProgram& program = e2e::programOf(std::get<0>(GetParam()));
    const ExitWay way = std::get<1>(GetParam());
    if (program.underWine && way != ExitWay::escape && way != ExitWay::ctrlC) {
        GTEST_SKIP() << "signals do not reach a Windows program: under Wine a SIGTERM or SIGHUP ends the process at "
                        "once, and a SIGINT becomes a console Ctrl-C, which a desktop program started without a "
                        "console never gets";
    }
    MonitorSession session(program, AudioInput::none);
    ASSERT_TRUE(showsSilence(session, program));
    // The audio library looks for devices while the frames already come, so
    // the line may follow the first frames. Wine's sound driver offers an
    // input even without a sound server.
    if (!program.underWine) {
        EXPECT_TRUE(saysLine(session, program, "no audio input ("));
    }
    endBy(session, way);
    ASSERT_TRUE(session.waitForCleanExit());
    EXPECT_TRUE(e2e::sameDump(session.readDump(), e2e::uniformDump(program.dumpLines, program.silentValue)));
}

std::string monitorAndWay(const testing::TestParamInfo<MonitorExitTest::ParamType>& info)
{
    return e2e::programOf(std::get<0>(info.param)).name + "_" + exitWayNames[static_cast<int>(std::get<1>(info.param))];
}

INSTANTIATE_TEST_SUITE_P(Monitors, MonitorExitTest,
                         testing::Combine(bothMonitors,
                                          testing::Values(ExitWay::escape, ExitWay::ctrlC, ExitWay::sigint,
                                                          ExitWay::sigterm, ExitWay::sighup)),
                         monitorAndWay);

// Ignored input

class MonitorInputTest : public testing::TestWithParam<Monitor> {};

TEST_P(MonitorInputTest, LetterArrowSpaceKeyAndCloseRequestAreTakenAndIgnored)
{
    const MonitorProgram& program = e2e::programOf(GetParam());
    MonitorSession session(program, AudioInput::pipe);
    ASSERT_TRUE(showsSilence(session, program));
    session.typeKey(XK_a);
    session.typeKey(XK_Left);
    // Space and r act only where options make the program an instrument.
    session.typeKey(XK_space);
    session.typeKey(XK_r);
    session.requestClose();
    // The program takes one key a frame. Each switch of the input below shows
    // in a frame of its own, so six switches outlast the five keys.
    for (int round = 0; round < 3; ++round) {
        session.pulse().playSignal([](int64_t) { return int16_t{16384}; });
        ASSERT_TRUE(session.waitForFrame("a steady input of 0.5", program.showsSteadyHalf)) << "round " << round;
        session.pulse().playSilence();
        ASSERT_TRUE(showsSilence(session, program)) << "round " << round;
    }
    EXPECT_TRUE(session.running());
    EXPECT_TRUE(session.windowExists());
    session.typeKey(XK_Escape);
    ASSERT_TRUE(session.waitForCleanExit());
    e2e::DumpValues values;
    EXPECT_TRUE(e2e::readDumpValues(session.readDump(), program.dumpLines, values));
}

INSTANTIATE_TEST_SUITE_P(Monitors, MonitorInputTest, bothMonitors, monitorName);

// The command line: answered at once, with no window and no display needed.

using e2e::Ended;
using e2e::runToEnd;

class MonitorCommandLineTest : public testing::TestWithParam<Monitor> {
protected:
    Ended run(const std::vector<std::string>& arguments)
    {
        return runToEnd(e2e::programOf(GetParam()), arguments, dir.path());
    }

    const std::string name = e2e::programOf(GetParam()).name;
    rig::TempDir dir;
};

TEST_P(MonitorCommandLineTest, HelpAndVersionAnswerOnStandardOutput)
{
    const Ended help = run({"--help"});
    EXPECT_EQ(help.code, 0);
    EXPECT_TRUE(help.out.starts_with(name + " - ")) << help.out;
    EXPECT_NE(help.out.find("--version"), std::string::npos) << help.out;
    EXPECT_EQ(run({"-h"}).out, help.out);
    const Ended version = run({"--version"});
    EXPECT_EQ(version.code, 0);
    EXPECT_EQ(version.out, name + " (earshot) " + EARSHOT_VERSION + "\n");
}

TEST_P(MonitorCommandLineTest, AnythingElseIsRefusedWithAHintAndStatus2)
{
    const Ended option = run({"--frob"});
    EXPECT_EQ(option.code, 2);
    EXPECT_NE(option.err.find(name + ": unknown option '--frob'; see '" + name + " --help'\n"), std::string::npos)
        << option.err;
    EXPECT_EQ(option.out, "");
    const Ended stray = run({"out.txt"});
    EXPECT_EQ(stray.code, 2);
    EXPECT_NE(stray.err.find(name + ": unexpected argument 'out.txt'"), std::string::npos) << stray.err;
    EXPECT_FALSE(std::filesystem::exists(dir.path() + "/out.txt"));
    // An argument cannot drive the terminal or break the line it is told in.
    const Ended crafted = run({"--x\x1b[2J\nfake: line"});
    EXPECT_EQ(crafted.code, 2);
    EXPECT_NE(crafted.err.find(name + ": unknown option '--x\\x1b[2J\\x0afake: line'; see '"), std::string::npos)
        << crafted.err;
}

TEST_P(MonitorCommandLineTest, ListingNoInputsSaysThereAreNone)
{
    if (e2e::programOf(GetParam()).underWine) {
        GTEST_SKIP() << "Wine's sound driver offers an input even without a sound server";
    }
    const Ended list = run({"--list-inputs"});
    EXPECT_EQ(list.code, 0);
    EXPECT_EQ(list.out, "");
    EXPECT_EQ(list.err, name + ": there are no audio inputs\n");
}

INSTANTIATE_TEST_SUITE_P(Monitors, MonitorCommandLineTest, bothMonitors, monitorName);

// An out.txt that is already there

class MonitorDumpFileTest : public testing::TestWithParam<Monitor> {};

TEST_P(MonitorDumpFileTest, ALongerFileIsReplacedWhole)
{
    const MonitorProgram& program = e2e::programOf(GetParam());
    MonitorSession session(program, AudioInput::none);
    std::ofstream(session.dumpPath(), std::ios::binary) << std::string(100000, 'x');
    ASSERT_TRUE(showsSilence(session, program));
    session.typeKey(XK_Escape);
    ASSERT_TRUE(session.waitForCleanExit());
    EXPECT_TRUE(e2e::sameDump(session.readDump(), e2e::uniformDump(program.dumpLines, program.silentValue)));
}

TEST_P(MonitorDumpFileTest, AReadOnlyFileIsLeftAsItIsAndTheFailureIsTold)
{
    namespace fs = std::filesystem;
    const MonitorProgram& program = e2e::programOf(GetParam());
    MonitorSession session(program, AudioInput::none);
    const std::string kept = "an earlier dump\r\n";
    std::ofstream(session.dumpPath(), std::ios::binary) << kept;
    fs::permissions(session.dumpPath(), fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    ASSERT_TRUE(showsSilence(session, program));
    session.typeKey(XK_Escape);
    ASSERT_TRUE(session.waitForCleanExit(1));
    EXPECT_TRUE(saysLine(session, program, "out.txt not written: Permission denied"));
    EXPECT_EQ(session.readDump(), kept);
    EXPECT_EQ(fs::status(session.dumpPath()).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
}

TEST_P(MonitorDumpFileTest, NothingIsWrittenWhereOutTxtIsADirectoryAndTheFailureIsTold)
{
    namespace fs = std::filesystem;
    const MonitorProgram& program = e2e::programOf(GetParam());
    MonitorSession session(program, AudioInput::none);
    fs::create_directory(session.dumpPath());
    std::set<std::string> before;
    for (const fs::directory_entry& entry : fs::directory_iterator(session.workDir())) {
        before.insert(entry.path().filename().string());
    }
    ASSERT_TRUE(showsSilence(session, program));
    session.typeKey(XK_Escape);
    ASSERT_TRUE(session.waitForCleanExit(1));
    EXPECT_TRUE(saysLine(session, program, "out.txt not written: Is a directory"));
    EXPECT_TRUE(fs::is_directory(session.dumpPath()));
    EXPECT_TRUE(fs::is_empty(session.dumpPath()));
    std::set<std::string> after;
    for (const fs::directory_entry& entry : fs::directory_iterator(session.workDir())) {
        after.insert(entry.path().filename().string());
    }
    EXPECT_EQ(after, before);
}

INSTANTIATE_TEST_SUITE_P(Monitors, MonitorDumpFileTest, bothMonitors, monitorName);

// When the sound server, the display or the exit goes wrong

// The frequency of the tone in a dump: from wavemon's samples by their zero
// crossings, from specmon's levels by the strongest bin.
double dumpedToneHz(Monitor monitor, const std::string& dump)
{
    const MonitorProgram& program = e2e::programOf(monitor);
    e2e::DumpValues values;
    if (!e2e::readDumpValues(dump, program.dumpLines, values)) {
        return 0.0;
    }
    const std::vector<double>& numbers = values.numbers;
    if (monitor == Monitor::wavemon) {
        int crossings = 0;
        for (size_t i = 1; i < numbers.size(); ++i) {
            crossings += (numbers[i - 1] < 0.0) != (numbers[i] < 0.0) ? 1 : 0;
        }
        return crossings * 48000.0 / (2.0 * static_cast<double>(numbers.size()));
    }
    const auto strongest = std::max_element(numbers.begin(), numbers.end()) - numbers.begin();
    return static_cast<double>(strongest) * 23.4375;
}

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
    EXPECT_NEAR(dumpedToneHz(GetParam(), session.readDump()), 440.0, 30.0);
    // The audio libraries' own complaints stay off the terminal.
    std::istringstream output(session.output());
    for (std::string line; std::getline(output, line);) {
        EXPECT_TRUE(line.starts_with(program.name + ": ")) << line;
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
        EXPECT_NEAR(dumpedToneHz(GetParam(), session.readDump()), 1500.0, 30.0);
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

// Choosing the input: a sound server with two sources, which an ALSA
// configuration of the test's own shows PortAudio as two inputs.

class MonitorInputChoiceTest : public MonitorFailureTest {};

TEST_P(MonitorInputChoiceTest, TheChosenInputIsRecordedAndTheInputsAreListed)
{
    MonitorSession session(program, AudioInput::twoSines, {"--input", "HIGH"});
    ASSERT_TRUE(showsInput(session));
    session.typeKey(XK_Escape);
    ASSERT_TRUE(session.waitForCleanExit());
    EXPECT_NEAR(dumpedToneHz(GetParam(), session.readDump()), 3000.0, 30.0);

    const rig::TempDir dir;
    const Ended list = runToEnd(program, {"--list-inputs"}, dir.path(), e2e::twoInputAlsa(dir.path(), session.pulse()));
    EXPECT_EQ(list.code, 0);
    EXPECT_NE(list.out.find("  ALSA  earshot_low\n"), std::string::npos) << list.out;
    EXPECT_NE(list.out.find("  ALSA  earshot_high\n"), std::string::npos) << list.out;
    EXPECT_NE(list.out.find("* "), std::string::npos) << list.out;
}

TEST_P(MonitorInputChoiceTest, AnInputThatFitsNoneOrSeveralIsRefusedWithTheCandidates)
{
    const rig::TempDir dir;
    const rig::PulseServer pulse(rig::SineSource{1500, 3000});
    for (const std::string wanted : {"earshot_", "nothing-like-it"}) {
        const Ended run = runToEnd(program, {"--input", wanted}, dir.path(), e2e::twoInputAlsa(dir.path(), pulse));
        EXPECT_EQ(run.code, 2) << wanted;
        EXPECT_NE(run.err.find(program.name + ": " +
                               (wanted == "earshot_" ? "several audio inputs fit" : "no audio input fits")),
                  std::string::npos)
            << run.err;
        EXPECT_NE(run.err.find("earshot_high"), std::string::npos) << run.err;
    }
}

INSTANTIATE_TEST_SUITE_P(Monitors, MonitorInputChoiceTest, bothMonitors, monitorName);

} // namespace
