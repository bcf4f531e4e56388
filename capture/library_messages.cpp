#include "capture/stderr_silence.h"

#include <cstdio>
#include <fcntl.h>

#ifdef _WIN32
#include <io.h>
constexpr const char* nullDevice = "NUL";
#else
#include <unistd.h>
constexpr const char* nullDevice = "/dev/null";
#endif

int silenceStderr()
{
    std::fflush(stderr);
    const int saved = dup(2);
    if (saved < 0) {
        return saved;
    }
    const int discard = open(nullDevice, O_WRONLY);
    if (discard >= 0) {
        dup2(discard, 2);
        close(discard);
    }
    return saved;
}

void restoreStderr(int saved)
{
    if (saved < 0) {
        return;
    }
    std::fflush(stderr);
    dup2(saved, 2);
    close(saved);
}
