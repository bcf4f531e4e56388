#include "monitor/user_notice.h"

#include <string>

#ifdef _WIN32
#include <cstdio>
#include <windows.h>
#else
#include <unistd.h>
#endif

std::string_view noticeProgramName;

void tellUser(std::string_view text)
{
    std::string line(noticeProgramName);
    line.append(": ").append(text).append("\n");
#ifdef _WIN32
    std::fwrite(line.data(), 1, line.size(), stderr);
    std::fflush(stderr);
#else
    // Straight to the descriptor: the C library's stderr stream is kept for
    // the libraries' own messages, which the capture layer sends nowhere.
    const ssize_t written = write(2, line.data(), line.size());
    static_cast<void>(written);
#endif
}

void reachParentConsole()
{
#ifdef _WIN32
    // Standard handles the starter gave (a pipe, a file) are kept; only the
    // missing ones are taken from the console.
    if (!AttachConsole(ATTACH_PARENT_PROCESS)) {
        return;
    }
    if (GetStdHandle(STD_OUTPUT_HANDLE) == nullptr || _fileno(stdout) < 0) {
        std::freopen("CONOUT$", "w", stdout);
    }
    if (GetStdHandle(STD_ERROR_HANDLE) == nullptr || _fileno(stderr) < 0) {
        std::freopen("CONOUT$", "w", stderr);
    }
#endif
}
