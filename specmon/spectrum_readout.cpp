#include "specmon/spectrum_readout.h"

#include <algorithm>

#include "monitor/number_text.h"

SpectrumPeak refinedPeak(const float (&levelsDb)[spectrumBins])
{
    const int64_t k = std::max_element(std::begin(levelsDb), std::end(levelsDb)) - std::begin(levelsDb);
    const double b = levelsDb[k];
    double offset = 0.0;
    double db = b;
    if (k > 0 && k < spectrumBins - 1) {
        const double a = levelsDb[k - 1];
        const double c = levelsDb[k + 1];
        const double curve = a - 2.0 * b + c;
        if (curve < 0.0) {
            offset = 0.5 * (a - c) / curve;
            db = b - 0.25 * (a - c) * offset;
        }
    }
    return {(static_cast<double>(k) + offset) * binWidthHz, db};
}

std::string frequencyAndLevel(double hz, double db)
{
    return fixedDecimals(hz, 1) + " Hz  " + fixedDecimals(db, 2) + " dB";
}

std::string spectrumReadout(int64_t column, const float (&levelsDb)[spectrumBins], const LogAxis* axis,
                            const float (&columnsDb)[axisColumns], const float* referenceColumnsDb)
{
    const SpectrumPeak peak = refinedPeak(levelsDb);
    const std::string peakPart = "peak " + frequencyAndLevel(peak.hz, peak.db);
    if (column < 1 || column > axisColumns) {
        return peakPart;
    }
    std::string text = frequencyAndLevel(columnHz(axis, column), columnsDb[column - 1]);
    if (referenceColumnsDb != nullptr) {
        text += "  ref " + fixedDecimals(referenceColumnsDb[column - 1], 2) + " dB";
    }
    return text + "  " + peakPart;
}
