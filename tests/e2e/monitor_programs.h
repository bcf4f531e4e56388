// The two monitor programs as the end-to-end tests know them: where the build
// put them, and what they show and dump in the situations that both tests
// alike. Constant data, readable from any thread.
#pragma once

#include <cstddef>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "rig/child_process.h"
#include "rig/xvfb_server.h"
#include "tests/e2e/monitor_picture.h"

namespace e2e {

struct MonitorProgram {
    std::string name;
    std::string path;
    // Set for the program on top of the test's environment.
    rig::EnvironmentVariables environment;
    // The command that runs the file at path (e.g. {"wine"} for a Windows
    // build); empty when the file runs by itself.
    std::vector<std::string> launcher;
    // The Windows build under Wine, where a few things cannot be checked.
    bool underWine = false;
    // Wine's capture stalls on the sine source's large blocks: under Wine the
    // 1500 Hz sine is fed through the pipe source instead.
    bool feedsSine = false;
    // Lines of out.txt, and the value text of each of them on silence.
    size_t dumpLines = 0;
    std::string silentValue;
    // The whole window for an all-zero snapshot.
    Picture silentPicture;
    // Passes a complete frame of a steady input of 16384 (the value 0.5).
    FrameCheck showsSteadyHalf;
    // Passes a complete frame of a tone of amplitude 0.5 (up to 3 kHz) that
    // the dump, taken later, shows as well: in wavemon none of the silence
    // before the tone is left in it (the dump's zero crossings tell the
    // tone's frequency); in specmon the tone's peak, which a window still
    // partly silent puts in the same bin.
    FrameCheck showsTone;
};

// The Linux builds; or, with EARSHOT_E2E_WINE naming a directory, the
// Windows builds wavemon.exe and specmon.exe there, run under Wine.
const MonitorProgram& wavemonProgram();
const MonitorProgram& specmonProgram();

// A run of the program with these arguments in dir, with what its build
// needs and nothing else (no display, no audio server): the test adds the
// rest. Its standard output goes to dir/out.log, its standard error to
// dir/err.log.
rig::ChildOptions programRun(const MonitorProgram& program, const std::vector<std::string>& arguments,
                             const std::string& dir);

// A run of a program to its end, and what it wrote (without the carriage
// returns that Windows puts at the end of its lines of text).
struct Ended {
    int code = -1;
    std::string out;
    std::string err;
};

// Runs the program in dir (programRun) with these variables on top, and
// waits for its end.
Ended runToEnd(const MonitorProgram& program, const std::vector<std::string>& arguments, const std::string& dir,
               const rig::EnvironmentVariables& environment = {});

// Under Wine a program needs a display even with --no-window: Wine's
// desktop process, which the next programs of the same Wine server share,
// would start without one and leave them none. Starts one into display and
// returns environment with it added; for a Linux build, environment as it
// is. The caller keeps display for as long as its test runs.
rig::EnvironmentVariables withWineDisplay(const MonitorProgram& program, std::unique_ptr<rig::XvfbServer>& display,
                                          rig::EnvironmentVariables environment = {});

// The programs as a test parameter, printed by name.
enum class Monitor { wavemon, specmon };

const MonitorProgram& programOf(Monitor monitor);
void PrintTo(Monitor monitor, std::ostream* out);

} // namespace e2e
