// What wavemon and specmon answer on the command line, and the choice of the
// audio input.
#include <gtest/gtest.h>

#include <X11/keysym.h>
#include <csignal>
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
using e2e::Ended;
using e2e::Monitor;
using e2e::monitorName;
using e2e::MonitorProgram;
using e2e::MonitorSession;
using e2e::runToEnd;

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
    // A reference that is no dump of the program is refused before any window.
    std::ofstream(dir.path() + "/other.txt", std::ios::binary) << "not a dump\r\n";
    for (const std::string& file : {std::string("missing.txt"), std::string("other.txt")}) {
        const Ended reference = run({"--reference=" + file});
        EXPECT_EQ(reference.code, 2);
        EXPECT_NE(reference.err.find(name + ": " + file +
                                     (file == "missing.txt" ? " not read: No such file or directory\n"
                                                            : " line 1: not a line of a " + name + " dump\n")),
                  std::string::npos)
            << reference.err;
    }
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

// Choosing the input: a sound server with two sources, which an ALSA
// configuration of the test's own shows PortAudio as two inputs.

class MonitorInputChoiceTest : public testing::TestWithParam<Monitor> {
protected:
    void SetUp() override
    {
        if (program.underWine) {
            GTEST_SKIP() << "under Wine the choice of input sits behind Wine's own drivers";
        }
    }

    const MonitorProgram& program = e2e::programOf(GetParam());
};

TEST_P(MonitorInputChoiceTest, TheChosenInputIsRecordedAndTheInputsAreListed)
{
    MonitorSession session(program, AudioInput::twoSines, {"--input", "HIGH"});
    ASSERT_TRUE(session.waitForFrame("a frame of the input's tone", program.showsTone));
    session.typeKey(XK_Escape);
    ASSERT_TRUE(session.waitForCleanExit());
    EXPECT_NEAR(e2e::dumpedToneHz(GetParam(), session.readDump()), 3000.0, 30.0);

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
