// DumpWriter: the one text file a program writes, out.txt, on its exit path.
// Main thread only. Every call on a closed writer does nothing.
#pragma once

#include <cstdint>

// What a print call writes after its number.
enum class PrintEnd {
    nextZone, // blanks up to the start of the next 14-character print zone (1 to 14 of them)
    endLine,  // carriage return and line feed
};

// Characters written since the last carriage return or line feed; 0 after a
// successful openForOutput. Never wrapped.
extern int32_t lineColumn;

// Creates path, or truncates it, for fully buffered (8192 bytes) binary output,
// and attaches it to the writer with lineColumn 0. Call it while the writer is
// closed. Returns false, and leaves the writer closed and the file system as it
// was, when the file cannot be created or truncated, including an existing
// file whose mode has no write bit at all.
bool openForOutput(const char* path);

// Writes formatInteger(value), then the ending.
void printInteger(int64_t value, PrintEnd end);

// Writes formatSingle(value), then, in a separate write, the ending.
void printSingle(float value, PrintEnd end);

// Writes out the buffer, closes the file and detaches it from the writer.
void closeOutput();

// The whole dump: opens path, writes line i as printInteger(i, nextZone) and
// printSingle(values[i], endLine) for i from 0 to count - 1, and closes it.
void dumpValues(const char* path, const float* values, int64_t count);
