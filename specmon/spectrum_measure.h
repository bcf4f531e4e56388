// specmon's measurements (--measure, --print=measure) over a frame's levels
// (after averaging): the tone's frequency, refined between bins as the
// readout's peak is, its note of equal temperament (A4 = 440 Hz) with the
// distance in cents, and the distortion by its harmonics. Pure; any thread.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "specmon/spectrum_size.h"

// The pitch that names the notes: A4, MIDI note 69.
inline constexpr double concertA = 440.0;
inline constexpr int64_t concertAMidi = 69;

// The harmonics that count in the distortion, and the bins summed around the
// fundamental and each harmonic (two either side); the highest bin a
// harmonic's centre may have, so that its five bins lie within the spectrum.
inline constexpr int64_t highestHarmonic = 10;
inline constexpr int64_t harmonicHalfWidth = 2;
inline constexpr int64_t highestHarmonicBin = spectrumBins - 1 - harmonicHalfWidth;
// Below this strongest bin the harmonics' bins would overlap the
// fundamental's and each other's.
inline constexpr int64_t lowestDistortionBin = 2 * harmonicHalfWidth + 1;

// The note of equal temperament nearest to a frequency, and the distance to
// it in whole cents: the note of the nearest MIDI number m = 69 + 12 log2(hz
// / 440), halves going up (a tone halfway between two notes is the upper
// one, 50 cents flat), named C C# D ... B with its octave (C4 = 261.63 Hz).
struct NearestNote {
    std::string name; // "F#6"
    int64_t cents = 0;
};
NearestNote nearestNote(double hz);

struct SpectrumMeasure {
    bool tone = false; // false when the strongest bin is bin 0 (silence among it: all levels equal)
    double hz = 0.0;   // the peak refined between bins (refinedPeak)
    NearestNote note;
    std::optional<double> thd; // the distortion in per cent; none below lowestDistortionBin or without a harmonic
};

// With P(b) = 10^(level(b) / 10) and k the strongest bin: the fundamental's
// power is the sum of P over bins k - 2 to k + 2, harmonic h (2 to 10) the
// sum over the five bins around round(h x hz / binWidthHz), counted while
// that bin is at most highestHarmonicBin; the distortion is 100 x the root of
// the harmonics' sum over the fundamental's.
SpectrumMeasure measureSpectrum(const float (&levelsDb)[spectrumBins]);

// The measurement line: "1500.0 Hz  F#6 +23 cents  THD 0.12 %" ("THD -- %"
// without a distortion), or "no tone".
std::string spectrumMeasureLine(const SpectrumMeasure& measure);

// The same values for scripts, without units, then the clip as 1 or 0:
// "1500.0 F#6 +23 0.12 0" ("-" for what is not there; "- - - - 0" for no
// tone).
std::string spectrumMeasureValues(const SpectrumMeasure& measure, bool clip);
