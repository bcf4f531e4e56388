// specmon: the power spectrum of an audio input (the default one, or the one
// --input names).
#include <optional>

#include "capture/capture_ring.h"
#include "capture/capture_stream.h"
#include "dump/dump_writer.h"
#include "monitor/command_line.h"
#include "monitor/dump_destination.h"
#include "monitor/frame_end.h"
#include "monitor/graticule.h"
#include "monitor/monitor_exit.h"
#include "monitor/monitor_window.h"
#include "plot/plot_helpers.h"
#include "specmon/spectrum_display.h"
#include "specmon/spectrum_fft.h"
#include "specmon/spectrum_grid.h"
#include "specmon/spectrum_levels.h"
#include "specmon/spectrum_memory.h"
#include "specmon/spectrum_readout.h"
#include "specmon/spectrum_size.h"
#include "specmon/spectrum_usage.h"

namespace {
// The frame's transform data and levels; fixed arrays that live as long as
// the process.
float fftRe[fftSize] = {};
float fftIm[fftSize] = {};
float spectrumDb[spectrumBins] = {};
// What --average and --peak-hold remember across frames.
PowerAverage powerAverage;
PeakHold peakHold;

// The levels of the newest samples: averaged over frames with --average,
// and raised into the peak hold with --peak-hold, each started afresh first
// when the user asked for it. Only frames that hold the input enter them: a
// frame that still holds some of the silence before the stream (at the
// start, when the input comes back) starts both afresh, and shows its own
// levels.
void analyseNewFrame(const MonitorOptions& options, FrameLoop& loop)
{
    loop.holdsInput = snapshotHoldsInput(copySnapshot(fftRe, fftIm));
    if (loop.instrument.restart || !loop.holdsInput) {
        powerAverage.started = false;
        peakHold.started = false;
        loop.instrument.restart = false;
    }
    if (options.average > 0 && loop.holdsInput) {
        transformFrame(fftRe, fftIm);
        averagePowers(powerAverage, fftRe, fftIm, options.average, spectrumDb);
    } else {
        analyseFrame(fftRe, fftIm, spectrumDb);
    }
    if (options.peakHold && loop.holdsInput) {
        holdPeaks(peakHold, spectrumDb);
    }
}

// The frame: the grid under everything, the peak hold under the trace, the
// legend over it, then the readout and the frozen mark in the top line.
void drawFrame(float offset, const MonitorOptions& options, const InstrumentState& instrument)
{
    clearMonitorWindow();
    if (options.grid) {
        drawSpectrumGrid(offset);
    }
    if (options.peakHold && peakHold.started) {
        drawSpectrum(peakHold.levelsDb, offset, peakHoldColour);
    }
    drawSpectrum(spectrumDb, offset, traceColour);
    drawSpectrumLegend();
    if (options.readout) {
        drawReadout(spectrumReadout(mouseX(), spectrumDb));
    }
    if (instrument.frozen) {
        drawFrozenMark();
    }
}
} // namespace

int main(int argc, char** argv)
{
    MonitorOptions options;
    if (const std::optional<int> status = answerCommandLine(specmonUsage, argc, argv, options)) {
        return *status;
    }
    float yOffset = offsetStart;
    FrameLoop loop;
    openMonitorWindow(options);
    // The tables are built before the capture starts, so the audio thread
    // never runs while they are written.
    fft(fftRe, fftIm, fftForward, fftBuildTables);
    startCapture();

    // A frozen picture keeps its levels while the offset and the readout
    // follow the mouse; its levels are what goes to out.txt.
    do {
        yOffset = nextOffset(yOffset, mouseLeft(), mouseRight());
        if (!loop.instrument.frozen) {
            analyseNewFrame(options, loop);
        }
        if (!options.noWindow) {
            drawFrame(yOffset, options, loop.instrument);
        }
    } while (!frameEndsMonitor(options, loop, spectrumDb));

    // The audio is shut down completely before the file is written, but a
    // stop that does not finish keeps neither the file nor the end waiting.
    const bool stopped = stopCaptureWithin(audioAnswerLimit);
    return finishExit(stopped, monitorExitStatus(writeDump(options, spectrumDb, spectrumBins)));
}
