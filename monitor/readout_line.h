// The readout (--readout): the values under the pointer, in the window's top
// line. Any thread; it draws through the plot helpers.
#pragma once

#include <string_view>

// The readout's text in the top text row from the left edge, in the text
// colour on a black backing as wide as the text; nothing for an empty text.
void drawReadout(std::string_view text);
