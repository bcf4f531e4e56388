// Where the running program's file is. Any thread.
#pragma once

#include <string>

// The path of the running program as the system reports it (possibly just
// its name); empty when unknown.
std::string programPath();
