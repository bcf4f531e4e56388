// Numbers for scripts: --print, --frames, --no-window and --out, with no
// display at all, and what becomes of them when the reader of standard
// output stops reading, goes away or was never there.
#include <gtest/gtest.h>

#include <X11/keysym.h>
#include <algorithm>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <iterator>
#include <memory>
#include <poll.h>
#include <sstream>
#include <sys/ioctl.h>
#include <thread>
#include <unistd.h>

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

// Numbers out while running, with no display at all: --print, --frames,
// --no-window and --out.

class MonitorNumbersTest : public testing::TestWithParam<Monitor> {
protected:
    // The lines of --print: the text up to the dump, split into lines of
    // blank-separated numbers.
    static std::vector<std::vector<std::string>> printedLines(const std::string& out, size_t& dumpAt)
    {
        std::vector<std::vector<std::string>> lines;
        dumpAt = 0;
        while (dumpAt < out.size() && out[dumpAt] != ' ') {
            const size_t end = out.find('\n', dumpAt);
            if (end == std::string::npos) {
                break;
            }
            std::istringstream words(out.substr(dumpAt, end - dumpAt));
            lines.emplace_back(std::istream_iterator<std::string>(words), std::istream_iterator<std::string>());
            dumpAt = end + 1;
        }
        return lines;
    }

    rig::EnvironmentVariables withWineDisplay(rig::EnvironmentVariables environment = {})
    {
        return e2e::withWineDisplay(program, wineDisplay, std::move(environment));
    }

    const MonitorProgram& program = e2e::programOf(GetParam());
    rig::TempDir dir;
    std::unique_ptr<rig::XvfbServer> wineDisplay;
};

// Three frames printed, each with the numbers it drew, written as the dump
// writes them; then the dump on standard output, whose numbers the last line
// holds; no window, no display, not a word on standard error.
TEST_P(MonitorNumbersTest, PrintsExactlyTheFramesAskedForThenTheDumpWithoutADisplay)
{
    rig::PulseServer pulse{rig::PipeSource{}};
    pulse.playSignal([](int64_t) { return int16_t{8192}; });
    const Ended run = runToEnd(program, {"--no-window", "--print", "--frames", "3", "--out", "-"}, dir.path(),
                               withWineDisplay(pulse.environment()));
    EXPECT_EQ(run.code, 0);
    // Wine has words of its own on standard error.
    if (!program.underWine) {
        EXPECT_EQ(run.err, "");
    }
    // Byte for byte: the dump's lines end in CR LF, the printed ones in LF.
    const std::string out = rig::readTextFile(dir.path() + "/out.log");
    size_t dumpAt = 0;
    const std::vector<std::vector<std::string>> lines = printedLines(out, dumpAt);
    ASSERT_EQ(lines.size(), 3u) << out.substr(0, 200);
    e2e::DumpValues dump;
    ASSERT_TRUE(e2e::readDumpValues(out.substr(dumpAt), program.dumpLines, dump));
    for (const std::vector<std::string>& line : lines) {
        ASSERT_EQ(line.size(), 1024u);
    }
    // wavemon prints the older half of its samples and dumps all of them (a
    // steady input makes them alike), specmon prints and dumps its levels.
    for (size_t i = 0; i < 1024; ++i) {
        const std::string& text = dump.texts[i];
        EXPECT_EQ(lines.back()[i], text.front() == ' ' ? text.substr(1) : text) << "number " << i;
    }
    EXPECT_FALSE(std::filesystem::exists(dir.path() + "/out.txt"));
}

