#include "dump/dump_format.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

namespace {

// Significant digits of every single-precision value in the dump.
constexpr int significantDigits = 7;

std::string withSignBlank(std::string text)
{
    return text.front() == '-' ? text : " " + text;
}

std::string withoutTrailingZeros(std::string digits)
{
    const size_t last = digits.find_last_not_of('0');
    digits.erase(last == std::string::npos ? 0 : last + 1);
    return digits;
}

} // namespace

std::string dumpLineText(int64_t index, float value)
{
    std::string line = formatInteger(index);
    line.append(static_cast<size_t>(printZoneWidth - static_cast<int32_t>(line.size()) % printZoneWidth), ' ');
    return line + formatSingle(value);
}

std::string formatInteger(int64_t value)
{
    char text[24];
    const auto result = std::to_chars(text, text + sizeof text, value);
    return withSignBlank(std::string(text, result.ptr));
}

std::string formatSingle(float value)
{
    if (value == 0.0f) {
        return " 0";
    }
    if (!std::isfinite(value)) {
        return withSignBlank(std::isnan(value) ? "nan" : value < 0.0f ? "-inf" : "inf");
    }
    // Correctly rounded to 7 significant digits: [-]d.dddddde[+-]XX...
    char text[32];
    const auto result = std::to_chars(text, text + sizeof text, static_cast<double>(value),
                                      std::chars_format::scientific, significantDigits - 1);
    const std::string scientific(text, result.ptr);
    const bool negative = scientific.front() == '-';
    const size_t first = negative ? 1 : 0;
    const std::string digits = scientific.substr(first, 1) + scientific.substr(first + 2, significantDigits - 1);
    const int exponent = std::atoi(scientific.c_str() + scientific.find('e') + 1);

    std::string body;
    if (exponent < -4 || exponent >= significantDigits) {
        const std::string fraction = withoutTrailingZeros(digits.substr(1));
        const std::string magnitude = std::to_string(std::abs(exponent));
        body = digits.substr(0, 1) + (fraction.empty() ? "" : "." + fraction) + "e" + (exponent < 0 ? "-" : "+") +
               std::string(3 - magnitude.size(), '0') + magnitude;
    } else {
        // 6 - exponent digits after the point; below 1 the point follows a 0
        // and -exponent - 1 zeros lead the digits.
        const std::string units = exponent >= 0 ? digits.substr(0, exponent + 1) : "0";
        const std::string fraction = withoutTrailingZeros(exponent >= 0 ? digits.substr(exponent + 1)
                                                                        : std::string(-exponent - 1, '0') + digits);
        body = units + (fraction.empty() ? "" : "." + fraction);
    }
    return withSignBlank((negative ? "-" : "") + body);
}

void formatLine(const float* values, int64_t count, std::string& line)
{
    line.clear();
    for (int64_t i = 0; i < count; ++i) {
        const std::string text = formatSingle(values[i]);
        line.append(i == 0 ? "" : " ").append(text, text.front() == ' ' ? 1 : 0);
    }
    line.append("\n");
}
