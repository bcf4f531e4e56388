#include "dump/dump_writer.h"

#include "dump/dump_format.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

int32_t lineColumn = 0;

namespace {

constexpr int32_t printZoneWidth = 14;

// The open output file; null while the writer is closed.
std::FILE* dumpStream = nullptr;

// The stream's buffer: a dump reaches the disk in a handful of writes.
char dumpBuffer[8192];

// On Windows a read-only file cannot be opened for writing. On Linux a
// privileged user may open any file whatever its mode, so a file with no
// write bit at all is refused here, before the open can truncate it, and is
// left as it is for every user alike.
bool isReadOnlyFile(const char* path)
{
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(path, error);
    if (error || !std::filesystem::is_regular_file(status)) {
        return false;
    }
    using std::filesystem::perms;
    return (status.permissions() & (perms::owner_write | perms::group_write | perms::others_write)) == perms::none;
}

void writeText(const std::string& text)
{
    if (dumpStream == nullptr) {
        return;
    }
    std::fwrite(text.data(), 1, text.size(), dumpStream);
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
    if (isReadOnlyFile(path)) {
        return false;
    }
    dumpStream = std::fopen(path, "wb");
    if (dumpStream == nullptr) {
        return false;
    }
    std::setvbuf(dumpStream, dumpBuffer, _IOFBF, sizeof dumpBuffer);
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

void closeOutput()
{
    if (dumpStream == nullptr) {
        return;
    }
    std::fclose(dumpStream);
    dumpStream = nullptr;
}

void dumpValues(const char* path, const float* values, int64_t count)
{
    openForOutput(path);
    for (int64_t i = 0; i < count; ++i) {
        printInteger(i, PrintEnd::nextZone);
        printSingle(values[i], PrintEnd::endLine);
    }
    closeOutput();
}
