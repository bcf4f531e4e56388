#include "wavemon/wave_trigger.h"

int64_t triggerIndex(const float (&samples)[traceLength], const TriggerOption& trigger)
{
    // A falling edge is a rising one of the negated signal.
    const float sign = trigger.rising ? 1.0f : -1.0f;
    const float level = sign * trigger.level;
    bool armed = sign * samples[0] <= level - triggerHysteresis;
    for (int64_t j = 1; j <= triggerLast; ++j) {
        const float before = sign * samples[j - 1];
        const float now = sign * samples[j];
        if (before < level && level <= now && armed) {
            if (j >= triggerFirst) {
                return j;
            }
            armed = false;
        }
        armed = armed || now <= level - triggerHysteresis;
    }
    return -1;
}

int64_t frameStart(const float (&samples)[traceLength], const TriggerOption& trigger)
{
    const int64_t crossing = triggerIndex(samples, trigger);
    return crossing < 0 ? 0 : crossing - triggerColumn;
}
