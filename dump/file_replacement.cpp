#include "dump/file_replacement.h"

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>

#ifdef _WIN32
#include <io.h>
#include <process.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace {

// Links that lead to links this many times over are taken for a loop, as
// the system does.
constexpr int maxLinkHops = 40;

// Tries at a free temporary name before giving up.
constexpr int maxNameTries = 100;

std::error_code lastError()
{
    return {errno, std::generic_category()};
}

// The file that a path's bytes end up in: the path itself, or where its
// symbolic links lead (a file that need not exist yet).
fs::path linkTarget(const fs::path& path, std::error_code& error)
{
    fs::path at = path;
    for (int hop = 0; hop < maxLinkHops; ++hop) {
        const fs::file_status status = fs::symlink_status(at, error);
        if (error == std::errc::no_such_file_or_directory) {
            error.clear();
        }
        if (error || !fs::is_symlink(status)) {
            return at;
        }
        const fs::path next = fs::read_symlink(at, error);
        if (error) {
            return at;
        }
        at = next.is_absolute() ? next : at.parent_path() / next;
    }
    error = std::make_error_code(std::errc::too_many_symbolic_link_levels);
    return at;
}

// Whether an existing file refuses to be written: it has no write bit at all
// (on Windows, the read-only attribute), or this process may not write it.
bool refusesWriting(const fs::path& file, fs::perms permissions)
{
    if ((permissions & (fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write)) ==
        fs::perms::none) {
        return true;
    }
#ifdef _WIN32
    static_cast<void>(file);
    return false;
#else
    return access(file.c_str(), W_OK) != 0;
#endif
}

// A name for the temporary file beside target, hidden from ordinary
// listings and different on every call of this process.
fs::path temporaryName(const fs::path& target)
{
    static unsigned counter = 0;
#ifdef _WIN32
    const int process = _getpid();
#else
    const int process = getpid();
#endif
    std::string name = ".";
    name.append(target.filename().string()).append(".").append(std::to_string(process));
    name.append("-").append(std::to_string(counter++));
    return target.parent_path() / name;
}

// Creates a file that did not exist, for writing only, readable and writable
// as the user's file-creation mask allows.
int createNew(const fs::path& path)
{
#ifdef _WIN32
    return _open(path.string().c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY | _O_NOINHERIT,
                 _S_IREAD | _S_IWRITE);
#else
    return open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
#endif
}

void closeFd(int fd)
{
#ifdef _WIN32
    _close(fd);
#else
    close(fd);
#endif
}

std::error_code syncToDisk(std::FILE* stream)
{
#ifdef _WIN32
    return _commit(_fileno(stream)) == 0 ? std::error_code() : lastError();
#else
    return fsync(fileno(stream)) == 0 ? std::error_code() : lastError();
#endif
}

std::error_code renameOver(const fs::path& from, const fs::path& to)
{
#ifdef _WIN32
    if (MoveFileExA(from.string().c_str(), to.string().c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        return {};
    }
    return {static_cast<int>(GetLastError()), std::system_category()};
#else
    if (std::rename(from.c_str(), to.c_str()) != 0) {
        return lastError();
    }
    // The rename itself reaches the disk with its directory; a failure here
    // leaves the new file in place all the same.
    const std::string directory = to.has_parent_path() ? to.parent_path().string() : ".";
    const int fd = open(directory.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd >= 0) {
        fsync(fd);
        close(fd);
    }
    return {};
#endif
}

std::error_code openTemporary(const fs::path& target, const fs::file_status& existing, FileReplacement& replacement)
{
    for (int attempt = 0; attempt < maxNameTries; ++attempt) {
        const fs::path temporary = temporaryName(target);
        const int fd = createNew(temporary);
        if (fd < 0 && errno == EEXIST) {
            continue;
        }
        if (fd < 0) {
            return lastError();
        }
        replacement.temporary = temporary.string();
        std::error_code error;
        if (fs::exists(existing)) {
            fs::permissions(temporary, existing.permissions() & fs::perms::all, error);
        }
#ifdef _WIN32
        replacement.stream = error ? nullptr : _fdopen(fd, "wb");
#else
        replacement.stream = error ? nullptr : fdopen(fd, "wb");
#endif
        if (replacement.stream == nullptr) {
            error = error ? error : lastError();
            closeFd(fd);
            abandonReplacement(replacement);
            return error;
        }
        return {};
    }
    return std::make_error_code(std::errc::file_exists);
}

} // namespace

std::error_code beginReplacement(const char* path, FileReplacement& replacement)
{
    replacement = {};
    std::error_code error;
    const fs::path target = linkTarget(path, error);
    if (error) {
        return error;
    }
    const fs::file_status existing = fs::status(target, error);
    if (error && error != std::errc::no_such_file_or_directory) {
        return error;
    }
    error.clear();
    replacement.target = target.string();
    if (fs::is_directory(existing)) {
        return std::make_error_code(std::errc::is_a_directory);
    }
    if (fs::exists(existing) && refusesWriting(target, existing.permissions())) {
        return std::make_error_code(std::errc::permission_denied);
    }
    if (fs::exists(existing) && !fs::is_regular_file(existing)) {
        replacement.stream = std::fopen(replacement.target.c_str(), "wb");
        return replacement.stream != nullptr ? std::error_code() : lastError();
    }
    return openTemporary(target, existing, replacement);
}

std::error_code finishReplacement(FileReplacement& replacement)
{
    std::error_code error;
    if (std::fflush(replacement.stream) != 0) {
        error = lastError();
    }
    if (!error && !replacement.temporary.empty()) {
        error = syncToDisk(replacement.stream);
    }
    if (std::fclose(replacement.stream) != 0 && !error) {
        error = lastError();
    }
    replacement.stream = nullptr;
    if (!error && !replacement.temporary.empty()) {
        error = renameOver(replacement.temporary, replacement.target);
    }
    if (error) {
        abandonReplacement(replacement);
    }
    replacement = {};
    return error;
}

void abandonReplacement(FileReplacement& replacement)
{
    if (replacement.stream != nullptr) {
        std::fclose(replacement.stream);
        replacement.stream = nullptr;
    }
    if (!replacement.temporary.empty()) {
        std::error_code ignored;
        fs::remove(replacement.temporary, ignored);
        replacement.temporary.clear();
    }
}
