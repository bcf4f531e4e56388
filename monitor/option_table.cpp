#include "monitor/option_table.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdlib>

#include "monitor/dump_destination.h"
#include "monitor/instrument_keys.h"
#include "monitor/number_text.h"
#include "monitor/terminal_text.h"

namespace {

// What --print= takes.
constexpr std::string_view printNumbers = "numbers";
constexpr std::string_view printMeasure = "measure";
// The edges of --trigger=.
constexpr std::string_view triggerRising = "rising";
constexpr std::string_view triggerFalling = "falling";

// ", not 'VALUE'", escaped, for a value that was given.
std::string notGiven(std::optional<std::string_view> value)
{
    return value ? ", not '" + escapedForTerminal(*value) + "'" : "";
}

// A real number that is the whole of text, or nothing.
std::optional<double> realNumber(std::string_view text)
{
    const std::string copy(text);
    char* end = nullptr;
    const double value = std::strtod(copy.c_str(), &end);
    if (copy.empty() || end != copy.c_str() + copy.size() || !std::isfinite(value) || std::isspace(copy.front())) {
        return std::nullopt;
    }
    return value;
}

// A whole number that is the whole of text, or nothing.
std::optional<int64_t> wholeInteger(std::string_view text)
{
    int64_t number = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    return error == std::errc() && end == text.data() + text.size() ? std::optional(number) : std::nullopt;
}

// EDGE[:LEVEL] of --trigger=; false when it is no such thing.
bool readTrigger(std::string_view text, TriggerOption& trigger)
{
    const size_t colon = text.find(':');
    const std::string_view edge = text.substr(0, colon);
    if (edge != triggerRising && edge != triggerFalling) {
        return false;
    }
    trigger.rising = edge == triggerRising;
    if (colon == std::string_view::npos) {
        return true;
    }
    const std::optional<double> level = realNumber(text.substr(colon + 1));
    if (!level || std::abs(*level) > triggerLevelLimit) {
        return false;
    }
    trigger.level = static_cast<float>(*level);
    return true;
}

OptionRow row(std::string name, OptionValue value, std::string valueName, OptionReader read, std::string help,
              std::vector<std::string> choices = {})
{
    OptionRow option;
    option.name = std::move(name);
    option.value = value;
    option.valueName = std::move(valueName);
    option.choices = std::move(choices);
    option.read = std::move(read);
    option.help = std::move(help);
    return option;
}

OptionRow answer(std::string shortName, std::string name, Request request, std::string help)
{
    OptionRow option = row(std::move(name), OptionValue::none, "", {}, std::move(help));
    option.shortName = std::move(shortName);
    option.request = request;
    return option;
}

std::vector<OptionRow> makeBothOptions()
{
    return {
        row(
            "--input", OptionValue::required, "NAME|INDEX",
            [](std::optional<std::string_view> value, MonitorOptions& options) -> std::string {
                if (!value) {
                    return "needs the name or index of an input";
                }
                options.inputs.emplace_back(*value);
                return {};
            },
            "record from this input instead of the default one: its index, its exact name, or a part of its name "
            "that only it has (any case); see --list-inputs. On a Linux desktop the sound server usually shows one "
            "input; pick a source in the desktop's sound settings, or for one run with PULSE_SOURCE=<source name>"),
        row("--print", OptionValue::optional, "WHAT",
            [](std::optional<std::string_view> value, MonitorOptions& options) -> std::string {
                const std::string_view what = value.value_or(printNumbers);
                if (what != printNumbers && what != printMeasure) {
                    return "takes " + std::string(printNumbers) + " or " + std::string(printMeasure) + notGiven(value);
                }
                options.print = what == printNumbers ? PrintKind::numbers : PrintKind::measure;
                return {};
            },
            "after each frame, write the numbers it drew as one line on standard output, each as " +
                std::string(monitorDumpPath) +
                " writes it (without the blank before a positive value), separated by blanks; with =" +
                std::string(printMeasure) +
                ", the values of the measurement line (--measure) instead, without their units; a reader that "
                "stops reading holds the frames up but not the keys or the signals, and when the reader goes away "
                "the program ends as on kill",
            {std::string(printNumbers), std::string(printMeasure)}),
        instrumentOption(
            row(
                "--reference", OptionValue::optional, "FILE",
                [](std::optional<std::string_view> value, MonitorOptions& options) -> std::string {
                    if (value && value->empty()) {
                        return "needs the name of a dump file after '='";
                    }
                    options.reference = true;
                    options.referenceFile = value.value_or("");
                    return {};
                },
                "draw a stored trace in light cyan under the live one, as the live one is drawn: " +
                    std::string(1, referenceKey) +
                    " stores the numbers the frame drew as it (frozen, the frozen ones), and with =FILE it starts "
                    "as FILE, a dump of the same program in " +
                    std::string(monitorDumpPath) +
                    "'s form (of wavemon's, the older half of its samples, which the trace draws), read strictly; "
                    "with --readout the pointer's part adds the reference's value there"),
            std::string(1, referenceKey)),
        wholeNumberOption("--frames", &MonitorOptions::frames, framesLeast, 0,
                          "end after N frames (N from " + numberText(framesLeast) + "), as on Escape"),
        flagOption("--no-window", &MonitorOptions::noWindow,
                   "open no window and need no display: frames still come about ten a second; Ctrl-C or kill ends "
                   "the program"),
        row(
            "--out", OptionValue::required, "PATH",
            [](std::optional<std::string_view> value, MonitorOptions& options) -> std::string {
                if (!value || value->empty()) {
                    return "needs a path, or " + std::string(standardOutputPath) + " for standard output";
                }
                options.out = *value;
                return {};
            },
            "write the dump to PATH instead of " + std::string(monitorDumpPath) + ", under the same rules; " +
                std::string(standardOutputPath) +
                " (or any name of standard output's file) writes it to standard output at the end, after any "
                "--print lines, and a name of a descriptor the program was started with (/dev/fd/N) writes it "
                "there"),
    };
}

std::vector<OptionRow> makeAnswerOptions()
{
    return {
        answer("", "--list-inputs", Request::listInputs,
               "list the audio inputs: index, host API and name, the default one marked with *"),
        answer("-h", "--help", Request::help, "show this help and exit"),
        answer("", "--version", Request::version, "show the program's name and version and exit"),
    };
}

} // namespace

