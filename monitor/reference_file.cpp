#include "monitor/reference_file.h"

#include <cerrno>
#include <cstdio>
#include <memory>
#include <system_error>

#include "dump/dump_reading.h"
#include "guard/bounded_call.h"
#include "monitor/number_output.h"
#include "monitor/terminal_text.h"

namespace {

// Any dump is far smaller: a file larger than this is not one, and no more
// of it is read (/dev/zero, say).
constexpr size_t largestDump = 1 << 20;

struct FileText {
    std::string text;
    int failure = 0; // errno of a failed open or read
};

void readFile(const std::string& path, FileText& file)
{
    std::FILE* stream = std::fopen(path.c_str(), "rb");
    if (stream == nullptr) {
        file.failure = errno;
        return;
    }
    char block[4096];
    size_t got = 0;
    while (file.text.size() <= largestDump && (got = std::fread(block, 1, sizeof block, stream)) > 0) {
        file.text.append(block, got);
    }
    if (std::ferror(stream) != 0) {
        file.failure = errno;
    }
    std::fclose(stream);
}

} // namespace

std::string readReferenceFile(const std::string& path, std::string_view program, int64_t count, float* values)
{
    const std::string shown = escapedForTerminal(path);
    // Shared with the read, which may outlive the wait.
    const auto file = std::make_shared<FileText>();
    switch (finishesWithin([path, file] { readFile(path, *file); }, readerWaitLimit)) {
    case BoundedCall::finished: break;
    case BoundedCall::stillRunning: return shown + " not read: nothing came from it";
    case BoundedCall::notStarted: return shown + " not read: no thread could be started to read it";
    }
    if (file->failure != 0) {
        return shown + " not read: " + std::generic_category().message(file->failure);
    }
    const int64_t badLine = readDumpText(file->text, count, values);
    if (badLine != 0) {
        return shown + " line " + std::to_string(badLine) + ": not a line of a " + std::string(program) + " dump";
    }
    return {};
}
