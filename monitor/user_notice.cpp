#include "monitor/user_notice.h"

#include <string>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

std::string_view noticeProgramName;

void tellUser(std::string_view text)
{
    std::string line(noticeProgramName);
    line.append(": ").append(text).append("\n");
    // Straight to the descriptor: the C library's stderr stream is kept for
    // the libraries' own messages, which the capture layer sends nowhere.
#ifdef _WIN32
    _write(2, line.data(), static_cast<unsigned>(line.size()));
#else
    const ssize_t written = write(2, line.data(), line.size());
    static_cast<void>(written);
#endif
}
