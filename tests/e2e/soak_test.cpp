// Soak: each monitor runs for a minute on a live signal while a random user
// types keys (never the ways out), holds buttons, moves the pointer in and
// out of the window, takes the focus away and back and asks the window to
// close. All along, new frames keep coming, the process lives, and its thread
// count and resident memory stay within fixed bounds; Escape then still ends
// it with code 0 and a whole out.txt.
#include <gtest/gtest.h>

#include <X11/keysym.h>
#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iomanip>
#include <iostream>
#include <numbers>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "tests/e2e/dump_file.h"
#include "tests/e2e/monitor_session.h"

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

using e2e::AudioInput;
using e2e::Monitor;
using e2e::MonitorProgram;
using e2e::MonitorSession;

constexpr std::chrono::seconds soakLength{60};
// Resident memory is measured against its value this long into the soak,
// once the program has touched what it keeps for good.
constexpr std::chrono::seconds warmUp{5};
// Frames come every 100 ms or so, and every frame of the sweep below differs
// from the one before: the picture must change before this much of the sweep
// has been fed since it last changed. The feed, not the clock, is the measure,
// since on a busy machine the feed itself may stall, and then no frame can
// differ; but however the feed fares, the picture must not stand still for
// the longer time.
constexpr milliseconds longestStillFedAllowed{2000};
constexpr milliseconds longestStillAllowed{10000};
constexpr milliseconds captureInterval{40};

// How far resident memory may rise above its value after the warm-up. The
// plain build rises by well under 0.1 MiB in the minute. Under the address
// sanitizer it rises by about 2 MiB, most of it in the first half minute, and
// as much with no quarantine at all: the sanitizer's own allocator settling.
#ifdef __SANITIZE_ADDRESS__
constexpr int64_t rssGrowthAllowedKiB = 4 * 1024;
#else
constexpr int64_t rssGrowthAllowedKiB = 1024;
#endif

// Where the random input starts; EARSHOT_SOAK_SEED replaces it, to try other
// sequences.
constexpr uint32_t defaultSeed = 20240817;

uint32_t soakSeed()
{
    const char* seed = std::getenv("EARSHOT_SOAK_SEED");
    return seed == nullptr || *seed == '\0' ? defaultSeed : static_cast<uint32_t>(std::strtoul(seed, nullptr, 10));
}

// The live signal: a tone of amplitude 0.5 that sweeps up from 375 Hz (bin
// 16) to 6 kHz (bin 256) in 6 s, over and over, fed through the pipe source.
// Every frame of either monitor then differs from the one before: wavemon's
// trace changes its period, specmon's peak moves by about 4 bins a frame. So
// a picture that stands still means that no frame came. The sine source would
// not show that for specmon, whose spectrum of a steady tone is the same
// frame after frame.
constexpr double sweepLowHz = 375.0;
constexpr double sweepHighHz = 6000.0;
constexpr int64_t sweepSamples = 6 * int64_t{rig::pulseSampleRate};

int16_t sweepSample(int64_t n)
{
    const double m = static_cast<double>(n % sweepSamples);
    const double cycles =
        (sweepLowHz * m + (sweepHighHz - sweepLowHz) * m * m / (2.0 * static_cast<double>(sweepSamples))) /
        rig::pulseSampleRate;
    const double phase = 2.0 * std::numbers::pi * (cycles - std::floor(cycles));
    return static_cast<int16_t>(std::lround(16384.0 * std::sin(phase)));
}

// What /proc says about the process; -1 where it says nothing (it has ended).
struct ProcessUsage {
    int64_t threads = -1;
    int64_t rssKiB = -1;
};

ProcessUsage usageOf(pid_t pid)
{
    ProcessUsage usage;
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        std::istringstream fields(line);
        std::string name;
        fields >> name;
        if (name == "Threads:") {
            fields >> usage.threads;
        } else if (name == "VmRSS:") {
            fields >> usage.rssKiB;
        }
    }
    return usage;
}

// The keys the random user types: none of them ends a monitor, and none comes
// with a modifier (a Control whose release got lost would turn a later c into
// Ctrl-C).
std::vector<rig::KeySymbol> harmlessKeys()
{
    std::vector<rig::KeySymbol> keys = {XK_Left, XK_Right, XK_Up, XK_Down, XK_Return, XK_Tab};
    for (rig::KeySymbol key = XK_a; key <= XK_z; ++key) {
        keys.push_back(key);
    }
    for (rig::KeySymbol key = XK_0; key <= XK_9; ++key) {
        keys.push_back(key);
    }
    for (rig::KeySymbol key = XK_F1; key <= XK_F12; ++key) {
        keys.push_back(key);
    }
    return keys;
}

