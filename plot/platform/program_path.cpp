#include "plot/platform/program_path.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#endif

std::string programPath()
{
#ifdef _WIN32
    char path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    return std::string(path, length < MAX_PATH ? length : 0);
#else
    return program_invocation_name != nullptr ? program_invocation_name : "";
#endif
}
