// Termination requests from outside the window: SIGINT, SIGTERM and SIGHUP on
// Linux (a terminal's Ctrl-C, a kill, the terminal closing), the console's
// Ctrl-C, Ctrl-Break and close on Windows. A request ends the monitor at its
// next frame end, through its normal exit sequence, as Escape does. A request
// once the exit sequence has begun (a second signal of any of the three, a
// second Ctrl-C or Ctrl-Break, or the first after Escape) ends the process at
// once, the system's way, so that an exit that is stuck (say, on an out.txt
// that is a named pipe nobody reads) can always be ended from the terminal.
#pragma once

// Main thread, once at start-up: installs the handlers (and on Linux ignores
// SIGXFSZ, so that a file-size limit fails the dump's write instead of
// killing the process, and SIGPIPE, so that a reader of standard output or
// error that goes away fails a write instead).
void catchTerminationRequests();

// Any thread: a termination request from within, handled as one from outside:
// standard output has ended, or the exit sequence begins, whatever began it.
// From then on any request from outside ends the process at once: the user
// asked to end once already, and an exit that waits (say, on an out.txt that
// is a named pipe nobody reads) must never take a second request to end.
void requestTermination();

// Any thread: whether a termination request has arrived.
bool terminationRequested();
