// earshot_manual_page <program> <date> <file>: writes the program's manual
// page, made from the same text as its --help.
#include <cstdio>
#include <fstream>

#include "packaging/program_usage_named.h"

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fputs("usage: earshot_manual_page wavemon|specmon <date> <file>\n", stderr);
        return 2;
    }
    const ProgramUsage* usage = programUsageNamed(argv[1]);
    if (usage == nullptr) {
        std::fputs("earshot_manual_page: no such program\n", stderr);
        return 2;
    }
    std::ofstream(argv[3], std::ios::binary) << manualPage(*usage, argv[2]);
    return 0;
}
