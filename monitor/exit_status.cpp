#include "monitor/exit_status.h"

#include "monitor/dump_destination.h"

std::string exitStatusMeaning(int status)
{
    switch (status) {
    case exitDelivered: return std::string(monitorDumpPath) + " was written and the program ended as asked";
    case exitLost:
        return std::string(monitorDumpPath) +
               " could not be written, numbers for standard output were lost, or the display went away";
    case exitWrongCommandLine:
        return "the command line was wrong, or the chosen input does not exist or cannot give the capture's format";
    default: return {};
    }
}
