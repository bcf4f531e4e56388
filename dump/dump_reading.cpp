#include "dump/dump_reading.h"

#include <cstdlib>
#include <string>

#include "dump/dump_format.h"

namespace {

// The value at the end of line index as the dump writes it; false for any
// other line.
bool readLine(std::string_view line, int64_t index, float& value)
{
    const std::string text(line);
    const size_t valueAt = text.find_first_not_of(' ', formatInteger(index).size());
    if (valueAt == std::string::npos) {
        return false;
    }
    value = std::strtof(text.c_str() + valueAt, nullptr);
    return dumpLineText(index, value) == text;
}

} // namespace

int64_t readDumpText(std::string_view text, int64_t count, float* values)
{
    size_t at = 0;
    for (int64_t index = 0; index < count; ++index) {
        const size_t end = text.find('\n', at);
        if (end == std::string_view::npos) {
            return index + 1;
        }
        std::string_view line = text.substr(at, end - at);
        if (line.ends_with('\r')) {
            line.remove_suffix(1);
        }
        if (!readLine(line, index, values[index])) {
            return index + 1;
        }
        at = end + 1;
    }
    return at == text.size() ? 0 : count + 1;
}
