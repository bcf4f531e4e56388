// What the libraries print. The audio host back-ends write to the C
// library's stderr stream: a hundred lines of device probing when no device
// answers, and three more when a sound server goes away under a running
// stream; the window platform complains there about the session. None of it
// is the user's business.
#pragma once

// Sends everything written through the C library's stderr stream to the
// null device from here on, for the rest of the process. Standard error
// itself (file descriptor 2) stays as it is, for the program's own lines and
// for the runtime's reports. Any thread; the first call must come before
// PortAudio is first initialised and before the window platform starts,
// while no other thread writes to stderr: in the programs, either the
// thread that reads the inputs for --list-inputs or --input, just before it
// initialises PortAudio (startAudioLibrary), or the main thread as the
// window opens (openMonitorWindow). Later calls do nothing.
void quietLibraryMessages();
