#include "guard/library_messages.h"

#include <cstdio>
#include <mutex>

void quietLibraryMessages()
{
    // The Windows back-end prints nothing, and there stderr cannot be
    // pointed elsewhere without taking descriptor 2 with it.
#ifndef _WIN32
    static std::once_flag quiet;
    std::call_once(quiet, [] {
        std::fflush(stderr);
        if (std::FILE* nowhere = std::fopen("/dev/null", "w")) {
            stderr = nowhere;
        }
    });
#endif
}
