#include "specmon/spectrum_axis.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace {

// The logarithmic axis spans this many steps of a column, by this ratio.
constexpr auto lastColumnStep = static_cast<double>(axisColumns - 1);
const double highestBin = static_cast<double>(spectrumBins - 1);

} // namespace

double logColumnHz(double x)
{
    return binWidthHz * std::pow(highestBin, (x - 1.0) / lastColumnStep);
}

int64_t logColumnOf(double hz)
{
    return 1 + std::llround(lastColumnStep * std::log(hz / binWidthHz) / std::log(highestBin));
}

void buildLogAxis(LogAxis& axis)
{
    for (int64_t x = 1; x <= axisColumns; ++x) {
        LogColumn& column = axis.columns[x - 1];
        const double from = logColumnHz(static_cast<double>(x) - 0.5) / binWidthHz;
        const double to = logColumnHz(static_cast<double>(x) + 0.5) / binWidthHz;
        column.firstBin = static_cast<int64_t>(std::ceil(from));
        column.endBin = std::min(static_cast<int64_t>(std::ceil(to)), spectrumBins);
        if (column.endBin <= column.firstBin) {
            const double at = logColumnHz(static_cast<double>(x)) / binWidthHz;
            column.firstBin = std::min(static_cast<int64_t>(std::floor(at)), spectrumBins - 2);
            column.endBin = column.firstBin;
            column.fraction = at - static_cast<double>(column.firstBin);
        }
    }
}

void columnLevels(const LogAxis* axis, const float (&levelsDb)[spectrumBins], float (&columnsDb)[axisColumns])
{
    if (axis == nullptr) {
        std::copy(std::begin(levelsDb), std::end(levelsDb), std::begin(columnsDb));
        return;
    }
    for (int64_t i = 0; i < axisColumns; ++i) {
        const LogColumn& column = axis->columns[i];
        if (column.endBin > column.firstBin) {
            columnsDb[i] = *std::max_element(levelsDb + column.firstBin, levelsDb + column.endBin);
        } else {
            const double low = levelsDb[column.firstBin];
            const double high = levelsDb[column.firstBin + 1];
            columnsDb[i] = static_cast<float>(low + column.fraction * (high - low));
        }
    }
}

double columnHz(const LogAxis* axis, int64_t x)
{
    return axis == nullptr ? static_cast<double>(x - 1) * binWidthHz : logColumnHz(static_cast<double>(x));
}
