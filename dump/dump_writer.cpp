#include "dump/dump_writer.h"

#include <cerrno>
#include <cstdio>
#include <string>

#include "dump/dump_format.h"
#include "dump/file_replacement.h"

int32_t lineColumn = 0;
std::error_code dumpError;

namespace {

// The replacement under way; its stream is null while the writer is closed.
// A text stands in for it when the dump is wanted as text.
FileReplacement dumpFile;
std::string* dumpText = nullptr;

// The stream's buffer: a dump reaches the disk in a handful of writes.
char dumpBuffer[8192];

void writeText(const std::string& text)
{
    if (dumpText != nullptr) {
        dumpText->append(text);
    } else if (dumpFile.stream == nullptr) {
        return;
    } else if (!dumpError && std::fwrite(text.data(), 1, text.size(), dumpFile.stream) != text.size()) {
        dumpError = {errno, std::generic_category()};
    }
    const size_t lastLineEnd = text.find_last_of("\r\n");
    if (lastLineEnd == std::string::npos) {
        lineColumn += static_cast<int32_t>(text.size());
    } else {
        lineColumn = static_cast<int32_t>(text.size() - lastLineEnd - 1);
    }
}

void writeEnding(PrintEnd end)
{
    if (end == PrintEnd::nextZone) {
        writeText(std::string(printZoneWidth - lineColumn % printZoneWidth, ' '));
    } else {
        writeText("\r\n");
    }
}

} // namespace

bool openForOutput(const char* path)
{
    dumpError = beginReplacement(path, dumpFile);
    if (dumpError) {
        return false;
    }
    std::setvbuf(dumpFile.stream, dumpBuffer, _IOFBF, sizeof dumpBuffer);
    lineColumn = 0;
    return true;
}

void printInteger(int64_t value, PrintEnd end)
{
    writeText(formatInteger(value));
    writeEnding(end);
}

void printSingle(float value, PrintEnd end)
{
    writeText(formatSingle(value));
    writeEnding(end);
}

bool closeOutput()
{
    if (dumpText != nullptr) {
        dumpText = nullptr;
        return true;
    }
    if (dumpFile.stream == nullptr) {
        return false;
    }
    if (dumpError) {
        abandonReplacement(dumpFile);
        return false;
    }
    dumpError = finishReplacement(dumpFile);
    return !dumpError;
}

namespace {

void printLines(const float* values, int64_t count)
{
    for (int64_t i = 0; i < count; ++i) {
        printInteger(i, PrintEnd::nextZone);
        printSingle(values[i], PrintEnd::endLine);
    }
    closeOutput();
}

} // namespace

std::error_code dumpValues(const char* path, const float* values, int64_t count)
{
    if (openForOutput(path)) {
        printLines(values, count);
    }
    return dumpError;
}

void dumpValuesToText(const float* values, int64_t count, std::string& text)
{
    text.clear();
    dumpError.clear();
    dumpText = &text;
    lineColumn = 0;
    printLines(values, count);
}
