#include "monitor/dump_destination.h"

#include <charconv>
#include <chrono>
#include <cstdio>
#include <memory>
#include <sys/stat.h>

#include "dump/dump_writer.h"
#include "guard/bounded_call.h"
#include "guard/output_writer.h"
#include "monitor/number_output.h"
#include "monitor/terminal_text.h"

#ifdef _WIN32
#include <process.h>
#else
#include <unistd.h>
#endif

namespace {

constexpr std::string_view readerDoesNotRead = "the reader does not read";

// The number that is the whole of text, or -1.
int64_t wholeCount(std::string_view text)
{
    int64_t number = -1;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    return error == std::errc() && end == text.data() + text.size() && !text.empty() && text[0] != '-' ? number : -1;
}

int64_t ownPid()
{
#ifdef _WIN32
    return _getpid();
#else
    return getpid();
#endif
}

// Whether the file at path is the regular file that standard output writes
// to: replacing it would take away what the shell opened.
bool isStandardOutputFile(const std::string& path)
{
#ifdef _WIN32
    // Windows' stat gives no file identity to compare.
    static_cast<void>(path);
    return false;
#else
    struct stat atPath {};
    struct stat output {};
    return stat(path.c_str(), &atPath) == 0 && fstat(fileno(stdout), &output) == 0 && S_ISREG(output.st_mode) &&
           atPath.st_dev == output.st_dev && atPath.st_ino == output.st_ino;
#endif
}

std::string notWritten(const MonitorOptions& options, std::string_view why)
{
    return dumpTarget(options) + " not written: " + std::string(why);
}

// The dump after whatever standard output still has to take, both within
// readerWaitLimit.
std::string dumpToStandardOutput(const MonitorOptions& options, const float* values, int64_t count)
{
    const auto deadline = std::chrono::steady_clock::now() + readerWaitLimit;
    const auto left = [deadline] {
        return std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    };
    if (!numbersDelivered(left())) {
        return notWritten(options, readerDoesNotRead);
    }
    // A reader that went away chose to stop reading; a failed write has been
    // told already.
    if (numbersEnded()) {
        return {};
    }
    std::string text;
    dumpValuesToText(values, count, text);
    sendNumbers(text);
    return numbersDelivered(left()) ? std::string() : notWritten(options, readerDoesNotRead);
}

// The dump through a descriptor of the program's start other than standard
// output, on a thread of its own, waited for at most readerWaitLimit.
std::string dumpToDescriptor(const MonitorOptions& options, int fd, const float* values, int64_t count)
{
    // Shared with the write, which may outlive the wait.
    const auto text = std::make_shared<std::string>();
    const auto failure = std::make_shared<int>(0);
    dumpValuesToText(values, count, *text);
    switch (finishesWithin([fd, text, failure] { *failure = writeWhole(fd, *text); }, readerWaitLimit)) {
    case BoundedCall::finished:
        return *failure == 0 ? std::string() : notWritten(options, std::generic_category().message(*failure));
    case BoundedCall::stillRunning: return notWritten(options, readerDoesNotRead);
    case BoundedCall::notStarted: break;
    }
    return notWritten(options, "no thread could be started to write it");
}

} // namespace

int descriptorNamed(std::string_view path, int64_t pid)
{
    if (path == "/dev/stdin" || path == "/dev/stdout" || path == "/dev/stderr") {
        return path == "/dev/stdin" ? 0 : path == "/dev/stdout" ? 1 : 2;
    }
    const std::string ownProc = "/proc/" + std::to_string(pid) + "/fd/";
    for (const std::string_view directory :
         {std::string_view("/dev/fd/"), std::string_view("/proc/self/fd/"), std::string_view(ownProc)}) {
        if (path.starts_with(directory)) {
            const int64_t fd = wholeCount(path.substr(directory.size()));
            return fd >= 0 && fd <= INT32_MAX ? static_cast<int>(fd) : -1;
        }
    }
    return -1;
}

int dumpDescriptor(const MonitorOptions& options)
{
    if (options.out == standardOutputPath) {
        return fileno(stdout);
    }
    return descriptorNamed(options.out, ownPid());
}

std::string dumpTarget(const MonitorOptions& options)
{
    return options.out == standardOutputPath ? "standard output"
           : options.out.empty()             ? monitorDumpPath
                                             : escapedForTerminal(options.out);
}

std::string writeDump(const MonitorOptions& options, const float* values, int64_t count)
{
    const std::string path = options.out.empty() ? monitorDumpPath : options.out;
    const int fd = dumpDescriptor(options);
    if (fd == fileno(stdout) || (fd < 0 && isStandardOutputFile(path))) {
        return dumpToStandardOutput(options, values, count);
    }
    if (fd >= 0) {
        return dumpToDescriptor(options, fd, values, count);
    }
    const std::error_code error = dumpValues(path.c_str(), values, count);
    return error ? notWritten(options, error.message()) : std::string();
}
