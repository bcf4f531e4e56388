#include "monitor/command_line.h"

#include <cstdio>
#include <string>
#include <string_view>

#include "monitor/user_notice.h"

namespace {

int answer(const std::string& text)
{
    std::fwrite(text.data(), 1, text.size(), stdout);
    return std::fflush(stdout) == 0 ? 0 : 1;
}

} // namespace

std::optional<int> answerCommandLine(const ProgramUsage& usage, int argc, const char* const* argv)
{
    reachParentConsole();
    noticeProgramName = usage.name;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "-h" || argument == "--help") {
            return answer(helpText(usage));
        }
        if (argument == "--version") {
            return answer(versionText(usage));
        }
        const std::string what = argument.starts_with("-") ? "unknown option" : "unexpected argument";
        tellUser(what + " '" + std::string(argument) + "'; see '" + std::string(usage.name) + " --help'");
        return 2;
    }
    return std::nullopt;
}