// A reader that goes away (| head -1) ends the program as a kill would:
// out.txt written, status 0, nothing said.
TEST_P(MonitorNumbersTest, AReaderThatGoesAwayEndsItAsAKillWould)
{
    const std::string fifo = dir.path() + "/stdout.fifo";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const int reader = open(fifo.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    ASSERT_GE(reader, 0);
    rig::ChildOptions options = e2e::programRun(program, {"--no-window", "--print"}, dir.path());
    const rig::EnvironmentVariables display = withWineDisplay();
    options.environment.insert(options.environment.end(), display.begin(), display.end());
    options.stdoutPath = fifo;
    rig::ChildProcess child(options);
    std::string first;
    ASSERT_TRUE(rig::waitUntil([&] {
        char block[4096];
        const ssize_t got = read(reader, block, sizeof block);
        first.append(block, static_cast<size_t>(std::max<ssize_t>(got, 0)));
        return first.find('\n') != std::string::npos;
    }));
    close(reader);
    const std::optional<rig::ExitStatus> status = child.waitExit();
    ASSERT_TRUE(status);
    EXPECT_EQ(status->code, 0);
    // Nothing said but that there is no audio, which under Wine there is.
    if (!program.underWine) {
        EXPECT_EQ(rig::readTextFile(options.stderrPath),
                  program.name + ": no audio input (Device unavailable); showing silence until one appears\n");
        EXPECT_TRUE(e2e::sameDump(rig::readTextFile(dir.path() + "/out.txt"),
                                  e2e::uniformDump(program.dumpLines, program.silentValue)));
    }
    e2e::DumpValues dump;
    EXPECT_TRUE(e2e::readDumpValues(rig::readTextFile(dir.path() + "/out.txt"), program.dumpLines, dump));
}

// --out to a path that does not exist yet, and through a symbolic link, whose
// target gets the dump while the link stays (on Linux: Windows programs know
// no such links).
TEST_P(MonitorNumbersTest, OutWritesANewFileAndThroughASymbolicLink)
{
    namespace fs = std::filesystem;
    fs::create_directory(dir.path() + "/kept");
    fs::create_symlink("kept/dump.txt", dir.path() + "/link.txt");
    const std::string silent = e2e::uniformDump(program.dumpLines, program.silentValue);
    const rig::EnvironmentVariables display = withWineDisplay();
    for (const std::string target : {"fresh.txt", "link.txt"}) {
        if (target == "link.txt" && program.underWine) {
            continue;
        }
        const Ended run = runToEnd(program, {"--no-window", "--frames", "1", "--out", target}, dir.path(), display);
        EXPECT_EQ(run.code, 0) << target << ": " << run.err;
    }
    e2e::DumpValues fresh;
    EXPECT_TRUE(e2e::readDumpValues(rig::readTextFile(dir.path() + "/fresh.txt"), program.dumpLines, fresh));
    if (!program.underWine) {
        EXPECT_TRUE(e2e::sameDump(rig::readTextFile(dir.path() + "/fresh.txt"), silent));
        EXPECT_TRUE(fs::is_symlink(dir.path() + "/link.txt"));
        EXPECT_TRUE(e2e::sameDump(rig::readTextFile(dir.path() + "/kept/dump.txt"), silent));
    }
    EXPECT_FALSE(fs::exists(dir.path() + "/out.txt"));
    const Ended refused = runToEnd(program, {"--frames", "-1"}, dir.path(), display);
    EXPECT_EQ(refused.code, 2);
    EXPECT_NE(refused.err.find("option '--frames' needs a whole number from 1 on, not '-1'"), std::string::npos)
        << refused.err;
}

INSTANTIATE_TEST_SUITE_P(Monitors, MonitorNumbersTest, bothMonitors, monitorName);

// A pipe for a program's standard output, by default one that holds one
// page: a reader that does not read stops the program's output within its
// first line or two.
class OutputPipe {
public:
    explicit OutputPipe(bool nonBlockingWriter = false, bool onePage = true)
    {
        int ends[2];
        if (pipe2(ends, O_CLOEXEC) != 0 || (onePage && fcntl(ends[0], F_SETPIPE_SZ, pageBytes) < 0) ||
            (nonBlockingWriter && fcntl(ends[1], F_SETFL, O_NONBLOCK) != 0)) {
            throw std::runtime_error("no pipe for the program's output");
        }
        readEnd_ = ends[0];
        writeEnd_ = ends[1];
    }
    ~OutputPipe()
    {
        closeWriteEnd();
        close(readEnd_);
    }
    OutputPipe(const OutputPipe&) = delete;
    OutputPipe& operator=(const OutputPipe&) = delete;

    int writeEnd() const { return writeEnd_; }
    // Once the program has its own, so that its end is the pipe's.
    void closeWriteEnd()
    {
        if (writeEnd_ >= 0) {
            close(writeEnd_);
            writeEnd_ = -1;
        }
    }
    // The program's writer waits: the pipe holds all it can.
    bool full() const
    {
        int held = 0;
        return ioctl(readEnd_, FIONREAD, &held) == 0 && held >= pageBytes;
    }
    // What the pipe holds now.
    std::string drain() const
    {
        std::string all;
        char block[4096];
        int held = 0;
        while (ioctl(readEnd_, FIONREAD, &held) == 0 && held > 0) {
            const ssize_t got = read(readEnd_, block, std::min<size_t>(sizeof block, static_cast<size_t>(held)));
            all.append(block, static_cast<size_t>(std::max<ssize_t>(got, 0)));
        }
        return all;
    }
    // Reads what the pipe holds, a little at a time, until the program has
    // closed its end.
    std::string readSlowlyToEnd() const
    {
        std::string all;
        char block[1000];
        for (ssize_t got; (got = read(readEnd_, block, sizeof block)) > 0;) {
            all.append(block, static_cast<size_t>(got));
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return all;
    }

private:
    static constexpr int pageBytes = 4096;
    int readEnd_ = -1;
    int writeEnd_ = -1;
};

// The lines of --print in a program's output, and whether the dump follows
// them.
struct NumbersOut {
    size_t lines = 0;
    bool dump = false;
};

NumbersOut numbersIn(const MonitorProgram& program, const std::string& out)
{
    NumbersOut seen;
    size_t at = 0;
    while (at < out.size() && out[at] != ' ') {
        const size_t end = out.find('\n', at);
        if (end == std::string::npos) {
            break;
        }
        ++seen.lines;
        at = end + 1;
    }
    e2e::DumpValues dump;
    seen.dump = e2e::readDumpValues(out.substr(at), program.dumpLines, dump);
    return seen;
}

class MonitorOutputTest : public testing::TestWithParam<Monitor> {
protected:
    void SetUp() override
    {
        if (program.underWine) {
            GTEST_SKIP() << "a Windows program under Wine writes through Wine's own handles, and a signal does not "
                            "reach it as on Linux";
        }
    }

    const MonitorProgram& program = e2e::programOf(GetParam());
};

// What the program's standard output is.
enum class Output {
    logFile,        // a file
    stalledPipe,    // a pipe whose reader never reads
    slowPipe,       // a pipe, non-blocking on the program's side, read slowly
    fullDevice,     // /dev/full
    closed,         // closed at start
    descriptorPipe, // a file, and --out names a pipe of the program's start, read slowly
};

struct OutputCase {
    std::string name;
    std::vector<std::string> arguments; // "{fd}" stands for the pipe's descriptor
    Output output = Output::logFile;
    int signal = 0;        // sent once a stalled reader holds the output up; 0: the program ends by itself
    int status = 0;        // its exit status
    std::string said;      // a line of its own on standard error, besides the one on the missing input
    size_t lines = 0;      // the lines of --print its output ends up with
    bool dumpOut = false;  // the dump follows them there
    bool dumpFile = false; // out.txt holds the dump
};

// Each way the program's output can go, with no display: the program ends
// as asked, within about a second of a signal even while a write waits, with
// the status and the line that tell what became of its numbers, and no
// number lost while it ran.
TEST_P(MonitorOutputTest, EveryOutputEndsAsAskedAndLosesNothingUntold)
{
    const std::string silent = e2e::uniformDump(program.dumpLines, program.silentValue);
    const std::vector<OutputCase> cases = {
        {"a stalled reader, then SIGTERM",
         {"--no-window", "--print"},
         Output::stalledPipe,
         SIGTERM,
         0,
         "",
         0,
         false,
         true},
        {"a stalled reader, then SIGINT",
         {"--no-window", "--print"},
         Output::stalledPipe,
         SIGINT,
         0,
         "",
         0,
         false,
         true},
        {"a stalled reader, then SIGHUP",
         {"--no-window", "--print"},
         Output::stalledPipe,
         SIGHUP,
         0,
         "",
         0,
         false,
         true},
        {"a stalled reader of the dump",
         {"--no-window", "--print", "--out", "-"},
         Output::stalledPipe,
         SIGTERM,
         1,
         "standard output not written: the reader does not read",
         0,
         false,
         false},
        {"a full device",
         {"--no-window", "--print"},
         Output::fullDevice,
         0,
         1,
         "standard output not written: No space left on device",
         0,
         false,
         true},
        {"numbers for a closed output",
         {"--no-window", "--print"},
         Output::closed,
         0,
         2,
         "option '--print' writes to standard output, which is closed",
         0,
         false,
         false},
        {"a dump for a closed output",
         {"--no-window", "--frames", "1", "--out", "-"},
         Output::closed,
         0,
         2,
         "option '--out' writes to standard output, which is closed",
         0,
         false,
         false},
        {"a slow non-blocking reader",
         {"--no-window", "--print", "--frames", "3", "--out", "-"},
         Output::slowPipe,
         0,
         0,
         "",
         3,
         true,
         false},
        {"the dump through /dev/stdout",
         {"--no-window", "--print", "--frames", "2", "--out", "/dev/stdout"},
         Output::logFile,
         0,
         0,
         "",
         2,
         true,
         false},
        {"the dump through a descriptor",
         {"--no-window", "--frames", "1", "--out", "/dev/fd/{fd}"},
         Output::descriptorPipe,
         0,
         0,
         "",
         0,
         true,
         false},
        {"a path that would drive the terminal",
         {"--no-window", "--frames", "1", "--out", "none/\x1b[2J"},
         Output::logFile,
         0,
         1,
         "none/\\x1b[2J not written: No such file or directory",
         0,
         false,
         false},
    };
    for (const OutputCase& test : cases) {
        SCOPED_TRACE(test.name);
        const rig::TempDir dir;
        OutputPipe pipe(test.output == Output::slowPipe);
        std::vector<std::string> arguments = test.arguments;
        for (std::string& argument : arguments) {
            if (argument.ends_with("{fd}")) {
                argument.replace(argument.size() - 4, 4, std::to_string(pipe.writeEnd()));
            }
        }
        rig::ChildOptions options = e2e::programRun(program, arguments, dir.path());
        switch (test.output) {
        case Output::stalledPipe:
        case Output::slowPipe: options.stdoutFd = pipe.writeEnd(); break;
        case Output::fullDevice: options.stdoutPath = "/dev/full"; break;
        case Output::closed: options.stdoutFd = rig::closedStream; break;
        case Output::descriptorPipe: options.inheritFd = pipe.writeEnd(); break;
        case Output::logFile: break;
        }
        rig::ChildProcess child(options);
        pipe.closeWriteEnd();
        std::string out;
        if (test.signal != 0) {
            EXPECT_TRUE(rig::waitUntil([&] { return pipe.full(); }));
            child.sendSignal(test.signal);
        } else if (test.output == Output::slowPipe || test.output == Output::descriptorPipe) {
            out = pipe.readSlowlyToEnd();
        }
        // A dump for a reader that does not read is given up after 2 s.
        const std::optional<rig::ExitStatus> status = child.waitExit(
            test.signal == 0 ? rig::rigDeadline : std::chrono::milliseconds(test.dumpFile ? 1500 : 3500));
        if (!status) {
            ADD_FAILURE() << "still running";
            continue;
        }
        const std::string err = rig::readTextFile(options.stderrPath);
        EXPECT_EQ(status->code, test.status) << err;
        if (!test.said.empty()) {
            EXPECT_NE(err.find(program.name + ": " + test.said + "\n"), std::string::npos) << err;
        }
        if (test.output == Output::logFile) {
            out = rig::readTextFile(options.stdoutPath);
        }
        const NumbersOut numbers = numbersIn(program, out);
        EXPECT_EQ(numbers.lines, test.lines) << out.substr(0, 100);
        EXPECT_EQ(numbers.dump, test.dumpOut);
        const std::string dumpPath = dir.path() + "/out.txt";
        EXPECT_EQ(std::filesystem::exists(dumpPath), test.dumpFile);
        if (test.dumpFile) {
            EXPECT_TRUE(e2e::sameDump(rig::readTextFile(dumpPath), silent));
        }
    }
}

// With a window: Escape ends a program whose reader of standard output stops
// reading, and a program started with its standard output and error closed
// draws, ends and dumps as any other (its display connection must not take
// the number of standard error, and the line on the missing input go into
// it).
TEST_P(MonitorOutputTest, WithAWindowEscapeEndsItWhateverItsOutput)
{
    for (const bool closedStreams : {false, true}) {
        SCOPED_TRACE(closedStreams ? "closed standard output and error" : "a stalled reader");
        OutputPipe pipe;
        const std::vector<std::string> arguments =
            closedStreams ? std::vector<std::string>() : std::vector<std::string>{"--print"};
        MonitorSession session(program, AudioInput::none, arguments, [&](rig::ChildOptions& options) {
            options.stdoutFd = closedStreams ? rig::closedStream : pipe.writeEnd();
            options.stderrFd = closedStreams ? rig::closedStream : -1;
        });
        pipe.closeWriteEnd();
        ASSERT_TRUE(session.waitForFrame("the picture of silence", [&](const rig::RgbImage& image) {
            return e2e::comparePicture(image, program.silentPicture);
        }));
        if (!closedStreams) {
            ASSERT_TRUE(rig::waitUntil([&] { return pipe.full(); }));
        }
        session.typeKey(XK_Escape);
        ASSERT_TRUE(session.waitForCleanExit(0, std::chrono::milliseconds(1500)));
        EXPECT_TRUE(e2e::sameDump(session.readDump(), e2e::uniformDump(program.dumpLines, program.silentValue)));
    }
}

// Each frame's line reaches the reader as the frame ends: stopped at any
// moment, the program holds back no part of a line it has printed. (A steady
// 0.25 makes lines whose ends no buffer's size would meet.)
TEST_P(MonitorOutputTest, EachLineReachesTheReaderAsItsFrameEnds)
{
    const rig::TempDir dir;
    rig::PulseServer pulse{rig::PipeSource{}};
    pulse.playSignal([](int64_t) { return int16_t{8192}; });
    OutputPipe pipe(false, false);
    rig::ChildOptions options = e2e::programRun(program, {"--no-window", "--print"}, dir.path());
    const rig::EnvironmentVariables served = pulse.environment();
    options.environment.insert(options.environment.end(), served.begin(), served.end());
    options.stdoutFd = pipe.writeEnd();
    rig::ChildProcess child(options);
    pipe.closeWriteEnd();
    std::string out;
    ASSERT_TRUE(rig::waitUntil([&] {
        out += pipe.drain();
        return out.find('\n') != std::string::npos;
    }));
    child.sendSignal(SIGSTOP);
    const std::string stat = "/proc/" + std::to_string(child.pid()) + "/stat";
    ASSERT_TRUE(rig::waitUntil([&] { return rig::readTextFile(stat).find(") T ") != std::string::npos; }));
    out += pipe.drain();
    EXPECT_TRUE(out.ends_with("\n")) << "the output ends in "
                                     << out.substr(out.size() - std::min<size_t>(out.size(), 40));
    child.sendSignal(SIGCONT);
    child.sendSignal(SIGTERM);
    const std::optional<rig::ExitStatus> status = child.waitExit();
    ASSERT_TRUE(status);
    EXPECT_EQ(status->code, 0);
}

INSTANTIATE_TEST_SUITE_P(Monitors, MonitorOutputTest, bothMonitors, monitorName);

} // namespace
