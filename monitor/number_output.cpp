#include "monitor/number_output.h"

#include <cstdio>

#include "dump/dump_format.h"
#include "guard/output_writer.h"
#include "monitor/dump_destination.h"
#include "monitor/termination.h"
#include "monitor/user_notice.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

namespace {

// Whether the user has heard that a write failed.
bool failureTold = false;

} // namespace

void prepareNumberOutput(const MonitorOptions& options)
{
    if (options.print == PrintKind::none && dumpDescriptor(options) != fileno(stdout)) {
        return;
    }
#ifdef _WIN32
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    if (const std::error_code error = startOutputWriter(fileno(stdout))) {
        tellUser("cannot start a thread to write standard output (" + error.message() +
                 "); a reader that stops reading holds the program up");
    }
}

void printFrameNumbers(const MonitorOptions& options, std::span<const float> values, std::string_view measured,
                       std::string& line)
{
    switch (options.print) {
    case PrintKind::none: return;
    case PrintKind::numbers: formatLine(values.data(), static_cast<int64_t>(values.size()), line); break;
    case PrintKind::measure: line.assign(measured).append("\n"); break;
    }
    sendNumbers(line);
}

void sendNumbers(std::string& text)
{
    handOverOutput(text);
}

bool numbersDelivered(std::chrono::milliseconds limit)
{
    const OutputOutcome outcome = awaitOutput(limit);
    if (outcome == OutputOutcome::failed && !failureTold) {
        failureTold = true;
        tellUser("standard output not written: " + outputError().message());
    }
    if (outcome == OutputOutcome::failed || outcome == OutputOutcome::readerGone) {
        requestTermination();
    }
    return outcome != OutputOutcome::waiting;
}

bool numbersEnded()
{
    const OutputOutcome outcome = awaitOutput(std::chrono::milliseconds(0));
    return outcome == OutputOutcome::failed || outcome == OutputOutcome::readerGone;
}

bool numbersLost()
{
    return static_cast<bool>(outputError());
}
