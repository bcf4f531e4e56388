// wavemon: an audio input (the default one, or the one --input names) as an
// oscilloscope trace.
#include <algorithm>
#include <optional>
#include <span>
#include <string>
#include <system_error>
#include <thread>

#include "capture/capture_ring.h"
#include "capture/capture_stream.h"
#include "monitor/command_line.h"
#include "monitor/dump_destination.h"
#include "monitor/exit_status.h"
#include "monitor/frame_end.h"
#include "monitor/graticule.h"
#include "monitor/monitor_exit.h"
#include "monitor/monitor_window.h"
#include "monitor/reference_file.h"
#include "monitor/user_notice.h"
#include "plot/plot_helpers.h"
#include "wavemon/scale_control.h"
#include "wavemon/wave_measure.h"
#include "wavemon/wave_trace.h"
#include "wavemon/wave_trigger.h"
#include "wavemon/wave_usage.h"

namespace {

// What the frame loop carries from one frame to the next.
struct WaveLoop {
    FrameLoop frame;
    TraceView view;
    // The loop's copy of the snapshot, read in place by the frame's worker;
    // while the picture is frozen, the frozen samples.
    float samples[traceLength] = {};
    // At most one worker lives at a time: the previous frame's is joined
    // before the next copy overwrites the samples it reads. It has had the
    // whole 100 ms pause to finish, so the join normally returns at once.
    std::thread worker;
    bool toldNoWorker = false;
    // The reference trace (--reference): the samples of a frame as drawn.
    float reference[tracePoints] = {};
};

// With --reference=FILE, the reference starts as the older half of the
// samples the dump in FILE holds, which a frame draws. False, having told the
// user why, when FILE is no wavemon dump.
bool loadReference(const MonitorOptions& options, WaveLoop& loop)
{
    if (options.referenceFile.empty()) {
        return true;
    }
    float dumped[traceLength];
    if (const std::string problem = readReferenceFile(options.referenceFile, wavemonUsage.name, traceLength, dumped);
        !problem.empty()) {
        tellUser(problem);
        return false;
    }
    std::copy_n(dumped, tracePoints, loop.reference);
    loop.view.reference = loop.reference;
    return true;
}

// m stores the samples the last frame drew as the reference.
void storeReference(WaveLoop& loop)
{
    if (loop.frame.instrument.storeReference) {
        loop.frame.instrument.storeReference = false;
        std::copy_n(loop.samples + loop.view.first, tracePoints, loop.reference);
        loop.view.reference = loop.reference;
    }
}

// The view follows the mouse and the freeze key.
void steerView(const MonitorOptions& options, WaveLoop& loop)
{
    loop.view.scale = nextScale(loop.view.scale, mouseLeft(), mouseRight());
    loop.view.readoutColumn = options.readout ? mouseX() : -1;
    loop.view.frozen = loop.frame.instrument.frozen;
}

// The frame's measurements, over the whole snapshot (or the frozen one), for
// the measurement line and for --print=measure.
void measureSamples(const MonitorOptions& options, WaveLoop& loop)
{
    if (!options.measure && options.print != PrintKind::measure) {
        return;
    }
    const WaveMeasure measure = measureWave(loop.samples);
    loop.view.measureLine = options.measure ? waveMeasureLine(measure) : std::string();
    loop.view.clip = measure.clip;
    loop.frame.measured = waveMeasureValues(measure);
}

void finishTraceWorker(WaveLoop& loop)
{
    if (loop.worker.joinable()) {
        loop.worker.join();
    }
}

// The newest samples, unless the picture is frozen, and where the frame
// starts in them.
void takeSamples(const MonitorOptions& options, WaveLoop& loop)
{
    if (!loop.frame.instrument.frozen) {
        loop.frame.holdsInput = snapshotHoldsInput(copySnapshot(loop.samples));
    }
    loop.view.first = options.trigger.on ? frameStart(loop.samples, options.trigger) : 0;
}

// Hands the frame's picture to a worker of its own. If no thread can be had,
// the frame shows only the cleared window and the help lines, and the loop
// goes on; the user hears of it once.
void startTraceWorker(WaveLoop& loop)
{
    try {
        loop.worker = std::thread(drawTrace, std::cref(loop.samples), loop.view);
    } catch (const std::system_error& error) {
        clearMonitorWindow();
        drawWaveHelp();
        if (!loop.toldNoWorker) {
            loop.toldNoWorker = true;
            tellUser("cannot start a thread to draw the trace (" + error.code().message() +
                     "); frames show no trace while none can be started");
        }
    }
}

std::span<const float> shownSamples(const WaveLoop& loop)
{
    return std::span<const float>(loop.samples + loop.view.first, tracePoints);
}

// The dump is taken from the shared snapshot, frozen while it is written,
// and so may be newer than the last trace shown; a frozen picture dumps the
// samples it froze.
std::string dumpSamples(const MonitorOptions& options, const WaveLoop& loop)
{
    if (loop.frame.instrument.frozen) {
        return writeDump(options, loop.samples, traceLength);
    }
    raiseSnapshotHold();
    std::string problem = writeDump(options, CaptureSnapshot, traceLength);
    lowerSnapshotHold();
    return problem;
}

} // namespace

int main(int argc, char** argv)
{
    MonitorOptions options;
    if (const std::optional<int> status = answerCommandLine(wavemonUsage, argc, argv, options)) {
        return *status;
    }
    WaveLoop loop;
    loop.view.grid = options.grid;
    loop.view.gridKeepOut = gridKeepOutRows(options);
    if (!loadReference(options, loop)) {
        return exitWrongCommandLine;
    }
    openMonitorWindow(options);
    startCapture();

    // Without a window there is nothing to draw, and no worker.
    do {
        steerView(options, loop);
        finishTraceWorker(loop);
        storeReference(loop);
        takeSamples(options, loop);
        measureSamples(options, loop);
        if (!options.noWindow) {
            startTraceWorker(loop);
        }
    } while (!frameEndsMonitor(options, loop.frame, shownSamples(loop)));
    finishTraceWorker(loop);

    const std::string dumpProblem = dumpSamples(options, loop);
    const bool stopped = stopCaptureWithin(audioAnswerLimit);
    return finishExit(stopped, monitorExitStatus(dumpProblem));
}
