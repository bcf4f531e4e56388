// The window title as the services keep it. Pure; any thread.
#pragma once

#include <string_view>

// At most 127 title bytes and the terminating zero.
constexpr int windowTitleCapacity = 128;

// Keeps the first 127 bytes of text (fewer when it holds a zero byte, where a
// title necessarily ends) in title, zero-terminated.
void keepTitle(std::string_view text, char (&title)[windowTitleCapacity]);

// The title of a window whose program never set one: the program's file name
// without its extension. path may use '/' or '\' as separators, and a name
// that starts with its only dot keeps it ("/bin/.hidden" gives ".hidden").
std::string_view programTitle(std::string_view path);
