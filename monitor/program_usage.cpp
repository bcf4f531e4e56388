#include "monitor/program_usage.h"

#include <cctype>
#include <vector>

const ProgramUsage wavemonUsage = {
    "wavemon",
    "live oscilloscope trace of the default audio input",
    "wavemon shows the default audio input as an oscilloscope trace: the older 1024 of the 2048 newest samples, "
    "one point per column, zero in the middle of the window. It captures mono 16-bit audio at 48 kHz and redraws "
    "its 1025 x 401 window about ten times a second.",
    "shrinks the trace (x 0.7 per frame, down to 0.1)",
    "enlarges the trace (x 1.4 per frame, up to 10)",
    "the 2048 samples it last captured, oldest first, each sample / 32768",
};

const ProgramUsage specmonUsage = {
    "specmon",
    "live power spectrum of the default audio input",
    "specmon shows the power spectrum of the default audio input: a Hamming window and a 2048-point FFT of the "
    "2048 newest samples, the 1024 lower bins as a line at 5 pixels per decibel; column x shows (x - 1) x 23.4375 "
    "Hz. It captures mono 16-bit audio at 48 kHz and redraws its 1025 x 401 window about ten times a second.",
    "moves the trace down 10 pixels per frame (to -100)",
    "moves the trace up 10 pixels per frame (to 200)",
    "the 1024 levels in dB of its last frame",
};

namespace {

struct Entry {
    std::string_view term;
    std::string text;
};

constexpr int textWidth = 79;
constexpr int entryIndent = 6;

std::vector<Entry> controls(const ProgramUsage& usage)
{
    return {
        {"left mouse button, held", std::string(usage.leftButton)},
        {"right mouse button, held", std::string(usage.rightButton)},
        {"Escape or Ctrl-C in the window", "writes out.txt and exits"},
        {"Ctrl-C in the terminal, kill, closing the terminal",
         "the same as Escape; once the program is ending, the next one ends it at once, without out.txt"},
    };
}

const std::string_view controlsNote = "The buttons work while the window is active and the pointer is over it. "
                                      "Every other key, and the window's close button, is ignored.";

std::string dumpText(const ProgramUsage& usage)
{
    return "Written to the current directory on exit, replacing any earlier out.txt as a whole: " +
           std::string(usage.dump) +
           ". One line per value: the index, then the value with 7 significant digits, then CR LF. If it cannot be "
           "written, the earlier file stays as it was and the program says why.";
}

const std::vector<Entry> options = {
    {"--input NAME|INDEX",
     "record from this input instead of the default one: its index, its exact name, or a part of its name that "
     "only it has (any case); see --list-inputs. On a Linux desktop the sound server usually shows one input; pick "
     "a source in the desktop's sound settings, or for one run with PULSE_SOURCE=<source name>"},
    {"--list-inputs", "list the audio inputs: index, host API and name, the default one marked with *"},
    {"-h, --help", "show this help and exit"},
    {"--version", "show the program's name and version and exit"},
};

const std::string_view synopsis = "[--input NAME|INDEX] | --list-inputs | --help | --version";

const std::vector<Entry> exitStatuses = {
    {"0", "out.txt was written and the program ended as asked"},
    {"1", "out.txt could not be written, or the display went away"},
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

std::string helpText(const ProgramUsage& usage)
{
    return std::string(usage.name) + " - " + std::string(usage.summary) + "\n\nUsage: " + std::string(usage.name) +
           " " + std::string(synopsis) + "\n\n" + wrapped(usage.description, 0) + "\nControls:\n" +
           helpEntries(controls(usage)) + wrapped(controlsNote, 2) + "\nout.txt:\n" + wrapped(dumpText(usage), 2) +
           "\nOptions:\n" + helpEntries(options) + "\nExit status:\n" + helpEntries(exitStatuses);
}

std::string versionText(const ProgramUsage& usage)
{
    return std::string(usage.name) + " (earshot) " + std::string(projectVersion()) + "\n";
}

std::string manualPage(const ProgramUsage& usage, std::string_view date)
{
    const std::string name(usage.name);
    const std::string other = usage.name == wavemonUsage.name ? "specmon" : "wavemon";
    return ".TH " + upper(name) + " 1 \"" + std::string(date) + "\" \"earshot " + std::string(projectVersion()) +
           "\" \"User Commands\"\n" + ".SH NAME\n" + name + " \\- " + roff(usage.summary) + "\n" + ".SH SYNOPSIS\n" +
           ".B " + name + "\n" + roff(synopsis) + "\n" + ".SH DESCRIPTION\n" + roff(usage.description) + "\n" +
           ".SH CONTROLS\n" + roffEntries(controls(usage)) + ".PP\n" + roff(controlsNote) + "\n" + ".SH OPTIONS\n" +
           roffEntries(options) + ".SH FILES\n.TP\n.I out.txt\n" + roff(dumpText(usage)) + "\n" + ".SH EXIT STATUS\n" +
           roffEntries(exitStatuses) + ".SH SEE ALSO\n.BR " + other + " (1)\n";
}
