// wavemon: an audio input (the default one, or the one --input names) as an
// oscilloscope trace.
#include <optional>
#include <span>
#include <string>
#include <system_error>
#include <thread>

#include "capture/capture_ring.h"
#include "capture/capture_stream.h"
#include "dump/dump_writer.h"
#include "monitor/command_line.h"
#include "monitor/dump_destination.h"
#include "monitor/frame_end.h"
#include "monitor/monitor_exit.h"
#include "monitor/monitor_window.h"
#include "monitor/user_notice.h"
#include "plot/plot_helpers.h"
#include "wavemon/scale_control.h"
#include "wavemon/wave_trace.h"
#include "wavemon/wave_trigger.h"
#include "wavemon/wave_usage.h"

namespace {

// The main loop's copy of the snapshot, read in place by the frame's worker.
float traceBuffer[traceLength] = {};

// Whether the user has been told that a frame's worker could not start.
bool toldNoWorker = false;

// Starts the frame's trace worker. If no thread can be had, the frame shows
// only the cleared screen and the help lines, and the loop goes on; the user
// hears of it once.
std::thread startTraceWorker(const TraceView& view)
{
    try {
        return std::thread(drawTrace, std::cref(traceBuffer), view);
    } catch (const std::system_error& error) {
        if (!toldNoWorker) {
            toldNoWorker = true;
            tellUser("cannot start a thread to draw the trace (" + error.code().message() +
                     "); frames show no trace while none can be started");
        }
        return std::thread();
    }
}

void finishTraceWorker(std::thread& worker)
{
    if (worker.joinable()) {
        worker.join();
    }
}

} // namespace

int main(int argc, char** argv)
{
    MonitorOptions options;
    if (const std::optional<int> status = answerCommandLine(wavemonUsage, argc, argv, options)) {
        return *status;
    }
    TraceView view;
    view.grid = options.grid;
    FrameLoop loop;
    const bool drawing = !options.noWindow;
    openMonitorWindow(options);
    startCapture();

    // At most one worker lives at a time: the previous frame's is joined
    // before the next copy overwrites the buffer it reads. It has had the
    // whole 100 ms pause to finish, so the join normally returns at once.
    // Without a window there is nothing to draw, and no worker.
    std::thread worker;
    do {
        view.scale = nextScale(view.scale, mouseLeft(), mouseRight());
        view.readoutColumn = options.readout ? mouseX() : -1;
        view.frozen = loop.instrument.frozen;
        if (drawing) {
            clearMonitorWindow();
        }
        finishTraceWorker(worker);
        if (!loop.instrument.frozen) {
            loop.holdsInput = snapshotHoldsInput(copySnapshot(traceBuffer));
        }
        view.first = options.trigger.on ? frameStart(traceBuffer, options.trigger) : 0;
        if (drawing) {
            worker = startTraceWorker(view);
            drawWaveHelp();
        }
    } while (!frameEndsMonitor(options, loop, std::span<const float>(traceBuffer + view.first, tracePoints)));
    finishTraceWorker(worker);

    // The dump is taken from the shared snapshot, frozen while it is written,
    // and so may be newer than the last trace shown; a frozen picture dumps
    // the samples it froze.
    std::string dumpProblem;
    if (loop.instrument.frozen) {
        dumpProblem = writeDump(options, traceBuffer, traceLength);
    } else {
        raiseSnapshotHold();
        dumpProblem = writeDump(options, CaptureSnapshot, traceLength);
        lowerSnapshotHold();
    }
    const bool stopped = stopCaptureWithin(audioAnswerLimit);
    return finishExit(stopped, monitorExitStatus(dumpProblem));
}
