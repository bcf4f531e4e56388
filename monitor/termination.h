// Termination requests from outside the window: SIGINT and SIGTERM on Linux (a
// terminal's Ctrl-C, a kill), the console's Ctrl-C, Ctrl-Break and close on
// Windows. A request ends the monitor at its next frame end, through its
// normal exit sequence, as Escape does.
#pragma once

// Main thread, once at start-up: installs the handlers.
void catchTerminationRequests();

// Any thread: whether a termination request has arrived.
bool terminationRequested();
