// monitor_cost [seconds] [wavemon-path specmon-path bare-recorder-path]
//
// What each monitor costs as a whole process, next to the bare audio path:
// CPU, peak memory, threads, the time from launch to the first frame with a
// trace, and the delay from a change of the input signal to the frame that
// shows it; and each monitor again with --grid --readout (the pointer over
// its window), with --measure, and with a reference trace from a file
// (specmon on its logarithmic axis too), whose costs are to stay within 1.2
// times the plain one's, and with --no-window, which is to cost less than
// the plain one. Every
// program runs alone on fresh private X and audio servers;
// the whole set runs twice so that the spread between rounds shows how far
// the figures can be trusted on a busy machine.
#include <filesystem>
#include <fstream>
#include <iostream>
#include <stdexcept>
#include <string>

#include "bench/process/cost_report.h"
#include "dump/dump_format.h"
#include "rig/sound_daemons.h"
#include "rig/temp_dir.h"

namespace {

constexpr double defaultSeconds = 20.0;

// The dumps the reference runs start from: each program's number of values,
// half scale or a level in the trace's middle, so that it is drawn in full.
constexpr int64_t waveSamples = 2048;
constexpr int64_t spectrumLevels = 1024;

std::string referenceDump(const rig::TempDir& dir, const std::string& name, int64_t count)
{
    const std::string path = dir.path() + "/" + name;
    std::ofstream file(path, std::ios::binary);
    for (int64_t i = 0; i < count; ++i) {
        file << dumpLineText(i, count == waveSamples ? 0.5f : -20.0f) << "\r\n";
    }
    return path;
}
constexpr int rounds = 2;
constexpr int signalSwitches = 5;

RoundResult runRound(const std::vector<ProgramUnderTest>& programs, double seconds)
{
    RoundResult round;
    for (const ProgramUnderTest& program : programs) {
        std::cerr << "  " << program.name << "..." << std::flush;
        ProgramResult result{program.name, measureCost(program, seconds), std::nullopt};
        if (program.probe != nullptr && program.options.empty()) {
            result.delays = measureSignalDelays(program, signalSwitches);
        }
        std::cerr << " done\n";
        round.push_back(std::move(result));
    }
    return round;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 1 && argc != 2 && argc != 5) {
        std::cerr << "usage: monitor_cost [seconds] [wavemon-path specmon-path bare-recorder-path]\n";
        return 2;
    }
    try {
        const double seconds = argc >= 2 ? std::stod(argv[1]) : defaultSeconds;
        if (!(seconds > startupSeconds)) {
            throw std::invalid_argument("a run must last longer than the start-up phase it leaves out");
        }
        // Absolute, because each program starts in a directory of its own.
        const auto programPath = [&](int index, const char* built) {
            return std::filesystem::absolute(argc == 5 ? argv[index] : built).string();
        };
        const std::vector<std::string> instrument = {"--grid", "--readout"};
        const rig::TempDir references;
        const std::vector<ProgramUnderTest> programs{
            {"bare_recorder", programPath(4, EARSHOT_BARE_RECORDER_PATH), nullptr, {}},
            {"wavemon", programPath(2, EARSHOT_WAVEMON_PATH), &wavemonProbe, {}},
            {"specmon", programPath(3, EARSHOT_SPECMON_PATH), &specmonProbe, {}},
            {"wavemon --grid --readout", programPath(2, EARSHOT_WAVEMON_PATH), &wavemonProbe, instrument},
            {"specmon --grid --readout", programPath(3, EARSHOT_SPECMON_PATH), &specmonProbe, instrument},
            {"wavemon --measure", programPath(2, EARSHOT_WAVEMON_PATH), &wavemonProbe, {"--measure"}},
            {"specmon --measure", programPath(3, EARSHOT_SPECMON_PATH), &specmonProbe, {"--measure"}},
            {"wavemon --reference",
             programPath(2, EARSHOT_WAVEMON_PATH),
             &wavemonProbe,
             {"--reference=" + referenceDump(references, "wavemon.txt", waveSamples)}},
            {"specmon --log --reference",
             programPath(3, EARSHOT_SPECMON_PATH),
             &specmonProbe,
             {"--log", "--reference=" + referenceDump(references, "specmon.txt", spectrumLevels)}},
            {"wavemon --no-window", programPath(2, EARSHOT_WAVEMON_PATH), nullptr, {"--no-window"}},
            {"specmon --no-window", programPath(3, EARSHOT_SPECMON_PATH), nullptr, {"--no-window"}},
        };
        const std::vector<CostTarget> targets = {
            {"wavemon", "", 0.3},
            {"specmon", "", 0.3},
            {"wavemon", "bare_recorder", 1.7},
            {"specmon", "bare_recorder", 1.7},
            {"wavemon --no-window", "bare_recorder", 1.5},
            {"specmon --no-window", "bare_recorder", 1.5},
            {"wavemon --grid --readout", "wavemon", 1.2},
            {"specmon --grid --readout", "specmon", 1.2},
            {"wavemon --measure", "wavemon", 1.2},
            {"specmon --measure", "specmon", 1.2},
            {"wavemon --reference", "wavemon", 1.2},
            {"specmon --log --reference", "specmon", 1.2},
        };
        std::cout << "monitor_cost: " << seconds << " s per program and round, each alone on a private Xvfb and "
                  << rig::soundServerName(rig::installedSoundServer())
                  << " with a 1500 Hz sine input;\ndelays: a pipe input switched from silence to the sine "
                  << signalSwitches << " times per monitor and round\n";
        std::vector<RoundResult> results;
        for (int r = 1; r <= rounds; ++r) {
            std::cerr << "round " << r << " of " << rounds << "\n";
            results.push_back(runRound(programs, seconds));
            printRound(std::cout, r, results.back());
            printThreads(std::cout, results.back());
        }
        printSummary(std::cout, results);
        printTargets(std::cout, results, targets);
        return 0;
    } catch (const std::exception& error) {
        std::cerr << "monitor_cost: " << error.what() << "\n";
        return 1;
    }
}
