#include "monitor/instrument_keys.h"

#include <cctype>

void applyInstrumentKey(int code, const MonitorOptions& options, InstrumentState& state)
{
    if (code == freezeKey && options.instrument) {
        state.frozen = !state.frozen;
    } else if (code > 0 && code < 256 && std::tolower(code) == restartKey &&
               options.instrumentKeys.find(restartKey) != std::string::npos) {
        state.restart = true;
    }
}
