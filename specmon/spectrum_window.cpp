#include "specmon/spectrum_window.h"

#include <cmath>

#include "specmon/spectrum_tables.h"

void applyHamming(float (&data)[fftSize], int64_t n)
{
    const double last = static_cast<double>(n - 1);
    for (int64_t i = 0; i < n; ++i) {
        const double angle = static_cast<double>(i) * twoPi / last;
        const double w = 0.54 - 0.46 * std::cos(angle);
        data[i] = static_cast<float>(w * static_cast<double>(data[i]));
    }
}
