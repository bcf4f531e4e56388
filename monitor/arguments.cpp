#include "monitor/arguments.h"

#include <string_view>

#include "monitor/terminal_text.h"

namespace {

constexpr std::string_view inputOption = "--input";

} // namespace

CommandLine readCommandLine(int argc, const char* const* argv)
{
    CommandLine line;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "-h" || argument == "--help") {
            line.request = Request::help;
            return line;
        }
        if (argument == "--version") {
            line.request = Request::version;
            return line;
        }
        if (argument == "--list-inputs") {
            line.request = Request::listInputs;
            return line;
        }
        if (argument == inputOption && i + 1 < argc) {
            line.inputs.emplace_back(argv[++i]);
            continue;
        }
        if (argument.starts_with(std::string(inputOption) + "=")) {
            line.inputs.emplace_back(argument.substr(inputOption.size() + 1));
            continue;
        }
        const std::string shown = escapedForTerminal(argument);
        line.wrong = argument == inputOption     ? "option '--input' needs the name or index of an input"
                     : argument.starts_with("-") ? "unknown option '" + shown + "'"
                                                 : "unexpected argument '" + shown + "'";
        return line;
    }
    return line;
}
