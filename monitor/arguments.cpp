#include "monitor/arguments.h"

#include <optional>
#include <string_view>

#include "monitor/terminal_text.h"

namespace {

const OptionRow* findOption(const std::vector<OptionRow>& table, std::string_view name)
{
    for (const OptionRow& row : table) {
        if (row.name == name || (!row.shortName.empty() && row.shortName == name)) {
            return &row;
        }
    }
    return nullptr;
}

} // namespace

CommandLine readCommandLine(int argc, const char* const* argv, const std::vector<OptionRow>& table)
{
    CommandLine line;
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "--" && !optionsEnded) {
            optionsEnded = true;
            continue;
        }
        if (optionsEnded || !argument.starts_with("-")) {
            line.wrong = "unexpected argument '" + escapedForTerminal(argument) + "'";
            return line;
        }
        const size_t equals = argument.starts_with("--") ? argument.find('=') : std::string_view::npos;
        const std::string_view name = argument.substr(0, equals);
        std::optional<std::string_view> value;
        if (equals != std::string_view::npos) {
            value = argument.substr(equals + 1);
        }
        const OptionRow* option = findOption(table, name);
        // An answer is asked for by its name alone.
        if (option == nullptr || (value && option->request != Request::run)) {
            line.wrong = "unknown option '" + escapedForTerminal(argument) + "'";
            return line;
        }
        const std::string quoted = "option '" + option->name + "' ";
        if (value && option->value == OptionValue::none) {
            line.wrong = quoted + "takes no value";
            return line;
        }
        if (!value && option->value == OptionValue::required && i + 1 < argc) {
            value = argv[++i];
        }
        if (option->read) {
            if (const std::string wrong = option->read(value, line.options); !wrong.empty()) {
                line.wrong = quoted + wrong;
                return line;
            }
        }
        line.options.instrument = line.options.instrument || option->instrument;
        line.options.instrumentKeys += option->keys;
        if (option->request != Request::run) {
            line.request = option->request;
            return line;
        }
    }
    return line;
}
