// specmon: the power spectrum of an audio input (the default one, or the one
// --input names).
#include <optional>

#include "capture/capture_ring.h"
#include "capture/capture_stream.h"
#include "dump/dump_writer.h"
#include "monitor/command_line.h"
#include "monitor/frame_end.h"
#include "monitor/graticule.h"
#include "monitor/monitor_exit.h"
#include "monitor/monitor_window.h"
#include "plot/plot_helpers.h"
#include "specmon/spectrum_display.h"
#include "specmon/spectrum_fft.h"
#include "specmon/spectrum_grid.h"
#include "specmon/spectrum_levels.h"
#include "specmon/spectrum_readout.h"
#include "specmon/spectrum_usage.h"

namespace {
// The frame's transform data and levels; fixed arrays that live as long as
// the process.
float fftRe[fftSize] = {};
float fftIm[fftSize] = {};
float spectrumDb[spectrumBins] = {};
} // namespace

int main(int argc, char** argv)
{
    MonitorOptions options;
    if (const std::optional<int> status = answerCommandLine(specmonUsage, argc, argv, options)) {
        return *status;
    }
    float yOffset = offsetStart;
    openMonitorWindow();
    // The tables are built before the capture starts, so the audio thread
    // never runs while they are written.
    fft(fftRe, fftIm, fftForward, fftBuildTables);
    startCapture();

    do {
        yOffset = nextOffset(yOffset, mouseLeft(), mouseRight());
        copySnapshot(fftRe, fftIm);
        analyseFrame(fftRe, fftIm, spectrumDb);
        clearMonitorWindow();
        if (options.grid) {
            drawSpectrumGrid(yOffset);
        }
        drawSpectrum(spectrumDb, yOffset);
        drawSpectrumLegend();
        if (options.readout) {
            drawReadout(spectrumReadout(mouseX(), spectrumDb));
        }
    } while (!frameEndsMonitor());

    // The audio is shut down completely before the file is written, but a
    // stop that does not finish keeps neither the file nor the end waiting.
    const bool stopped = stopCaptureWithin(audioAnswerLimit);
    return finishExit(stopped, monitorExitStatus(dumpValues(monitorDumpPath, spectrumDb, spectrumBins)));
}
