#include "monitor/command_line.h"

#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "capture/capture_format.h"
#include "capture/capture_stream.h"
#include "capture/input_devices.h"
#include "monitor/arguments.h"
#include "monitor/dump_destination.h"
#include "monitor/exit_status.h"
#include "monitor/number_text.h"
#include "monitor/standard_streams.h"
#include "monitor/terminal_text.h"
#include "monitor/user_notice.h"

namespace {

int answer(const std::string& text)
{
    std::fwrite(text.data(), 1, text.size(), stdout);
    return std::fflush(stdout) == 0 ? exitDelivered : exitLost;
}

// One input as --list-inputs shows it: the default marked with '*', then
// the index, the host API and the name.
std::string inputLine(const InputDevice& input)
{
    return std::string(input.isDefault ? "* " : "  ") + std::to_string(input.index) + "  " +
           escapedForTerminal(input.hostApi) + "  " + escapedForTerminal(input.name);
}

int listAllInputs()
{
    // Shared with the thread that reads the inputs, which may outlive the wait.
    const auto text = std::make_shared<std::string>();
    if (const char* problem = readInputs([text](const std::vector<InputDevice>& inputs) {
            for (const InputDevice& input : inputs) {
                *text += inputLine(input) + "\n";
            }
        })) {
        tellUser(std::string(problem) + ", so no audio input can be listed");
        return exitLost;
    }
    if (text->empty()) {
        tellUser("there are no audio inputs");
    }
    return answer(*text);
}

// Makes the named input the one to capture from; false, having told the user
// why and which inputs there are, when no single input that can give the
// capture's format fits the name.
bool chooseNamedInput(std::string_view wanted)
{
    const std::string shown = escapedForTerminal(wanted);
    // What the work found: the input's name, or the lines that say why there
    // is none. Shared with the thread that reads the inputs, which may outlive
    // the wait; the choice and the lines take effect here, once it has run.
    struct Found {
        bool chosen = false;
        std::string name;
        std::vector<std::string> lines;
    };
    const auto found = std::make_shared<Found>();
    if (const char* problem =
            readInputs([found, wanted = std::string(wanted), shown](const std::vector<InputDevice>& inputs) {
                const InputChoice choice = chooseInput(inputs, wanted);
                if (choice.chosen < 0) {
                    found->lines.push_back((choice.several ? "several audio inputs fit '" : "no audio input fits '") +
                                           shown + "'; " + (choice.several ? "they are:" : "the inputs are:"));
                    for (const int candidate : choice.candidates) {
                        found->lines.push_back(inputLine(inputs[static_cast<size_t>(candidate)]));
                    }
                } else if (const char* unfit = captureFormatProblem(inputs[static_cast<size_t>(choice.chosen)])) {
                    found->lines.push_back(
                        "audio input '" + escapedForTerminal(inputs[static_cast<size_t>(choice.chosen)].name) +
                        "' cannot give " + numberText(captureChannels) + " channel of " + numberText(captureBits) +
                        "-bit samples at " + numberText(captureRate) + " Hz (" + unfit + ")");
                } else {
                    found->name = inputs[static_cast<size_t>(choice.chosen)].name;
                    found->chosen = true;
                }
            })) {
        tellUser(std::string(problem) + ", so no audio input can be chosen");
        return false;
    }
    for (const std::string& line : found->lines) {
        tellUser(line);
    }
    if (found->chosen) {
        chosenInput = found->name;
    }
    return found->chosen;
}

// What stands in the way of the numbers the options send somewhere: a
// standard output that was closed at start, or a descriptor --out names
// that the program was not started with. Empty when nothing does.
std::string outputProblem(const MonitorOptions& options, bool outputClosed)
{
    const int fd = dumpDescriptor(options);
    const bool printing = options.print != PrintKind::none;
    if (outputClosed && (printing || fd == fileno(stdout))) {
        return std::string("option '") + (printing ? "--print" : "--out") +
               "' writes to standard output, which is closed";
    }
    if (fd >= 0 && fd != fileno(stdout) && !descriptorOpen(fd)) {
        return "option '--out' names descriptor " + std::to_string(fd) + ", which is not open";
    }
    return {};
}

} // namespace

std::optional<int> answerCommandLine(const ProgramUsage& usage, int argc, const char* const* argv,
                                     MonitorOptions& options)
{
    reachParentConsole();
    const bool outputClosed = fillClosedStandardStreams();
    noticeProgramName = usage.name;
    const CommandLine line = readCommandLine(argc, argv, optionTable(usage));
    if (const std::string problem = outputProblem(line.options, outputClosed);
        line.wrong.empty() && line.request == Request::run && !problem.empty()) {
        tellUser(problem);
        return exitWrongCommandLine;
    }
    for (const std::string& input : line.options.inputs) {
        if (!chooseNamedInput(input)) {
            return exitWrongCommandLine;
        }
    }
    if (!line.wrong.empty()) {
        tellUser(line.wrong + "; see '" + usage.name + " --help'");
        return exitWrongCommandLine;
    }
    switch (line.request) {
    case Request::help: return answer(helpText(usage));
    case Request::version: return answer(versionText(usage));
    case Request::listInputs: return listAllInputs();
    case Request::run: break;
    }
    options = line.options;
    return std::nullopt;
}
