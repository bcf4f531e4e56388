// The numbers of the readout line, in fixed decimals as printf's %.*f writes
// them, but never as a negative zero: a value that rounds to zero at the
// shown decimals reads "0.00" (or "+0.0000"), never "-0.00", whatever side
// of zero it came from. Pure; any thread.
#pragma once

#include <string>

// value with decimals digits after the point: "48.83", "-190.00", "0.00".
std::string fixedDecimals(double value, int decimals);

// The same with a sign before every value: "+0.2500", "-1.0000", "+0.0000".
std::string signedFixedDecimals(double value, int decimals);
