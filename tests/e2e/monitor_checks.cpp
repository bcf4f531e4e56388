#include "tests/e2e/monitor_checks.h"

#include <X11/keysym.h>
#include <algorithm>
#include <csignal>

#include "tests/e2e/dump_file.h"

namespace e2e {

std::string monitorName(const testing::TestParamInfo<Monitor>& info)
{
    return programOf(info.param).name;
}

testing::AssertionResult showsSilence(MonitorSession& session, const MonitorProgram& program)
{
    return session.waitForFrame("the picture of silence", [&](const rig::RgbImage& image) {
        return comparePicture(image, program.silentPicture);
    });
}

testing::AssertionResult saysLine(const MonitorSession& session, const MonitorProgram& program, const std::string& text)
{
    const std::string line = program.name + ": " + text;
    if (rig::waitUntil([&] { return session.output().find(line) != std::string::npos; })) {
        return testing::AssertionSuccess();
    }
    return testing::AssertionFailure() << program.name << " did not say \"" << text << "\"; it wrote:\n"
                                       << session.output();
}

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

double dumpedToneHz(Monitor monitor, const std::string& dump)
{
    const MonitorProgram& program = programOf(monitor);
    DumpValues values;
    if (!readDumpValues(dump, program.dumpLines, values)) {
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

} // namespace e2e
