// Numbers as the programs' texts write them: in the help, stated from their
// constants as briefly as they read back; in the readout and measurement
// lines, in fixed decimals. Pure; any thread.
#pragma once

#include <string>

// As short as it can be and still read back the same: 0.7, 23.4375, -100,
// 48000.
std::string numberText(double value);

// The same for a single-precision value: 0.01f reads "0.01".
std::string singleText(float value);

// Fixed decimals, as printf's %.*f writes them, but never as a negative zero:
// a value that rounds to zero at the shown decimals reads "0.00" (or
// "+0.0000"), never "-0.00", whatever side of zero it came from.

// value with decimals digits after the point: "48.83", "-190.00", "0.00".
std::string fixedDecimals(double value, int decimals);

// The same with a sign before every value: "+0.2500", "-1.0000", "+0.0000".
std::string signedFixedDecimals(double value, int decimals);
