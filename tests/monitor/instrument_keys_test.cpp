#include "monitor/instrument_keys.h"

#include <gtest/gtest.h>

#include <vector>

#include "monitor/arguments.h"
#include "specmon/spectrum_usage.h"
#include "wavemon/wave_usage.h"

namespace {

MonitorOptions optionsOf(const ProgramUsage& usage, std::vector<const char*> arguments)
{
    arguments.insert(arguments.begin(), "tester");
    return readCommandLine(static_cast<int>(arguments.size()), arguments.data(), optionTable(usage)).options;
}

// As each program's options give them: Space freezes only an instrument; r
// restarts only a peak hold or an average, each alone as well; every other
// key does nothing.
TEST(InstrumentKeys, SpaceAndROnlyWhereTheOptionsAskForThem)
{
    InstrumentState state;
    const MonitorOptions plain = optionsOf(specmonUsage, {"--print", "--frames", "3", "--no-window"});
    applyInstrumentKey(freezeKey, plain, state);
    applyInstrumentKey(restartKey, plain, state);
    EXPECT_FALSE(state.frozen || state.restart) << "no instrument: a plain monitor";
    for (const ProgramUsage* usage : {&wavemonUsage, &specmonUsage}) {
        const MonitorOptions grid = optionsOf(*usage, {"--grid"});
        applyInstrumentKey(freezeKey, grid, state);
        EXPECT_TRUE(state.frozen) << usage->name;
        applyInstrumentKey(restartKey, grid, state);
        applyInstrumentKey('x', grid, state);
        EXPECT_FALSE(state.restart) << usage->name << ": --grid holds nothing to restart";
        applyInstrumentKey(freezeKey, grid, state);
        EXPECT_FALSE(state.frozen) << usage->name;
    }
    applyInstrumentKey(restartKey, optionsOf(specmonUsage, {"--peak-hold"}), state);
    EXPECT_TRUE(state.restart) << "--peak-hold alone";
    InstrumentState averaged;
    applyInstrumentKey('R', optionsOf(specmonUsage, {"--average", "4"}), averaged);
    EXPECT_TRUE(averaged.restart) << "--average alone";
}

} // namespace
