// The three standard descriptors, made safe before anything opens a file. A
// program started with one of them closed (`>&-`) would hand that number to
// the next file it opens, say the display's connection, and its lines to
// the user or its numbers would go into that. Main thread, first thing.
#pragma once

// Opens every one of descriptors 0, 1 and 2 that is closed on the null
// device (on Windows, after reachParentConsole, it only looks). Returns
// whether standard output was closed: numbers sent there would go nowhere.
bool fillClosedStandardStreams();

// Whether descriptor fd is open. Any thread.
bool descriptorOpen(int fd);
