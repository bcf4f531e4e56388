// specmon: the power spectrum of an audio input (the default one, or the one
// --input names).
#include <algorithm>
#include <iterator>
#include <optional>
#include <string>

#include "capture/capture_ring.h"
#include "capture/capture_stream.h"
#include "monitor/command_line.h"
#include "monitor/dump_destination.h"
#include "monitor/exit_status.h"
#include "monitor/frame_end.h"
#include "monitor/frozen_mark.h"
#include "monitor/graticule.h"
#include "monitor/measure_line.h"
#include "monitor/monitor_exit.h"
#include "monitor/monitor_window.h"
#include "monitor/readout_line.h"
#include "monitor/reference_file.h"
#include "monitor/user_notice.h"
#include "plot/plot_helpers.h"
#include "specmon/spectrum_axis.h"
#include "specmon/spectrum_display.h"
#include "specmon/spectrum_fft.h"
#include "specmon/spectrum_grid.h"
#include "specmon/spectrum_levels.h"
#include "specmon/spectrum_measure.h"
#include "specmon/spectrum_memory.h"
#include "specmon/spectrum_readout.h"
#include "specmon/spectrum_size.h"
#include "specmon/spectrum_usage.h"

namespace {

// What the frame loop carries from one frame to the next: the offset, the
// frame's transform data and levels (while the picture is frozen, the frozen
// levels), whether its samples reached full scale, what --average and
// --peak-hold remember, the measurement line, the reference trace's levels
// (--reference), and the logarithmic axis (--log; null for the linear one)
// with the levels drawn in each column.
struct SpectrumLoop {
    FrameLoop frame;
    float offset = offsetStart;
    float re[fftSize] = {};
    float im[fftSize] = {};
    float levelsDb[spectrumBins] = {};
    bool clip = false;
    PowerAverage average;
    PeakHold peaks;
    std::string measureLine;
    float reference[spectrumBins] = {};
    bool hasReference = false;
    LogAxis logAxis;
    const LogAxis* axis = nullptr;
    float columnsDb[axisColumns] = {};
    float referenceColumnsDb[axisColumns] = {};
    float peakColumnsDb[axisColumns] = {};
};

// With --reference=FILE, the reference starts as the levels of the dump in
// FILE. False, having told the user why, when FILE is no specmon dump.
bool loadReference(const MonitorOptions& options, SpectrumLoop& loop)
{
    if (options.referenceFile.empty()) {
        return true;
    }
    if (const std::string problem =
            readReferenceFile(options.referenceFile, specmonUsage.name, spectrumBins, loop.reference);
        !problem.empty()) {
        tellUser(problem);
        return false;
    }
    loop.hasReference = true;
    return true;
}

// m stores the levels the last frame drew as the reference.
void storeReference(SpectrumLoop& loop)
{
    if (loop.frame.instrument.storeReference) {
        loop.frame.instrument.storeReference = false;
        std::copy(std::begin(loop.levelsDb), std::end(loop.levelsDb), std::begin(loop.reference));
        loop.hasReference = true;
    }
}

// The levels of the newest samples: averaged over frames with --average,
// and raised into the peak hold with --peak-hold, each started afresh first
// when the user asked for it. Only frames that hold the input enter them: a
// frame that still holds some of the silence before the stream (at the
// start, when the input comes back) starts both afresh, and shows its own
// levels.
void analyseNewFrame(const MonitorOptions& options, SpectrumLoop& loop)
{
    loop.frame.holdsInput = snapshotHoldsInput(copySnapshot(loop.re, loop.im));
    loop.clip = holdsFullScale(loop.re);
    if (loop.frame.instrument.restart || !loop.frame.holdsInput) {
        loop.average.started = false;
        loop.peaks.started = false;
        loop.frame.instrument.restart = false;
    }
    if (options.average > 0 && loop.frame.holdsInput) {
        transformFrame(loop.re, loop.im);
        averagePowers(loop.average, loop.re, loop.im, options.average, loop.levelsDb);
    } else {
        analyseFrame(loop.re, loop.im, loop.levelsDb);
    }
    if (options.peakHold && loop.frame.holdsInput) {
        holdPeaks(loop.peaks, loop.levelsDb);
    }
}

// The frame's measurements, over its levels (or the frozen ones), for the
// measurement line and for --print=measure.
void measureLevels(const MonitorOptions& options, SpectrumLoop& loop)
{
    if (!options.measure && options.print != PrintKind::measure) {
        return;
    }
    const SpectrumMeasure measure = measureSpectrum(loop.levelsDb);
    loop.measureLine = spectrumMeasureLine(measure);
    loop.frame.measured = spectrumMeasureValues(measure, loop.clip);
}

// The frame: the grid under everything, the reference and the peak hold
// under the trace, each as the axis draws it, the legend over them, then
// the readout and the frozen mark in the top line and the measurement line
// under them.
void drawFrame(const MonitorOptions& options, SpectrumLoop& loop)
{
    clearMonitorWindow();
    if (options.grid) {
        drawSpectrumGrid(loop.offset, options.log, gridKeepOutRows(options));
    }
    if (loop.hasReference) {
        columnLevels(loop.axis, loop.reference, loop.referenceColumnsDb);
        drawSpectrum(loop.referenceColumnsDb, loop.offset, referenceColour);
    }
    if (options.peakHold && loop.peaks.started) {
        columnLevels(loop.axis, loop.peaks.levelsDb, loop.peakColumnsDb);
        drawSpectrum(loop.peakColumnsDb, loop.offset, peakHoldColour);
    }
    columnLevels(loop.axis, loop.levelsDb, loop.columnsDb);
    drawSpectrum(loop.columnsDb, loop.offset, traceColour);
    drawSpectrumLegend();
    if (options.readout) {
        drawReadout(spectrumReadout(mouseX(), loop.levelsDb, loop.axis, loop.columnsDb,
                                    loop.hasReference ? loop.referenceColumnsDb : nullptr));
    }
    if (loop.frame.instrument.frozen) {
        drawFrozenMark();
    }
    if (options.measure) {
        drawMeasureLine(loop.measureLine, loop.clip);
    }
}

} // namespace

int main(int argc, char** argv)
{
    MonitorOptions options;
    if (const std::optional<int> status = answerCommandLine(specmonUsage, argc, argv, options)) {
        return *status;
    }
    SpectrumLoop loop;
    if (!loadReference(options, loop)) {
        return exitWrongCommandLine;
    }
    if (options.log) {
        buildLogAxis(loop.logAxis);
        loop.axis = &loop.logAxis;
    }
    openMonitorWindow(options);
    // The tables are built before the capture starts, so the audio thread
    // never runs while they are written.
    fft(loop.re, loop.im, fftForward, fftBuildTables);
    startCapture();

    // A frozen picture keeps its levels while the offset and the readout
    // follow the mouse; its levels are what goes to out.txt.
    do {
        loop.offset = nextOffset(loop.offset, mouseLeft(), mouseRight());
        storeReference(loop);
        if (!loop.frame.instrument.frozen) {
            analyseNewFrame(options, loop);
        }
        measureLevels(options, loop);
        if (!options.noWindow) {
            drawFrame(options, loop);
        }
    } while (!frameEndsMonitor(options, loop.frame, loop.levelsDb));

    // The audio is shut down completely before the file is written, but a
    // stop that does not finish keeps neither the file nor the end waiting.
    const bool stopped = stopCaptureWithin(audioAnswerLimit);
    return finishExit(stopped, monitorExitStatus(writeDump(options, loop.levelsDb, spectrumBins)));
}
