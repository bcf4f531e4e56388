// Replacing a file whole: the new bytes go to a new temporary file beside
// it, which is flushed to the disk and only then renamed over it, so that the
// file is always either its old self or its new self, also when the process
// dies half-way. The file system side of DumpWriter; main thread only.
#pragma once

#include <cstdio>
#include <string>
#include <system_error>

// One replacement under way.
struct FileReplacement {
    // The file that gets the bytes: the path itself, or the file a symbolic
    // link at the path leads to (the link stays).
    std::string target;
    // The temporary file beside target; empty when the bytes go straight
    // into target, which is not a regular file (a named pipe, a device).
    std::string temporary;
    // Where the bytes go; null when nothing is open.
    std::FILE* stream = nullptr;
};

// Starts replacing path and opens the stream for binary output: a new
// temporary file in the target's directory, with the permission bits of an
// existing target. Fails, with nothing created, when path is a directory,
// when an existing target may not be written (no write permission, or no
// write bit at all, which counts as read-only even for a user who may write
// any file; on Windows the read-only attribute), or when the temporary file
// cannot be created. An existing target that is no regular file is opened
// for writing as it is, which for a named pipe waits for a reader.
std::error_code beginReplacement(const char* path, FileReplacement& replacement);

// Flushes the stream, syncs the temporary file to the disk, closes it and
// renames it over the target. On any failure the temporary file is removed
// and the target is left as it was. Closes the stream in every case.
std::error_code finishReplacement(FileReplacement& replacement);

// Closes the stream and removes the temporary file; the target stays as it
// was.
void abandonReplacement(FileReplacement& replacement);
