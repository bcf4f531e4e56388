#include "specmon/spectrum_usage.h"

#include "capture/capture_format.h"
#include "monitor/arguments.h"
#include "specmon/spectrum_display.h"
#include "specmon/spectrum_grid.h"
#include "specmon/spectrum_tables.h"

namespace {

std::string n(double value)
{
    return numberText(value);
}

} // namespace

const ProgramUsage specmonUsage = {
    "specmon",
    "live power spectrum of the default audio input",
    "specmon shows the power spectrum of the default audio input: a Hamming window and a " + n(fftSize) +
        "-point FFT of the " + n(captureLength) + " newest samples, the " + n(spectrumBins) +
        " lower bins as a line at " + n(pixelsPerDb) + " pixels per decibel; column x shows (x - 1) x " +
        n(binWidthHz) + " Hz. " + captureSentence(),
    "moves the trace down " + n(offsetStep) + " pixels per frame (to " + n(offsetLowest) + ")",
    "moves the trace up " + n(offsetStep) + " pixels per frame (to " + n(offsetHighest) + ")",
    "the " + n(spectrumBins) + " levels in dB of its last frame",
    "wavemon",
    {
        {"--grid", "draw a labelled grid under the trace: a line at every whole kHz, labelled every " +
                       n(gridLabelEveryKhz) + " kHz, and a line at every multiple of " + n(gridLevelStepDb) +
                       " dB, which follows the offset"},
        {"--readout", "show in the window's top line the frequency and level of the bin under the pointer and "
                      "the frame's peak, refined between bins, e.g. 1500.0 Hz  48.83 dB  peak 1500.0 Hz  48.83 dB"},
        {"--peak-hold", "draw under the trace, in light red, the highest level of each bin since the start or the "
                        "last r"},
        {"--average N", "show (and dump) an exponential average of each bin's power over the frames, each new frame "
                        "weighing 1/N (N from " +
                            n(averageLeast) + " to " + n(averageMost) + "), turned into decibels; r starts it afresh"},
    },
    {
        {"r, with --peak-hold or --average", "starts the peak hold and the average afresh"},
    },
};
