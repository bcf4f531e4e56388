#include "specmon/spectrum_usage.h"

#include "capture/capture_format.h"
#include "monitor/arguments.h"
#include "specmon/spectrum_display.h"
#include "specmon/spectrum_grid.h"
#include "specmon/spectrum_size.h"

const ProgramUsage specmonUsage = {
    "specmon",
    "live power spectrum of the default audio input",
    "specmon shows the power spectrum of the default audio input: a Hamming window and a " + numberText(fftSize) +
        "-point FFT of the " + numberText(captureLength) + " newest samples, the " + numberText(spectrumBins) +
        " lower bins as a line at " + numberText(pixelsPerDb) + " pixels per decibel; column x shows (x - 1) x " +
        numberText(binWidthHz) + " Hz. " + captureSentence(),
    "moves the trace down " + numberText(offsetStep) + " pixels per frame (to " + numberText(offsetLowest) + ")",
    "moves the trace up " + numberText(offsetStep) + " pixels per frame (to " + numberText(offsetHighest) + ")",
    "the " + numberText(spectrumBins) + " levels in dB of its last frame",
    "wavemon",
    {
        {"--grid", "draw a labelled grid under the trace: a line at every whole kHz, labelled every " +
                       numberText(gridLabelEveryKhz) + " kHz, and a line at every multiple of " +
                       numberText(gridLevelStepDb) + " dB, which follows the offset"},
        {"--readout", "show in the window's top line the frequency and level of the bin under the pointer and "
                      "the frame's peak, refined between bins, e.g. 1500.0 Hz  48.83 dB  peak 1500.0 Hz  48.83 dB"},
        {"--peak-hold", "draw under the trace, in light red, the highest level of each bin since the start or the "
                        "last r"},
        {"--average N", "show (and dump) an exponential average of each bin's power over the frames, each new frame "
                        "weighing 1/N (N from " +
                            numberText(averageLeast) + " to " + numberText(averageMost) +
                            "), turned into decibels; r starts it afresh"},
    },
    {
        {"r, with --peak-hold or --average", "starts the peak hold and the average afresh"},
    },
};
