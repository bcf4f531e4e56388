#include "specmon/spectrum_usage.h"

#include "capture/capture_format.h"
#include "monitor/dump_destination.h"
#include "monitor/instrument_keys.h"
#include "monitor/number_text.h"
#include "specmon/spectrum_axis.h"
#include "specmon/spectrum_display.h"
#include "specmon/spectrum_grid.h"
#include "specmon/spectrum_measure.h"
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
        instrumentOption(flagOption("--grid", &MonitorOptions::grid,
                                    "draw a labelled grid under the trace: a line at every whole kHz, labelled every " +
                                        numberText(gridLabelEveryKhz) + " kHz, and a line at every multiple of " +
                                        numberText(gridLevelStepDb) + " dB, which follows the offset")),
        instrumentOption(flagOption("--readout", &MonitorOptions::readout,
                                    "show in the window's top line the frequency and level of the bin under the "
                                    "pointer and the frame's peak, refined between bins, e.g. 1500.0 Hz  48.83 dB  "
                                    "peak 1500.0 Hz  48.83 dB")),
        instrumentOption(flagOption("--peak-hold", &MonitorOptions::peakHold,
                                    "draw under the trace, in light red, the highest level of each bin since the "
                                    "start or the last r"),
                         std::string(1, restartKey)),
        instrumentOption(wholeNumberOption("--average", &MonitorOptions::average, averageLeast, averageMost,
                                           "show (and dump) an exponential average of each bin's power over the "
                                           "frames, each new frame weighing 1/N (N from " +
                                               numberText(averageLeast) + " to " + numberText(averageMost) +
                                               "), turned into decibels; r starts it afresh"),
                         std::string(1, restartKey)),
        instrumentOption(flagOption(
            "--log", &MonitorOptions::log,
            "show the frequencies on a logarithmic axis: column x shows " + numberText(binWidthHz) + " x " +
                numberText(spectrumBins - 1) + "^((x - 1) / " + numberText(spectrumBins - 1) +
                ") Hz, bin 1 in column 1 and bin " + numberText(spectrumBins - 1) + " in column " +
                numberText(axisColumns) +
                ", with the highest level of the bins in its span, or where the span holds no bin (below about 3.5 "
                "kHz) the level between the two bins around it; with --grid, lines at 1 to 9 times each power of "
                "ten from " +
                numberText(logGridLowestHz) + " Hz to " + numberText(logGridHighestHz / 1000.0) + " kHz; " +
                std::string(monitorDumpPath) + " and --print keep the bins' levels")),
        instrumentOption(flagOption(
            "--measure", &MonitorOptions::measure,
            "show in the window's second text line the frame's tone: its frequency, refined between bins as the "
            "readout's peak, the nearest note of equal temperament (A4 = " +
                numberText(concertA) +
                " Hz) and the distance to it in cents, and the distortion: the root of the power of harmonics 2 to " +
                numberText(highestHarmonic) + " over the fundamental's, each summed over " +
                numberText(2 * harmonicHalfWidth + 1) +
                " bins, e.g. 1500.0 Hz  F#6 +23 cents  THD 0.12 % (no tone for silence); CLIP follows in light red "
                "when a sample is at full scale")),
    },
    {
        {restartKey, "starts the peak hold and the average afresh"},
    },
};
