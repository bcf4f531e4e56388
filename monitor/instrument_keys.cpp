#include "monitor/instrument_keys.h"

#include <cctype>

void applyInstrumentKey(int code, const MonitorOptions& options, InstrumentState& state)
{
    if (code == freezeKey && options.instrument()) {
        state.frozen = !state.frozen;
    } else if (std::tolower(code) == restartKey && (options.peakHold || options.average > 0)) {
        state.restart = true;
    }
}
