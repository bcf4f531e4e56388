// Texts of the numbers in the dump file. Pure; any thread.
#pragma once

#include <cstdint>
#include <string>

// The decimal digits of value, after a minus sign if it is negative and a
// blank otherwise: 0 is " 0", -5 is "-5".
std::string formatInteger(int64_t value);

// value rounded to 7 significant digits, in exponent form (d.dddddde+XXX,
// always three exponent digits) when the rounded decimal exponent X is below
// -4 or at least 7, and in fixed form otherwise; trailing zeros after a point
// and a point left bare are dropped, and a blank goes in front unless the text
// begins with a minus sign. Zero of either sign is " 0"; infinities and
// not-a-number give " inf", "-inf" and " nan".
std::string formatSingle(float value);

// The width of the print zones the dump's columns fill: a line's value
// starts at the next zone after its index.
inline constexpr int32_t printZoneWidth = 14;

// Line index of the dump, without its ending: formatInteger(index), blanks up
// to the next print zone (1 to printZoneWidth of them), formatSingle(value).
std::string dumpLineText(int64_t index, float value);

// The values as one line of text: each as formatSingle writes it, without
// the blank before a positive value, separated by single blanks, then '\n'.
// Replaces what line held (keeping its storage, so that a line a frame
// allocates nothing once it has grown).
void formatLine(const float* values, int64_t count, std::string& line);
