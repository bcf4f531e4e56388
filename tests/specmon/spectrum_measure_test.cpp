#include "specmon/spectrum_measure.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <iterator>

namespace {

// A spectrum at -190 dB but for the given bins.
struct Levels {
    float db[spectrumBins];
    Levels() { std::fill(std::begin(db), std::end(db), -190.0f); }
};

// The notes around A4 and an octave's turn, at and beside the halfway point
// between two notes, which goes to the upper one.
TEST(SpectrumMeasure, TheNearestNoteAndItsCents)
{
    const struct {
        double hz;
        const char* name;
        int64_t cents;
    } cases[] = {
        {440.0, "A4", 0},
        {261.63, "C4", 0},
        {1500.0, "F#6", 23},
        {440.0 * std::pow(2.0, 0.49 / 12.0), "A4", 49},
        {440.0 * std::pow(2.0, 0.5 / 12.0), "A#4", -50},
        {440.0 * std::pow(2.0, 2.5 / 12.0), "C5", -50},
        {440.0 * std::pow(2.0, 2.49 / 12.0), "B4", 49},
        {binWidthHz, "F#0", 23},
    };
    for (const auto& c : cases) {
        const NearestNote note = nearestNote(c.hz);
        EXPECT_EQ(note.name, c.name) << c.hz;
        EXPECT_EQ(note.cents, c.cents) << c.hz;
    }
}

// Silence (every level equal) and a strongest bin 0 are no tone; a second
// harmonic 20 dB under the fundamental is a distortion of 10 %; a
// fundamental in bin 4 leaves the harmonics' bins overlapping it, one in bin
// 5 does not, and a fundamental whose second harmonic lies beyond the
// spectrum has none to measure.
TEST(SpectrumMeasure, ToneAndDistortionAtTheirEdges)
{
    Levels silence;
    EXPECT_EQ(spectrumMeasureLine(measureSpectrum(silence.db)), "no tone");
    EXPECT_EQ(spectrumMeasureValues(measureSpectrum(silence.db), true), "- - - - 1");
    Levels direct;
    direct.db[0] = 40.0f;
    direct.db[64] = 20.0f;
    EXPECT_FALSE(measureSpectrum(direct.db).tone);

    Levels harmonic;
    harmonic.db[64] = 0.0f;
    harmonic.db[128] = -20.0f;
    const SpectrumMeasure tone = measureSpectrum(harmonic.db);
    EXPECT_EQ(spectrumMeasureLine(tone), "1500.0 Hz  F#6 +23 cents  THD 10.00 %");
    EXPECT_EQ(spectrumMeasureValues(tone, false), "1500.0 F#6 +23 10.00 0");

    for (const int64_t bin : {4, 5}) {
        Levels low;
        low.db[bin] = 0.0f;
        low.db[2 * bin] = -20.0f;
        const SpectrumMeasure measure = measureSpectrum(low.db);
        EXPECT_EQ(measure.thd.has_value(), bin == lowestDistortionBin) << "bin " << bin;
    }
    // A harmonic counts while its five bins fit in the spectrum: the second
    // of bin 510 in bin 1020 does, that of bin 511 in bin 1022 does not.
    for (const int64_t bin : {510, 511}) {
        Levels edge;
        edge.db[bin] = 0.0f;
        edge.db[2 * bin] = -20.0f;
        const SpectrumMeasure measure = measureSpectrum(edge.db);
        EXPECT_EQ(measure.thd.has_value(), 2 * bin <= highestHarmonicBin) << "bin " << bin;
        if (measure.thd) {
            EXPECT_NEAR(*measure.thd, 10.0, 1e-6);
        }
    }
}

} // namespace
