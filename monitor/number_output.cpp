#include "monitor/number_output.h"

#include <cstdio>
#include <string>

#include "dump/dump_format.h"
#include "monitor/termination.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

namespace {

// The line of the frame: its storage stays from frame to frame.
std::string frameLine;
bool outputGone = false;

} // namespace

void prepareNumberOutput(const MonitorOptions& options)
{
#ifdef _WIN32
    if (options.print || options.out == standardOutputPath) {
        _setmode(_fileno(stdout), _O_BINARY);
    }
#else
    static_cast<void>(options);
#endif
}

void printFrameNumbers(const MonitorOptions& options, const float* values, int64_t count)
{
    if (!options.print || outputGone) {
        return;
    }
    formatLine(values, count, frameLine);
    if (std::fwrite(frameLine.data(), 1, frameLine.size(), stdout) != frameLine.size() || std::fflush(stdout) != 0) {
        outputGone = true;
        requestTermination();
    }
}
