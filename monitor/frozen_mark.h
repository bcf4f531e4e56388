// The sign of a frozen picture (Space, with an instrument's options). Any
// thread; it draws through the plot helpers.
#pragma once

// "frozen" at the right end of the top text row, in the text colour on a
// black backing.
void drawFrozenMark();
