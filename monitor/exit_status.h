// The exit statuses of both monitors and what each means: one home, for the
// code that ends a program and for the help that explains them. Pure; any
// thread.
#pragma once

#include <string>

// Everything asked for was delivered: the dump written, the answer given.
inline constexpr int exitDelivered = 0;
// Output was lost (the dump, numbers on standard output), or the display
// went away.
inline constexpr int exitLost = 1;
// The command line was wrong, or the chosen input cannot be had.
inline constexpr int exitWrongCommandLine = 2;

// The meaning of a status, as the help and the manual page give it.
std::string exitStatusMeaning(int status);
