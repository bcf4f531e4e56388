// Surviving an abort inside a library. PortAudio's ALSA back-end asserts on
// an ALSA configuration it cannot read (ALSA_CONFIG_PATH naming a missing or
// empty file), and a failed assertion aborts the whole process, silently,
// since the libraries' messages go nowhere (library_messages.h). A monitor
// must rather run on without audio and say so.
//
// Thread contract: the guard belongs to the thread that calls survivesAbort;
// an abort on any other thread ends the process as it always did. One guarded
// call per thread at a time.
#pragma once

#include <functional>

// Runs work on this thread. True when it returned; false when it aborted the
// process (SIGABRT raised on this thread), in which case the abort is turned
// back into a return from here. Whatever work was doing is then left half
// done, with its locks and memory as they were: the library it was in must
// not be called again by this process.
bool survivesAbort(const std::function<void()>& work);
