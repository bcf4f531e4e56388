#include "tests/e2e/dump_file.h"

#include <cstdlib>

namespace e2e {

namespace {

constexpr size_t indexFieldWidth = 14;
constexpr size_t longestValueText = 14;

bool isValueText(const std::string& text)
{
    if (text.size() < 2 || text.size() > longestValueText || (text[0] != ' ' && text[0] != '-')) {
        return false;
    }
    return text.find_first_not_of("0123456789.e+-", 1) == std::string::npos;
}

} // namespace

std::string indexField(int64_t index)
{
    std::string field(index < 0 ? 0 : 1, ' ');
    field.append(std::to_string(index));
    field.resize(indexFieldWidth, ' ');
    return field;
}

std::string uniformDump(size_t lines, const std::string& valueText)
{
    std::string dump;
    for (size_t i = 0; i < lines; ++i) {
        dump += indexField(static_cast<int64_t>(i)) + valueText + "\r\n";
    }
    return dump;
}

testing::AssertionResult sameDump(const std::string& dump, const std::string& expected)
{
    if (dump == expected) {
        return testing::AssertionSuccess();
    }
    size_t lineStart = 0;
    size_t line = 0;
    for (size_t at = 0; at < dump.size() && at < expected.size() && dump[at] == expected[at]; ++at) {
        if (dump[at] == '\n') {
            lineStart = at + 1;
            ++line;
        }
    }
    const auto lineOf = [&](const std::string& text) {
        if (lineStart >= text.size()) {
            return std::string("(nothing)");
        }
        std::string line(1, '"');
        line.append(text, lineStart, text.find("\r\n", lineStart) - lineStart).push_back('"');
        return line;
    };
    return testing::AssertionFailure() << "the dump has " << dump.size() << " bytes, " << expected.size()
                                       << " expected; line " << line << " reads " << lineOf(dump) << ", expected "
                                       << lineOf(expected);
}

testing::AssertionResult readDumpValues(const std::string& dump, size_t lines, DumpValues& values)
{
    values = {};
    size_t at = 0;
    for (size_t i = 0; i < lines; ++i) {
        const size_t end = dump.find("\r\n", at);
        if (end == std::string::npos) {
            return testing::AssertionFailure() << "the dump ends after " << i << " of " << lines << " lines";
        }
        const std::string line = dump.substr(at, end - at);
        const std::string field = indexField(static_cast<int64_t>(i));
        const std::string text = line.size() > field.size() ? line.substr(field.size()) : std::string();
        char* parsedTo = nullptr;
        const double number = std::strtod(text.c_str(), &parsedTo);
        if (line.compare(0, field.size(), field) != 0 || !isValueText(text) || *parsedTo != '\0') {
            return testing::AssertionFailure() << "line " << i << " reads \"" << line << "\"";
        }
        values.texts.push_back(text);
        values.numbers.push_back(number);
        at = end + 2;
    }
    if (at != dump.size()) {
        return testing::AssertionFailure() << dump.size() - at << " bytes follow line " << lines - 1;
    }
    return testing::AssertionSuccess();
}

} // namespace e2e
