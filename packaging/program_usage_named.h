// The packaging tools take the program by its name: the usage of the
// program of that name, or null when there is none.
#pragma once

#include <string_view>

#include "specmon/spectrum_usage.h"
#include "wavemon/wave_usage.h"

inline const ProgramUsage* programUsageNamed(std::string_view program)
{
    for (const ProgramUsage* usage : {&wavemonUsage, &specmonUsage}) {
        if (program == usage->name) {
            return usage;
        }
    }
    return nullptr;
}
