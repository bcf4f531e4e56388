#include "wavemon/wave_usage.h"

#include "capture/capture_format.h"
#include "wavemon/scale_control.h"
#include "wavemon/wave_trace.h"

namespace {

std::string n(double value)
{
    return numberText(value);
}

} // namespace

const ProgramUsage wavemonUsage = {
    "wavemon",
    "live oscilloscope trace of the default audio input",
    "wavemon shows the default audio input as an oscilloscope trace: the older " + n(tracePoints) + " of the " +
        n(traceLength) + " newest samples, one point per column, zero in the middle of the window. " +
        captureSentence(),
    "shrinks the trace (x " + n(scaleShrink) + " per frame, down to " + n(scaleFloor) + ")",
    "enlarges the trace (x " + n(scaleGrow) + " per frame, up to " + n(scaleCeiling) + ")",
    "the " + n(captureLength) + " samples it last captured, oldest first, each sample / " + n(sampleScale),
    "specmon",
};
