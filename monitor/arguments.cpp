#include "monitor/arguments.h"

#include <optional>
#include <string_view>

#include "monitor/terminal_text.h"

namespace {

constexpr std::string_view inputOption = "--input";

// Sets what a program's own option asks for; what is wrong with it, or
// nothing. value is what followed '=' in the same argument, if anything.
std::string applyOption(std::string_view name, std::optional<std::string_view> value, MonitorOptions& options)
{
    bool* const flag = name == "--grid" ? &options.grid : name == "--readout" ? &options.readout : nullptr;
    if (flag != nullptr) {
        if (value) {
            return "option '" + std::string(name) + "' takes no value";
        }
        *flag = true;
        return {};
    }
    return "unknown option '" + escapedForTerminal(name) + "'";
}

} // namespace

CommandLine readCommandLine(int argc, const char* const* argv, const ProgramUsage& usage)
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
        const size_t equals = argument.find('=');
        const std::string_view name = argument.substr(0, equals);
        if (name.starts_with("--") && takesOption(usage, name)) {
            const std::optional<std::string_view> value =
                equals == std::string_view::npos ? std::nullopt : std::optional(argument.substr(equals + 1));
            line.wrong = applyOption(name, value, line.options);
            if (!line.wrong.empty()) {
                return line;
            }
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
