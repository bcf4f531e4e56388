#include "monitor/instrument_keys.h"

#include <cctype>

void applyInstrumentKey(int code, const MonitorOptions& options, InstrumentState& state)
{
    if (code == freezeKey && options.instrument) {
        state.frozen = !state.frozen;
        return;
    }
    const char key = code > 0 && code < 256 ? static_cast<char>(std::tolower(code)) : '\0';
    if (key == '\0' || options.instrumentKeys.find(key) == std::string::npos) {
        return;
    }
    state.restart = state.restart || key == restartKey;
    state.storeReference = state.storeReference || key == referenceKey;
}
