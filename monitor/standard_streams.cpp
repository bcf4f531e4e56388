#include "monitor/standard_streams.h"

#ifdef _WIN32
#include <cstdio>
#include <io.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

bool descriptorOpen(int fd)
{
#ifdef _WIN32
    return _get_osfhandle(fd) != -1;
#else
    return fcntl(fd, F_GETFD) != -1;
#endif
}

bool fillClosedStandardStreams()
{
#ifdef _WIN32
    // A desktop program has standard output only where its starter gave it
    // one, or its console lent it one (reachParentConsole).
    const int fd = _fileno(stdout);
    return fd < 0 || !descriptorOpen(fd);
#else
    bool outputClosed = false;
    for (int fd = 0; fd <= 2; ++fd) {
        if (descriptorOpen(fd)) {
            continue;
        }
        outputClosed = outputClosed || fd == 1;
        // The lowest free number is this one: those below it are open.
        const int opened = open("/dev/null", O_RDWR);
        if (opened >= 0 && opened != fd) {
            close(opened);
        }
    }
    return outputClosed;
#endif
}
