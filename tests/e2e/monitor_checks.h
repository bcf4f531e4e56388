// Checks that the end-to-end tests of both monitors share: the programs as
// a parameter, the silent picture, the lines a program says, the ways to end
// it and the tone a dump holds.
#pragma once

#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "tests/e2e/monitor_session.h"

namespace e2e {

inline const auto bothMonitors = testing::Values(Monitor::wavemon, Monitor::specmon);

// The test's name for a program parameter.
std::string monitorName(const testing::TestParamInfo<Monitor>& info);

// Waits until the program's window shows the picture of silence, so that it
// is in its frame loop.
testing::AssertionResult showsSilence(MonitorSession& session, const MonitorProgram& program);

// Whether the program's output holds this line of its own, or does within
// the rig's deadline.
testing::AssertionResult saysLine(const MonitorSession& session, const MonitorProgram& program,
                                  const std::string& text);

// The ways a user ends a program.
enum class ExitWay { escape, ctrlC, sigint, sigterm, sighup };

extern const char* const exitWayNames[];

void PrintTo(ExitWay way, std::ostream* out);

void endBy(MonitorSession& session, ExitWay way);

// The frequency of the tone in a dump: from wavemon's samples by their zero
// crossings, from specmon's levels by the strongest bin.
double dumpedToneHz(Monitor monitor, const std::string& dump);

} // namespace e2e
