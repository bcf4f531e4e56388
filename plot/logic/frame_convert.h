// Turns rows of the 8-bit indexed frame buffer into 32-bit window pixels
// through a palette lookup, and finds the rows that need it because they
// differ from what the window last showed. Pure; any thread.
#pragma once

#include <cstdint>

#include "plot/logic/palette.h"
#include "plot/logic/raster.h"

// Converts rowCount rows of width palette indices each (source pitch width
// bytes) into 32-bit pixels looked up in xrgb, written row by row to out with
// a pitch of outPitch bytes (at least 4 * width, a multiple of 4).
void convertRows(const uint8_t* indices, int32_t width, int32_t rowCount, const uint32_t (&xrgb)[paletteSize],
                 uint8_t* out, int32_t outPitch);

// How many runs of changed rows are told apart; further changed rows join the
// last run, so that a scattered change still makes only a few window updates.
constexpr int32_t maxRowRuns = 8;

// Runs of changed rows, top to bottom, none empty and none touching another.
struct RowRuns {
    int32_t count = 0;
    RowSpan runs[maxRowRuns];
};

// The rows of span whose width bytes in frame differ from those in shown
// (both width x height bytes, pitch width), or every row of span when
// everyRow; each of them is copied into shown. Once maxRowRuns runs are found
// the last one stretches over every further changed row, and so may cover
// unchanged rows.
RowRuns takeChangedRows(const uint8_t* frame, uint8_t* shown, int32_t width, RowSpan span, bool everyRow);
