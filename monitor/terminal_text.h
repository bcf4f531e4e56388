// Text from outside (an argument, a name the user typed) made safe to echo
// on a terminal: a crafted argument must not be able to drive it with escape
// sequences or break a line of ours in two. Pure; any thread.
#pragma once

#include <string>
#include <string_view>

// The text with every control character (C0, DEL, and C1 as UTF-8), every
// byte that is no part of valid UTF-8, and the backslash written as escapes
// (\x1b, \\); everything else, including valid UTF-8, as it is.
std::string escapedForTerminal(std::string_view text);
