#include "monitor/program_usage.h"

#include <cctype>
#include <vector>

#include "capture/capture_format.h"
#include "monitor/dump_destination.h"
#include "monitor/exit_status.h"
#include "monitor/instrument_keys.h"
#include "monitor/monitor_window.h"
#include "monitor/number_text.h"

namespace {

// One entry of a list in the help: an option, a control, an exit status.
struct Entry {
    std::string term;
    std::string text;
};

constexpr int textWidth = 79;
constexpr int termIndent = 2;
constexpr int entryIndent = 6;

const std::string dumpName = monitorDumpPath;

// The names of the rows as a list in words: "--grid, --readout or --trigger".
std::string nameList(const std::vector<OptionRow>& rows)
{
    std::string list;
    for (size_t i = 0; i < rows.size(); ++i) {
        list += (i == 0 ? "" : i + 1 == rows.size() ? " or " : ", ") + rows[i].name;
    }
    return list;
}

// The rows of the program's options that make it an instrument, or that
// bring the key.
std::vector<OptionRow> instrumentRows(const ProgramUsage& usage, char key = 0)
{
    std::vector<OptionRow> rows;
    for (const OptionRow& row : optionTable(usage)) {
        if (row.instrument && (key == 0 || row.keys.find(key) != std::string::npos)) {
            rows.push_back(row);
        }
    }
    return rows;
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
    if (const std::vector<OptionRow> rows = instrumentRows(usage); !rows.empty()) {
        entries.push_back({"Space, with " + nameList(rows),
                           "freezes the picture: frames go on (the buttons and the readout still act on it) while "
                           "the audio flows on, and Space again shows the live input; while frozen, " +
                               dumpName + " gets the frozen numbers and the top line says frozen"});
    }
    std::vector<KeyUsage> keys = usage.keys;
    keys.insert(keys.end(), bothKeys().begin(), bothKeys().end());
    for (const KeyUsage& key : keys) {
        entries.push_back({std::string(1, key.key) + ", with " + nameList(instrumentRows(usage, key.key)), key.text});
    }
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

// The usage line's items: every option that a run takes, then the answers.
std::vector<std::string> synopsisItems(const ProgramUsage& usage)
{
    std::vector<std::string> items;
    for (const OptionRow& row : optionTable(usage)) {
        std::string item;
        if (row.request == Request::run) {
            item.append("[").append(optionTerm(row)).append("]");
        } else {
            item.append("| ").append(row.name);
        }
        items.push_back(item);
    }
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

// The option table as the help lists it.
std::vector<Entry> options(const ProgramUsage& usage)
{
    std::vector<Entry> entries;
    for (const OptionRow& row : optionTable(usage)) {
        entries.push_back({optionTerm(row), row.help});
    }
    return entries;
}

std::vector<Entry> exitStatuses()
{
    std::vector<Entry> entries;
    for (const int status : {exitDelivered, exitLost, exitWrongCommandLine}) {
        entries.push_back({std::to_string(status), exitStatusMeaning(status)});
    }
    return entries;
}

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
        out += wrapped(entry.term, termIndent) + wrapped(entry.text, entryIndent);
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

const std::vector<KeyUsage>& bothKeys()
{
    static const std::vector<KeyUsage> keys = {
        {referenceKey, "stores the numbers the frame drew as the reference trace, replacing any earlier one"},
    };
    return keys;
}

std::vector<OptionRow> optionTable(const ProgramUsage& usage)
{
    std::vector<OptionRow> table = usage.options;
    table.insert(table.end(), bothOptions().begin(), bothOptions().end());
    table.insert(table.end(), answerOptions().begin(), answerOptions().end());
    return table;
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
           helpEntries(exitStatuses());
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
           ".SH EXIT STATUS\n" + roffEntries(exitStatuses()) + ".SH SEE ALSO\n.BR " + usage.seeAlso + " (1)\n";
}
