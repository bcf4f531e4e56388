// What wavemon and specmon do alike in the window: the ways out, the keys
// and requests they ignore, and what they tell when out.txt cannot be
// written.
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
using e2e::endBy;
using e2e::ExitWay;
using e2e::exitWayNames;
using e2e::Monitor;
using e2e::monitorName;
using e2e::MonitorProgram;
using e2e::MonitorSession;
using e2e::saysLine;
using e2e::showsSilence;

class MonitorExitTest : public testing::TestWithParam<std::tuple<Monitor, ExitWay>> {};

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

// Keys and requests that do nothing

class MonitorKeysTest : public testing::TestWithParam<Monitor> {};

TEST_P(MonitorKeysTest, LetterArrowSpaceKeyAndCloseRequestAreTakenAndIgnored)
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

INSTANTIATE_TEST_SUITE_P(Monitors, MonitorKeysTest, bothMonitors, monitorName);

// An out.txt that cannot be written

class MonitorDumpFileTest : public testing::TestWithParam<Monitor> {};

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

} // namespace