// A user who does something every 20 to 150 ms: mostly keys, then buttons
// held for a while, pointer moves, close requests and short turns to another
// window. At least 20 ms pass between two keys, as between a person's.
class RandomUser {
public:
    RandomUser(MonitorSession& session, uint32_t seed) : session_(session), random_(seed) {}

    // Does whatever is due at now: lets go of buttons or turns back to the
    // window when their time has come, and takes the next random action.
    void act(Clock::time_point now)
    {
        for (HeldButton& button : buttons_) {
            if (button.held && now >= button.releaseAt) {
                release(button);
            }
        }
        if (away_ && now >= returnAt_) {
            turnBack();
        }
        if (now < nextActionAt_) {
            return;
        }
        nextActionAt_ = now + milliseconds(between(20, 150));
        const int roll = between(0, 99);
        if (roll < 50) {
            session_.typeKey(keys_[static_cast<size_t>(between(0, static_cast<int>(keys_.size()) - 1))]);
            ++keysTyped_;
        } else if (roll < 56) {
            session_.requestClose();
            ++closeRequests_;
        } else if (roll < 70) {
            holdButtons(now);
        } else if (roll < 82) {
            session_.movePointer(between(0, e2e::windowWidth - 1), between(0, e2e::windowHeight - 1));
            ++movesInside_;
        } else if (roll < 92) {
            moveOutside();
        } else {
            turnAway(now);
        }
    }

    // Lets go of every button, gives the window the focus and puts the
    // pointer over it, as a user about to press Escape.
    void finish()
    {
        for (HeldButton& button : buttons_) {
            if (button.held) {
                release(button);
            }
        }
        if (away_) {
            turnBack();
        }
        session_.movePointer(e2e::windowWidth / 2, e2e::windowHeight / 2);
    }

    std::string summary() const
    {
        return std::to_string(keysTyped_) + " keys, " + std::to_string(closeRequests_) + " close requests, " +
               std::to_string(buttonPresses_) + " button presses, " + std::to_string(movesInside_) + " moves inside, " +
               std::to_string(movesOutside_) + " moves outside, " + std::to_string(turnsAway_) + " turns away";
    }

private:
    struct HeldButton {
        int number; // X button: 1 left, 3 right
        bool held = false;
        Clock::time_point releaseAt;
    };

    int between(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }

    // Left, right or both, each for 50 ms to 3 s; a button already held keeps
    // its time, so that holds of the two overlap in every way.
    void holdButtons(Clock::time_point now)
    {
        const int which = between(0, 4);
        for (size_t at = 0; at < buttons_.size(); ++at) {
            HeldButton& button = buttons_[at];
            if ((which == 4 || static_cast<size_t>(which % 2) == at) && !button.held) {
                session_.pressButton(button.number);
                button.held = true;
                button.releaseAt = now + milliseconds(between(50, 3000));
                ++buttonPresses_;
            }
        }
    }

    void release(HeldButton& button)
    {
        session_.releaseButton(button.number);
        button.held = false;
    }

    // To the right of the window or below it, on the screen either way.
    void moveOutside()
    {
        if (between(0, 1) == 0) {
            session_.movePointer(e2e::windowWidth + between(10, 90), between(0, e2e::windowHeight - 1));
        } else {
            session_.movePointer(between(0, e2e::windowWidth - 1), e2e::windowHeight + between(10, 120));
        }
        ++movesOutside_;
    }

    // For 100 ms to 2 s.
    void turnAway(Clock::time_point now)
    {
        if (away_) {
            return;
        }
        EXPECT_TRUE(session_.focusElsewhere());
        away_ = true;
        returnAt_ = now + milliseconds(between(100, 2000));
        ++turnsAway_;
    }

    void turnBack()
    {
        EXPECT_TRUE(session_.focusProgram());
        away_ = false;
    }

    MonitorSession& session_;
    std::mt19937 random_;
    const std::vector<rig::KeySymbol> keys_ = harmlessKeys();
    Clock::time_point nextActionAt_;
    std::array<HeldButton, 2> buttons_{HeldButton{1, false, {}}, HeldButton{3, false, {}}};
    bool away_ = false;
    Clock::time_point returnAt_;
    int keysTyped_ = 0;
    int closeRequests_ = 0;
    int buttonPresses_ = 0;
    int movesInside_ = 0;
    int movesOutside_ = 0;
    int turnsAway_ = 0;
};

