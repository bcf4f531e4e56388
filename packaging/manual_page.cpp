// earshot_manual_page <program> <date> <file>: writes the program's manual
// page, made from the same text as its --help.
#include <cstdio>
#include <fstream>
#include <string_view>

#include "specmon/spectrum_usage.h"
#include "wavemon/wave_usage.h"

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fputs("usage: earshot_manual_page wavemon|specmon <date> <file>\n", stderr);
        return 2;
    }
    const std::string_view program = argv[1];
    const ProgramUsage* usage = program == wavemonUsage.name   ? &wavemonUsage
                                : program == specmonUsage.name ? &specmonUsage
                                                               : nullptr;
    if (usage == nullptr) {
        std::fputs("earshot_manual_page: no such program\n", stderr);
        return 2;
    }
    std::ofstream(argv[3], std::ios::binary) << manualPage(*usage, argv[2]);
    return 0;
}
