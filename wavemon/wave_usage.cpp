#include "wavemon/wave_usage.h"

#include "capture/capture_format.h"
#include "monitor/number_text.h"
#include "wavemon/scale_control.h"
#include "wavemon/wave_grid.h"
#include "wavemon/wave_measure.h"
#include "wavemon/wave_trace.h"
#include "wavemon/wave_trigger.h"

const ProgramUsage wavemonUsage = {
    "wavemon",
    "live oscilloscope trace of the default audio input",
    "wavemon shows the default audio input as an oscilloscope trace: the older " + numberText(tracePoints) +
        " of the " + numberText(traceLength) +
        " newest samples, one point per column, zero in the middle of the window. " + captureSentence(),
    "shrinks the trace (x " + numberText(scaleShrink) + " per frame, down to " + numberText(scaleFloor) + ")",
    "enlarges the trace (x " + numberText(scaleGrow) + " per frame, up to " + numberText(scaleCeiling) + ")",
    "the " + numberText(captureLength) + " samples it last captured, oldest first, each sample / " +
        numberText(sampleScale),
    "specmon",
    {
        instrumentOption(flagOption(
            "--grid", &MonitorOptions::grid,
            "draw a labelled grid under the trace: a line every " + numberText(gridTimeStepMs) +
                " ms of the trace, and lines at the multiples of an amplitude step (1, 2 or 5 times a power of ten, "
                "1 being the largest sample) that shows 2 to " +
                numberText(maxAmplitudeLines) + " of them above zero at the current scale")),
        instrumentOption(flagOption("--readout", &MonitorOptions::readout,
                                    "show in the window's top line the time of the pointer's column from the trace's "
                                    "left edge and the sample drawn there, e.g. 2.00 ms  +0.2500")),
        instrumentOption(triggerOption(
            "hold a periodic input still: each frame shows the " + numberText(tracePoints) +
            " samples around the first crossing of LEVEL (in full-scale units, -" + singleText(triggerLevelLimit) +
            " to " + singleText(triggerLevelLimit) +
            ", 0 by default) in the EDGE direction (rising, the default, or falling) among the middle half of the "
            "samples, that crossing in the middle column, with a hysteresis of " +
            singleText(triggerHysteresis) + "; a frame with no crossing shows the older half as usual")),
        instrumentOption(flagOption(
            "--measure", &MonitorOptions::measure,
            "show in the window's second text line what the frame's " + numberText(traceLength) +
                " samples measure: the RMS and peak levels in dBFS (full scale 1), the mean (DC), and the frequency "
                "by counting the rising crossings of the middle of the swing, after a sample a tenth of the swing "
                "below it, e.g. RMS -12.04 dBFS  peak -6.02 dBFS  DC +0.0012  1000.0 Hz (--- Hz for fewer than two "
                "crossings); CLIP follows in light red when a sample is at full scale")),
    },
    {},
};
