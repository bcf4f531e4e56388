// DumpWriter: the one text file a program writes, out.txt, on its exit path.
// The file is replaced whole (file_replacement.h): it holds either all of the
// new dump or, after any failure, exactly what it held before. Main thread
// only. Every call on a closed writer does nothing.
#pragma once

#include <cstdint>
#include <string>
#include <system_error>

// What a print call writes after its number.
enum class PrintEnd {
    nextZone, // blanks up to the start of the next 14-character print zone (1 to 14 of them)
    endLine,  // carriage return and line feed
};

// Characters written since the last carriage return or line feed; 0 after a
// successful openForOutput. Never wrapped.
extern int32_t lineColumn;

// Why the dump under way, or the last one, failed: the first failure of its
// open, writes, sync, close or rename. Empty while all goes well; cleared by
// openForOutput.
extern std::error_code dumpError;

// Starts replacing path (beginReplacement) with fully buffered (8192 bytes)
// binary output, attached to the writer with lineColumn 0. Call it while the
// writer is closed. Returns false, with dumpError set, the writer closed and
// the file system as it was, when that cannot start: path is a directory, an
// existing file may not be written, or no file can be created beside it.
bool openForOutput(const char* path);

// Writes formatInteger(value), then the ending.
void printInteger(int64_t value, PrintEnd end);

// Writes formatSingle(value), then, in a separate write, the ending.
void printSingle(float value, PrintEnd end);

// Writes out the buffer, puts the file in place (finishReplacement) and
// detaches it from the writer. True when path now holds everything printed
// since openForOutput; otherwise path is as it was before and dumpError says
// why. After a failed write nothing more is written and the close only cleans
// up.
bool closeOutput();

// The whole dump: opens path, writes line i as printInteger(i, nextZone) and
// printSingle(values[i], endLine) for i from 0 to count - 1, and closes it.
// Returns dumpError: empty when path holds the whole dump.
std::error_code dumpValues(const char* path, const float* values, int64_t count);

// The same dump as text, for a caller that writes it itself (to a
// descriptor whose reader may not read, say): replaces what text held.
void dumpValuesToText(const float* values, int64_t count, std::string& text);
