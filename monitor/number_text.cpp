#include "monitor/number_text.h"

#include <charconv>
#include <cstdio>
#include <iterator>

namespace {

std::string written(const char* format, double value, int decimals)
{
    const int length = std::snprintf(nullptr, 0, format, decimals, value);
    std::string text(static_cast<size_t>(length), '\0');
    std::snprintf(text.data(), text.size() + 1, format, decimals, value);
    return text;
}

// A minus before nothing but zeros and the point is a small negative value
// rounded away (or -0.0 itself): it reads as zero. Not "-nan", nor "-inf".
std::string withoutNegativeZero(const char* format, double value, int decimals)
{
    const std::string text = written(format, value, decimals);
    const bool negativeZero = text.front() == '-' && text.find_first_not_of("0.", 1) == std::string::npos;
    return negativeZero ? written(format, 0.0, decimals) : text;
}

} // namespace

std::string fixedDecimals(double value, int decimals)
{
    return withoutNegativeZero("%.*f", value, decimals);
}

std::string signedFixedDecimals(double value, int decimals)
{
    return withoutNegativeZero("%+.*f", value, decimals);
}

std::string numberText(double value)
{
    char text[32];
    const std::to_chars_result end = std::to_chars(std::begin(text), std::end(text), value);
    return std::string(text, end.ptr);
}

std::string singleText(float value)
{
    char text[32];
    const std::to_chars_result end = std::to_chars(std::begin(text), std::end(text), value);
    return std::string(text, end.ptr);
}
