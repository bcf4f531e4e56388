// Writing where the reader may stop reading. A write into a pipe whose
// reader stalls (a script that pipes a program's numbers into one that
// sleeps) blocks until the reader reads again, perhaps for ever, and then not
// even a signal gets the writer out; a write whose reader went away fails.
// The bytes therefore go out on a thread of their own, the output writer, and
// whoever hands them over waits for them with a way out: it can serve its
// window, heed a request to end, or give up after a time.
//
// Thread contract
// - The owner (one thread, the main thread in the programs) starts the
//   writer, hands texts over, waits for them and stops the writer.
// - The writer thread writes each text whole and in order, with as many
//   writes as it takes, for as long as the reader pleases; it never drops or
//   cuts one. After a failed write it writes nothing more.
// - At most one text waits at a time: the owner hands the next one over only
//   once the last has been written, so that a slow reader slows the owner's
//   output down instead of losing any of it. The handover and the outcome
//   are guarded by a lock of this module's own.
#pragma once

#include <chrono>
#include <string>
#include <string_view>
#include <system_error>

enum class OutputOutcome {
    written,    // every text handed over has been written
    waiting,    // the writer is still at it: the reader does not read (yet)
    readerGone, // the reader went away (a broken pipe); nothing more is written
    failed,     // a write failed otherwise (outputError says why); nothing more is written
};

// Owner, once: starts the writer for descriptor fd. When no thread can be
// had it returns why, and texts are then written on the owner's thread as
// they are handed over, as a plain write would, without a way out.
std::error_code startOutputWriter(int fd);

// Owner, when no text waits (awaitOutput gave anything but waiting): hands
// text over to be written. Swaps buffers with the writer, so that text comes
// back holding an earlier one, and a steady flow of texts allocates nothing
// once the buffers have grown. Does nothing once the output has ended.
void handOverOutput(std::string& text);

// Owner: waits up to limit for what was handed over to be written, and says
// how the output stands.
OutputOutcome awaitOutput(std::chrono::milliseconds limit);

// Why the output failed; empty unless awaitOutput gave failed.
std::error_code outputError();

// Owner, at the end: stops the writer, unless it is still writing to a
// reader that does not read. False then: the writer goes on with the
// module's state, so the process must end without the normal exit's
// clean-up, which would tear that state down under it.
bool stopOutputWriter();

// Any thread: writes all of text to fd, going on after an interruption, and
// waiting on a descriptor that is non-blocking until it takes more. 0, or
// the errno of the write that failed. May wait for as long as the reader
// does not read. A reader that went away is EPIPE on every system.
int writeWhole(int fd, std::string_view text);
