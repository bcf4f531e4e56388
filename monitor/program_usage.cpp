#include "monitor/program_usage.h"

#include <cctype>
#include <charconv>
#include <vector>

#include "capture/capture_format.h"
#include "monitor/dump_destination.h"
#include "monitor/monitor_window.h"

namespace {

using Entry = UsageEntry;

constexpr int textWidth = 79;
constexpr int entryIndent = 6;

const std::string dumpName = monitorDumpPath;

// The program's options as a list in words: "--grid, --readout or --trigger".
std::string optionList(const ProgramUsage& usage)
{
    std::string list;
    for (size_t i = 0; i < usage.options.size(); ++i) {
        list += (i == 0                          ? ""
                 : i + 1 == usage.options.size() ? " or "
                                                 : ", ") +
                std::string(optionName(usage.options[i].term));
    }
    return list;
}

std::vector<Entry> controls(const ProgramUsage& usage)
{
    std::vector<Entry> entries = {
        {"left mouse button, held", usage.leftButton},
        {"right mouse button, held", usage.rightButton},
        {"Escape or Ctrl-C in the window", "writes " + dumpName + " and exits"},
        {"Ctrl-C in the terminal, kill, closing the terminal",
         "the same as Escape; once the program is ending, the next one ends it at once, without " + dumpName},
    };
    if (!usage.options.empty()) {
        entries.push_back({"Space, with " + optionList(usage),
                           "freezes the picture: frames go on (the buttons and the readout still act on it) while "
                           "the audio flows on, and Space again shows the live input; while frozen, " +
                               dumpName + " gets the frozen numbers and the top line says frozen"});
    }
    entries.insert(entries.end(), usage.keys.begin(), usage.keys.end());
    return entries;
}

const std::string_view controlsNote = "The buttons work while the window is active and the pointer is over it. "
                                      "Every other key, and the window's close button, is ignored.";

std::string dumpText(const ProgramUsage& usage)
{
    return "Written to the current directory on exit, replacing any earlier " + dumpName +
           " as a whole: " + usage.dump +
           ". One line per value: the index, then the value with 7 significant digits, then CR LF. If it cannot be "
           "written, the earlier file stays as it was and the program says why.";
}

// The options of both programs for a run, and those that answer instead.
const std::vector<Entry> runOptions = {
    {"--input NAME|INDEX",
     "record from this input instead of the default one: its index, its exact name, or a part of its name that "
     "only it has (any case); see --list-inputs. On a Linux desktop the sound server usually shows one input; pick "
     "a source in the desktop's sound settings, or for one run with PULSE_SOURCE=<source name>"},
    {"--print",
     "after each frame, write the numbers it drew as one line on standard output, each as " + dumpName +
         " writes it (without the blank before a positive value), separated by blanks; a reader that stops reading "
         "holds the frames up but not the keys or the signals, and when the reader goes away the program ends as "
         "on kill"},
    {"--frames N", "end after N frames (N from 1), as on Escape"},
    {"--no-window",
     "open no window and need no display: frames still come about ten a second; Ctrl-C or kill ends the program"},
    {"--out PATH", "write the dump to PATH instead of " + dumpName +
                       ", under the same rules; - (or any name of standard output's file) writes it to standard "
                       "output at the end, after any --print lines, and a name of a descriptor the program was "
                       "started with (/dev/fd/N) writes it there"},
};

const std::vector<Entry> answerOptions = {
    {"--list-inputs", "list the audio inputs: index, host API and name, the default one marked with *"},
    {"-h, --help", "show this help and exit"},
    {"--version", "show the program's name and version and exit"},
};

// The usage line's items: every option that a run takes, then the answers.
std::vector<std::string> synopsisItems(const ProgramUsage& usage)
{
    std::vector<std::string> items;
    for (const std::vector<Entry>* list : {&usage.options, &runOptions}) {
        for (const Entry& option : *list) {
            items.push_back("[" + option.term + "]");
        }
    }
    items.insert(items.end(), {"| --list-inputs", "| --help", "| --version"});
    return items;
}

std::string synopsis(const ProgramUsage& usage)
{
    std::string line;
    for (const std::string& item : synopsisItems(usage)) {
        line.append(line.empty() ? "" : " ").append(item);
    }
    return line;
}

// "Usage: <name> <items>", wrapped between items under the first one.
std::string usageLines(const ProgramUsage& usage)
{
    const std::string start = "Usage: " + usage.name + " ";
    std::string out = start;
    size_t lineLength = start.size();
    bool first = true;
    for (const std::string& item : synopsisItems(usage)) {
        if (!first && lineLength + 1 + item.size() > textWidth) {
            out.append("\n").append(start.size(), ' ');
            lineLength = start.size();
            first = true;
        }
        out.append(first ? "" : " ").append(item);
        lineLength += (first ? 0 : 1) + item.size();
        first = false;
    }
    return out.append("\n");
}

// The program's own options first, then those of both.
std::vector<Entry> options(const ProgramUsage& usage)
{
    std::vector<Entry> all = usage.options;
    all.insert(all.end(), runOptions.begin(), runOptions.end());
    all.insert(all.end(), answerOptions.begin(), answerOptions.end());
    return all;
}

const std::vector<Entry> exitStatuses = {
    {"0", dumpName + " was written and the program ended as asked"},
    {"1", dumpName + " could not be written, numbers for standard output were lost, or the display went away"},
    {"2", "the command line was wrong, or the chosen input does not exist or cannot give the capture's format"},
};

// text wrapped at textWidth, every line starting with indent blanks.
std::string wrapped(std::string_view text, int indent)
{
    std::string out;
    std::string line(static_cast<size_t>(indent), ' ');
    size_t at = 0;
    while (at < text.size()) {
        const size_t end = std::min(text.find(' ', at), text.size());
        const std::string_view word = text.substr(at, end - at);
        if (line.size() > static_cast<size_t>(indent) && line.size() + 1 + word.size() > textWidth) {
            out += line + "\n";
            line.assign(static_cast<size_t>(indent), ' ');
        }
        if (line.size() > static_cast<size_t>(indent)) {
            line += ' ';
        }
        line += word;
        at = end + 1;
    }
    return out + line + "\n";
}

std::string helpEntries(const std::vector<Entry>& entries)
{
    std::string out;
    for (const Entry& entry : entries) {
        out += "  " + std::string(entry.term) + "\n" + wrapped(entry.text, entryIndent);
    }
    return out;
}

// Text for a roff page: backslashes and hyphens escaped, and a line that
// would start with a control character made plain.
std::string roff(std::string_view text)
{
    std::string out;
    for (const char c : text) {
        if (c == '\\') {
            out += "\\e";
        } else if (c == '-') {
            out += "\\-";
        } else {
            out += c;
        }
    }
    return !out.empty() && (out[0] == '.' || out[0] == '\'') ? "\\&" + out : out;
}

std::string roffEntries(const std::vector<Entry>& entries)
{
    std::string out;
    for (const Entry& entry : entries) {
        out += ".TP\n.B " + roff(entry.term) + "\n" + roff(entry.text) + "\n";
    }
    return out;
}

std::string upper(std::string_view text)
{
    std::string out;
    for (const char c : text) {
        out += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return out;
}

} // namespace

std::string_view projectVersion()
{
    return EARSHOT_VERSION;
}

std::string_view optionName(std::string_view term)
{
    return term.substr(0, term.find_first_of(" [="));
}

bool takesOption(const ProgramUsage& usage, std::string_view name)
{
    for (const std::vector<Entry>* list : {&usage.options, &runOptions}) {
        for (const Entry& option : *list) {
            if (optionName(option.term) == name) {
                return true;
            }
        }
    }
    return false;
}

std::string numberText(double value)
{
    char text[32];
    const std::to_chars_result end = std::to_chars(std::begin(text), std::end(text), value);
    return std::string(text, end.ptr);
}

std::string singleText(float value)
{
    char text[32];
    const std::to_chars_result end = std::to_chars(std::begin(text), std::end(text), value);
    return std::string(text, end.ptr);
}

std::string captureSentence()
{
    return "It captures mono " + numberText(captureBits) + "-bit audio at " + numberText(captureRate / 1000.0) +
           " kHz and redraws its " + numberText(monitorWidth) + " x " + numberText(monitorHeight) +
           " window about ten times a second.";
}

std::string helpText(const ProgramUsage& usage)
{
    return usage.name + " - " + usage.summary + "\n\n" + usageLines(usage) + "\n" + wrapped(usage.description, 0) +
           "\nControls:\n" + helpEntries(controls(usage)) + wrapped(controlsNote, 2) + "\n" + dumpName + ":\n" +
           wrapped(dumpText(usage), 2) + "\nOptions:\n" + helpEntries(options(usage)) + "\nExit status:\n" +
           helpEntries(exitStatuses);
}

std::string versionText(const ProgramUsage& usage)
{
    return usage.name + " (earshot) " + std::string(projectVersion()) + "\n";
}

std::string manualPage(const ProgramUsage& usage, std::string_view date)
{
    const std::string& name = usage.name;
    return ".TH " + upper(name) + " 1 \"" + std::string(date) + "\" \"earshot " + std::string(projectVersion()) +
           "\" \"User Commands\"\n" + ".SH NAME\n" + name + " \\- " + roff(usage.summary) + "\n" + ".SH SYNOPSIS\n" +
           ".B " + name + "\n" + roff(synopsis(usage)) + "\n" + ".SH DESCRIPTION\n" + roff(usage.description) + "\n" +
           ".SH CONTROLS\n" + roffEntries(controls(usage)) + ".PP\n" + roff(controlsNote) + "\n" + ".SH OPTIONS\n" +
           roffEntries(options(usage)) + ".SH FILES\n.TP\n.I " + dumpName + "\n" + roff(dumpText(usage)) + "\n" +
           ".SH EXIT STATUS\n" + roffEntries(exitStatuses) + ".SH SEE ALSO\n.BR " + usage.seeAlso + " (1)\n";
}
