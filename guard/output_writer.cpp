#include "guard/output_writer.h"

#include <cerrno>
#include <condition_variable>
#include <mutex>
#include <thread>

#ifdef _WIN32
#include <io.h>
#include <stdlib.h>
#include <winerror.h>
#else
#include <poll.h>
#include <unistd.h>
#endif

namespace {

// The writer's descriptor and thread: the owner's.
int writerFd = -1;
std::thread writer;

// The handover, under writerLock: the text handed over and whether it waits
// to be written, the first failure (an errno), and the owner's request to
// stop.
std::mutex writerLock;
std::condition_variable writerWake;
std::condition_variable textWritten;
std::string handedText;
bool textWaiting = false;
int writeFailure = 0;
bool writerStopping = false;

void writeHandedTexts()
{
    std::string text;
    std::unique_lock lock(writerLock);
    while (true) {
        writerWake.wait(lock, [] { return textWaiting || writerStopping; });
        if (!textWaiting) {
            return;
        }
        text.swap(handedText);
        lock.unlock();
        const int failure = writeWhole(writerFd, text);
        lock.lock();
        writeFailure = failure;
        textWaiting = false;
        textWritten.notify_all();
    }
}

} // namespace

int writeWhole(int fd, std::string_view text)
{
    size_t at = 0;
    while (at < text.size()) {
#ifdef _WIN32
        const int wrote = _write(fd, text.data() + at, static_cast<unsigned>(text.size() - at));
#else
        const ssize_t wrote = write(fd, text.data() + at, text.size() - at);
#endif
        if (wrote >= 0) {
            at += static_cast<size_t>(wrote);
            continue;
        }
        if (errno == EINTR) {
            continue;
        }
#ifdef _WIN32
        // Windows tells a pipe whose reader went away as a pipe being closed
        // or with no process at the other end, which its C library reports as
        // EINVAL; the system's own code tells them apart.
        if (_doserrno == ERROR_NO_DATA || _doserrno == ERROR_PIPE_NOT_CONNECTED || _doserrno == ERROR_BROKEN_PIPE) {
            return EPIPE;
        }
#else
        // Someone made the descriptor non-blocking: its reader is merely slow.
        if (errno == EAGAIN || errno == EWOULDBLOCK) {
            pollfd writable{fd, POLLOUT, 0};
            poll(&writable, 1, -1);
            continue;
        }
#endif
        return errno;
    }
    return 0;
}

std::error_code startOutputWriter(int fd)
{
    writerFd = fd;
    textWaiting = false;
    writeFailure = 0;
    writerStopping = false;
    try {
        writer = std::thread(writeHandedTexts);
    } catch (const std::system_error& error) {
        return error.code();
    }
    return {};
}

void handOverOutput(std::string& text)
{
    if (!writer.joinable()) {
        if (writeFailure == 0) {
            writeFailure = writeWhole(writerFd, text);
        }
        return;
    }
    const std::lock_guard lock(writerLock);
    if (writeFailure != 0) {
        return;
    }
    handedText.swap(text);
    textWaiting = true;
    writerWake.notify_all();
}

OutputOutcome awaitOutput(std::chrono::milliseconds limit)
{
    std::unique_lock lock(writerLock);
    if (!textWritten.wait_for(lock, limit, [] { return !textWaiting; })) {
        return OutputOutcome::waiting;
    }
    return writeFailure == 0       ? OutputOutcome::written
           : writeFailure == EPIPE ? OutputOutcome::readerGone
                                   : OutputOutcome::failed;
}

std::error_code outputError()
{
    const std::lock_guard lock(writerLock);
    return writeFailure == 0 || writeFailure == EPIPE ? std::error_code()
                                                      : std::error_code(writeFailure, std::generic_category());
}

bool stopOutputWriter()
{
    if (!writer.joinable()) {
        return true;
    }
    {
        const std::lock_guard lock(writerLock);
        if (textWaiting) {
            return false;
        }
        writerStopping = true;
    }
    writerWake.notify_all();
    writer.join();
    return true;
}
