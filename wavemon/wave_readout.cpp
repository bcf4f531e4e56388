#include "wavemon/wave_readout.h"

#include "monitor/number_text.h"
#include "wavemon/wave_grid.h"

std::string waveReadout(int64_t column, float sample, std::optional<float> reference)
{
    std::string text = fixedDecimals(static_cast<double>(column) / samplesPerMs, 2) + " ms  " +
                       signedFixedDecimals(static_cast<double>(sample), 4);
    if (reference) {
        text += "  ref " + signedFixedDecimals(static_cast<double>(*reference), 4);
    }
    return text;
}
