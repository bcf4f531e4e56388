// What wavemon and specmon do alike: the ways out, the keys and requests they
// ignore, and how they treat an out.txt that is already there.
#include <gtest/gtest.h>

#include <X11/keysym.h>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <set>
#include <tuple>

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

enum class ExitWay { escape, ctrlC, sigint, sigterm };

const char* const exitWayNames[] = {"Escape", "CtrlC", "Sigint", "Sigterm"};

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
    }
}

class MonitorExitTest : public testing::TestWithParam<std::tuple<Monitor, ExitWay>> {};

TEST_P(MonitorExitTest, OnSilenceItShowsTheSilentPictureThenDumpsAndExitsWithCodeZero)
{
    const MonitorProgram& program = e2e::programOf(std::get<0>(GetParam()));
    if (program.underWine && std::get<1>(GetParam()) == ExitWay::sigterm) {
        GTEST_SKIP() << "Windows has no termination request that a program can catch: under Wine a SIGTERM "
                        "ends the process at once";
    }
    MonitorSession session(program, AudioInput::none);
    ASSERT_TRUE(showsSilence(session, program));
    endBy(session, std::get<1>(GetParam()));
    ASSERT_TRUE(session.waitForCleanExit());
    EXPECT_TRUE(e2e::sameDump(session.readDump(), e2e::uniformDump(program.dumpLines, program.silentValue)));
}

std::string monitorAndWay(const testing::TestParamInfo<MonitorExitTest::ParamType>& info)
{
    return e2e::programOf(std::get<0>(info.param)).name + "_" + exitWayNames[static_cast<int>(std::get<1>(info.param))];
}

INSTANTIATE_TEST_SUITE_P(Monitors, MonitorExitTest,
                         testing::Combine(bothMonitors, testing::Values(ExitWay::escape, ExitWay::ctrlC,
                                                                        ExitWay::sigint, ExitWay::sigterm)),
                         monitorAndWay);

// Ignored input

class MonitorInputTest : public testing::TestWithParam<Monitor> {};

TEST_P(MonitorInputTest, LetterArrowKeyAndCloseRequestAreTakenAndIgnored)
{
    const MonitorProgram& program = e2e::programOf(GetParam());
    MonitorSession session(program, AudioInput::pipe);
    ASSERT_TRUE(showsSilence(session, program));
    session.typeKey(XK_a);
    session.typeKey(XK_Left);
    session.requestClose();
    // The program takes one key a frame. Each switch of the input below shows
    // in a frame of its own, so four switches outlast the three keys.
    for (int round = 0; round < 2; ++round) {
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

TEST_P(MonitorDumpFileTest, AReadOnlyFileIsLeftAsItIs)
{
    namespace fs = std::filesystem;
    const MonitorProgram& program = e2e::programOf(GetParam());
    MonitorSession session(program, AudioInput::none);
    const std::string kept = "an earlier dump\r\n";
    std::ofstream(session.dumpPath(), std::ios::binary) << kept;
    fs::permissions(session.dumpPath(), fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    ASSERT_TRUE(showsSilence(session, program));
    session.typeKey(XK_Escape);
    ASSERT_TRUE(session.waitForCleanExit());
    EXPECT_EQ(session.readDump(), kept);
    EXPECT_EQ(fs::status(session.dumpPath()).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
}

TEST_P(MonitorDumpFileTest, NothingIsWrittenWhereOutTxtIsADirectory)
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
    ASSERT_TRUE(session.waitForCleanExit());
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
