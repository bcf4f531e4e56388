#include "monitor/arguments.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <string_view>

#include "monitor/terminal_text.h"

namespace {

constexpr std::string_view inputOption = "--input";

// A number that is the whole of text, or nothing.
std::optional<double> wholeNumber(std::string_view text)
{
    const std::string copy(text);
    char* end = nullptr;
    const double value = std::strtod(copy.c_str(), &end);
    if (copy.empty() || end != copy.c_str() + copy.size() || !std::isfinite(value) || std::isspace(copy.front())) {
        return std::nullopt;
    }
    return value;
}

// A whole number that is the whole of text: false when it is not one.
bool wholeInteger(std::string_view text, int64_t& number)
{
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    return error == std::errc() && end == text.data() + text.size();
}

// EDGE[:LEVEL] of --trigger=; false when it is no such thing.
bool readTrigger(std::string_view text, TriggerOption& trigger)
{
    const size_t colon = text.find(':');
    const std::string_view edge = text.substr(0, colon);
    if (edge != "rising" && edge != "falling") {
        return false;
    }
    trigger.rising = edge == "rising";
    if (colon == std::string_view::npos) {
        return true;
    }
    const std::optional<double> level = wholeNumber(text.substr(colon + 1));
    if (!level || std::abs(*level) > triggerLevelLimit) {
        return false;
    }
    trigger.level = static_cast<float>(*level);
    return true;
}

// Sets what an option for a run asks for; what is wrong with it, or
// nothing. value is what followed '=' in the same argument, if anything;
// next is the argument after this one, which an option with a value of its
// own takes (and then sets tookNext).
std::string applyOption(std::string_view name, std::optional<std::string_view> value, const char* next, bool& tookNext,
                        MonitorOptions& options)
{
    const std::string quoted = "option '" + std::string(name) + "'";
    bool* const flag = name == "--grid"        ? &options.grid
                       : name == "--readout"   ? &options.readout
                       : name == "--peak-hold" ? &options.peakHold
                       : name == "--print"     ? &options.print
                       : name == "--no-window" ? &options.noWindow
                                               : nullptr;
    if (flag != nullptr) {
        if (value) {
            return quoted + " takes no value";
        }
        *flag = true;
        return {};
    }
    if (name == "--trigger") {
        options.trigger = {true, true, 0.0f};
        if (value && !readTrigger(*value, options.trigger)) {
            return quoted + " takes rising or falling, then optionally ':' and a level from -" +
                   singleText(triggerLevelLimit) + " to " + singleText(triggerLevelLimit) + ", not '" +
                   escapedForTerminal(*value) + "'";
        }
        return {};
    }
    // The rest take a value of their own: after '=', or the next argument.
    if (!value && next != nullptr) {
        value = next;
        tookNext = true;
    }
    const std::string given = value ? ", not '" + escapedForTerminal(*value) + "'" : "";
    if (name == "--out") {
        if (!value || value->empty()) {
            return quoted + " needs a path, or - for standard output";
        }
        options.out = *value;
        return {};
    }
    int64_t number = 0;
    const bool whole = value && wholeInteger(*value, number);
    if (name == "--frames") {
        if (!whole || number < framesLeast) {
            return quoted + " needs a whole number from " + numberText(framesLeast) + " on" + given;
        }
        options.frames = number;
        return {};
    }
    if (name == "--average") {
        if (!whole || number < averageLeast || number > averageMost) {
            return quoted + " needs a whole number from " + numberText(averageLeast) + " to " +
                   numberText(averageMost) + given;
        }
        options.average = number;
        return {};
    }
    return "unknown option '" + escapedForTerminal(name) + "'";
}

} // namespace

bool MonitorOptions::instrument() const
{
    return grid || readout || trigger.on || peakHold || average > 0;
}

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
        if (name != inputOption && name.starts_with("--") && takesOption(usage, name)) {
            const std::optional<std::string_view> value =
                equals == std::string_view::npos ? std::nullopt : std::optional(argument.substr(equals + 1));
            bool tookNext = false;
            line.wrong = applyOption(name, value, i + 1 < argc ? argv[i + 1] : nullptr, tookNext, line.options);
            i += tookNext ? 1 : 0;
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
