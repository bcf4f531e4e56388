// Code page 437, the character set of the font and of the key codes. Pure.
#pragma once

#include <cstdint>

// The code (1 to 255) of a Unicode character, or -1 when code page 437 has no
// such character. Codes 1 to 31 and 127 are reached through the symbols the
// font shows for them (U+263A for 1 and so on); control characters themselves
// have no code here.
int32_t unicodeToCp437(char32_t character);