OptionRow flagOption(std::string name, bool MonitorOptions::*flag, std::string help)
{
    return row(
        std::move(name), OptionValue::none, "",
        [flag](std::optional<std::string_view>, MonitorOptions& options) -> std::string {
            options.*flag = true;
            return {};
        },
        std::move(help));
}

OptionRow wholeNumberOption(std::string name, int64_t MonitorOptions::*number, int64_t least, int64_t most,
                            std::string help)
{
    return row(
        std::move(name), OptionValue::required, "N",
        [number, least, most](std::optional<std::string_view> value, MonitorOptions& options) -> std::string {
            const std::optional<int64_t> given = value ? wholeInteger(*value) : std::nullopt;
            if (!given || *given < least || (most != 0 && *given > most)) {
                return "needs a whole number from " + numberText(static_cast<double>(least)) +
                       (most != 0 ? " to " + numberText(static_cast<double>(most)) : " on") + notGiven(value);
            }
            options.*number = *given;
            return {};
        },
        std::move(help));
}

OptionRow triggerOption(std::string help)
{
    return row("--trigger", OptionValue::optional, "EDGE[:LEVEL]",
               [](std::optional<std::string_view> value, MonitorOptions& options) -> std::string {
                   options.trigger = {true, true, 0.0f};
                   if (value && !readTrigger(*value, options.trigger)) {
                       return "takes " + std::string(triggerRising) + " or " + std::string(triggerFalling) +
                              ", then optionally ':' and a level from -" + singleText(triggerLevelLimit) + " to " +
                              singleText(triggerLevelLimit) + notGiven(value);
                   }
                   return {};
               },
               std::move(help), {std::string(triggerRising), std::string(triggerFalling)});
}

OptionRow instrumentOption(OptionRow row, std::string keys)
{
    row.instrument = true;
    row.keys = std::move(keys);
    return row;
}

const std::vector<OptionRow>& bothOptions()
{
    static const std::vector<OptionRow> options = makeBothOptions();
    return options;
}

const std::vector<OptionRow>& answerOptions()
{
    static const std::vector<OptionRow> options = makeAnswerOptions();
    return options;
}

std::string optionTerm(const OptionRow& row)
{
    const std::string name = row.shortName.empty() ? row.name : row.shortName + ", " + row.name;
    switch (row.value) {
    case OptionValue::none: break;
    case OptionValue::required: return name + " " + row.valueName;
    case OptionValue::optional: return name + "[=" + row.valueName + "]";
    }
    return name;
}
