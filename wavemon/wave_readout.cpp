#include "wavemon/wave_readout.h"

#include <cstdio>

#include "wavemon/wave_grid.h"

std::string waveReadout(int64_t column, float sample)
{
    char text[48];
    std::snprintf(text, sizeof text, "%.2f ms  %+.4f", static_cast<double>(column) / samplesPerMs,
                  static_cast<double>(sample));
    return text;
}