// The program as the soak runs it. The address sanitizer holds freed blocks
// back in a quarantine of up to 256 MiB before it reuses them, so resident
// memory would grow with every byte that passes through the heap (the audio
// client library alone passes over 100 KiB a second). The soak keeps 1 MiB of
// quarantine: a use after free is still caught within that much churn, and
// the memory measured is what the program holds.
MonitorProgram soakProgram(Monitor monitor)
{
    MonitorProgram program = e2e::programOf(monitor);
#ifdef __SANITIZE_ADDRESS__
    const std::string smallQuarantine = "quarantine_size_mb=1";
    const auto options = std::find_if(program.environment.begin(), program.environment.end(),
                                      [](const auto& variable) { return variable.first == "ASAN_OPTIONS"; });
    if (options == program.environment.end()) {
        program.environment.emplace_back("ASAN_OPTIONS", smallQuarantine);
    } else {
        options->second += (options->second.empty() ? "" : ":") + smallQuarantine;
    }
#endif
    return program;
}

// The program, the most threads it may have at once, and where the largest
// value of its out.txt lies when it has dumped the sweep. Both monitors run
// four threads: the main thread, the refresh thread, PortAudio's audio thread
// and the audio server client's thread; wavemon's trace worker makes five
// while it draws. One more is allowed as a margin.
struct SoakCase {
    Monitor monitor;
    int64_t maxThreads;
    double largestDumpedFrom;
    double largestDumpedTo;
};

void PrintTo(const SoakCase& soak, std::ostream* out)
{
    *out << e2e::programOf(soak.monitor).name << " (at most " << soak.maxThreads << " threads)";
}

std::string soakName(const testing::TestParamInfo<SoakCase>& info)
{
    return e2e::programOf(info.param.monitor).name;
}

// The names of the process's threads, to tell which one is too many.
std::string threadNames(pid_t pid)
{
    std::string names;
    std::error_code ignored;
    for (const auto& task : std::filesystem::directory_iterator("/proc/" + std::to_string(pid) + "/task", ignored)) {
        std::string name;
        std::getline(std::ifstream(task.path() / "comm"), name);
        names += (names.empty() ? "" : ", ") + name;
    }
    return names;
}

// What the soak has seen, held against its bounds: each note returns an empty
// text while the program keeps within them, else what it broke.
class SoakRecord {
public:
    SoakRecord(int64_t maxThreads, Clock::time_point start) : maxThreads_(maxThreads), start_(start), shownSince_(start)
    {}

    std::string noteUsage(Clock::time_point at, const ProcessUsage& usage)
    {
        if (usage.threads <= 0) {
            return "no /proc entry for the program";
        }
        fewestThreads_ = fewestThreads_ < 0 ? usage.threads : std::min(fewestThreads_, usage.threads);
        mostThreads_ = std::max(mostThreads_, usage.threads);
        if (usage.threads > maxThreads_) {
            return std::to_string(usage.threads) + " threads, more than " + std::to_string(maxThreads_);
        }
        if (at - start_ < warmUp) {
            return "";
        }
        if (warmRssKiB_ < 0) {
            warmRssKiB_ = usage.rssKiB;
            lowestRssKiB_ = usage.rssKiB;
        }
        lowestRssKiB_ = std::min(lowestRssKiB_, usage.rssKiB);
        highestRssKiB_ = std::max(highestRssKiB_, usage.rssKiB);
        if (at >= nextRssMark_) {
            rssMarks_.append(" ").append(std::to_string(usage.rssKiB));
            nextRssMark_ = at + rssMarkInterval;
        }
        if (usage.rssKiB - warmRssKiB_ > rssGrowthAllowedKiB) {
            return "resident memory grew to " + std::to_string(usage.rssKiB) + " KiB";
        }
        return "";
    }

    // samplesFed: what the audio server has been given so far.
    std::string noteCapture(Clock::time_point at, const rig::RgbImage& image, int64_t samplesFed)
    {
        if (image.width == 0) {
            return "the window is gone";
        }
        ++captures_;
        if (image.rgb != shown_) {
            shown_ = image.rgb;
            shownSince_ = at;
            fedWhenShown_ = samplesFed;
            ++pictureChanges_;
        }
        const auto still = std::chrono::duration_cast<milliseconds>(at - shownSince_);
        const milliseconds fed((samplesFed - fedWhenShown_) * 1000 / rig::pulseSampleRate);
        longestStill_ = std::max(longestStill_, still);
        longestStillFed_ = std::max(longestStillFed_, fed);
        if (fed >= longestStillFedAllowed || still >= longestStillAllowed) {
            return "the picture stood still for " + std::to_string(still.count()) +
                   " ms, while the audio server was fed " + std::to_string(fed.count()) + " ms of the sweep";
        }
        return "";
    }

