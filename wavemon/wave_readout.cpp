#include "wavemon/wave_readout.h"

#include "monitor/number_text.h"
#include "wavemon/wave_grid.h"

std::string waveReadout(int64_t column, float sample)
{
    return fixedDecimals(static_cast<double>(column) / samplesPerMs, 2) + " ms  " +
           signedFixedDecimals(static_cast<double>(sample), 4);
}
