// What specmon says about itself (--help, its manual page), its numbers
// written from the constants they state. Any thread, after static
// initialisation.
#pragma once

#include "monitor/program_usage.h"

extern const ProgramUsage specmonUsage;