    std::string summary(Clock::time_point at) const
    {
        std::ostringstream text;
        text << std::fixed << std::setprecision(1) << secondsAt(at) << " s: threads " << fewestThreads_ << ".."
             << mostThreads_ << ", resident memory ";
        if (warmRssKiB_ < 0) {
            text << "not yet measured";
        } else {
            text << lowestRssKiB_ << ".." << highestRssKiB_ << " KiB after the warm-up (every "
                 << rssMarkInterval.count() << " s:" << rssMarks_ << ")";
        }
        text << ", " << pictureChanges_ << " picture changes in " << captures_ << " captures ("
             << static_cast<double>(pictureChanges_) / secondsAt(at) << " a second), longest still "
             << longestStill_.count() << " ms by the clock, " << longestStillFed_.count() << " ms by the feed";
        return text.str();
    }

private:
    static constexpr std::chrono::seconds rssMarkInterval{10};

    double secondsAt(Clock::time_point at) const { return std::chrono::duration<double>(at - start_).count(); }

    const int64_t maxThreads_;
    const Clock::time_point start_;
    int64_t fewestThreads_ = -1;
    int64_t mostThreads_ = -1;
    int64_t warmRssKiB_ = -1;
    int64_t lowestRssKiB_ = -1;
    int64_t highestRssKiB_ = -1;
    Clock::time_point nextRssMark_;
    std::string rssMarks_;
    std::vector<uint8_t> shown_;
    Clock::time_point shownSince_;
    int64_t fedWhenShown_ = 0;
    int64_t captures_ = 0;
    int64_t pictureChanges_ = 0;
    milliseconds longestStill_{0};
    milliseconds longestStillFed_{0};
};

class SoakTest : public testing::TestWithParam<SoakCase> {};

TEST_P(SoakTest, FramesKeepComingThreadsAndMemoryStayFlatAndEscapeStillEndsIt)
{
    const SoakCase& soak = GetParam();
    const MonitorProgram program = soakProgram(soak.monitor);
    const uint32_t seed = soakSeed();
    SCOPED_TRACE("random input seed " + std::to_string(seed) + " (set EARSHOT_SOAK_SEED to repeat another)");

    MonitorSession session(program, AudioInput::pipe);
    session.pulse().playSignal(sweepSample);
    const rig::RgbImage before = session.capture();
    ASSERT_TRUE(session.waitForFrame("a frame of the sweep", [&](const rig::RgbImage& image) {
        return image.width > 0 && image.rgb != before.rgb ? "" : "the window as it first was";
    }));

    RandomUser user(session, seed);
    const Clock::time_point start = Clock::now();
    SoakRecord record(soak.maxThreads, start);
    for (Clock::time_point now = start; now - start < soakLength; now = Clock::now()) {
        std::string broken = session.running() ? "" : "the program ended";
        if (broken.empty()) {
            broken = record.noteUsage(now, usageOf(session.pid()));
        }
        if (broken.empty()) {
            broken = record.noteCapture(Clock::now(), session.capture(), session.pulse().samplesFed());
        }
        if (!broken.empty()) {
            FAIL() << program.name << ": " << broken << "; soak of " << record.summary(Clock::now())
                   << "; threads now: " << threadNames(session.pid()) << "; " << user.summary();
        }
        user.act(Clock::now());
        std::this_thread::sleep_for(captureInterval);
    }
    std::cout << program.name << " soak of " << record.summary(Clock::now()) << "; " << user.summary()
              << "; threads at the end: " << threadNames(session.pid()) << "\n";

    user.finish();
    session.typeKey(XK_Escape);
    ASSERT_TRUE(session.waitForCleanExit());
    e2e::DumpValues dump;
    ASSERT_TRUE(e2e::readDumpValues(session.readDump(), program.dumpLines, dump));
    const double largest = *std::max_element(dump.numbers.begin(), dump.numbers.end());
    EXPECT_GE(largest, soak.largestDumpedFrom) << "out.txt does not hold the sweep";
    EXPECT_LE(largest, soak.largestDumpedTo) << "out.txt does not hold the sweep";
}

INSTANTIATE_TEST_SUITE_P(Monitors, SoakTest,
                         testing::Values(
                             // The samples: amplitude 0.5, and at least 8 samples a period put one near the crest.
                             SoakCase{Monitor::wavemon, 6, 0.45, 0.5},
                             // The peak level: 48.8 dB for a tone of amplitude 0.5 in the middle of a bin, a little
                             // less while it sweeps.
                             SoakCase{Monitor::specmon, 5, 30.0, 49.0}),
                         soakName);

} // namespace
