// earshot_bash_completion <program> <file>: writes the program's bash
// completion, made from its option table: the options, the words of a value
// that has choices, file names for a FILE or PATH, and for the input the
// names and indexes that the program lists when asked at completion time.
#include <cstdio>
#include <fstream>
#include <string>
#include <string_view>

#include "packaging/program_usage_named.h"

namespace {

// Words joined by separator.
template <typename Range, typename Word>
std::string joined(const Range& range, std::string_view separator, Word word)
{
    std::string out;
    for (const auto& item : range) {
        const std::string text = word(item);
        if (!text.empty()) {
            out.append(out.empty() ? "" : separator).append(text);
        }
    }
    return out;
}

std::string completion(const ProgramUsage& usage)
{
    const std::vector<OptionRow> table = optionTable(usage);
    const std::string function = "_earshot_" + usage.name;
    const std::string names = joined(table, " ", [](const OptionRow& row) { return row.name; }) + " " +
                              joined(table, " ", [](const OptionRow& row) { return row.shortName; });
    const std::string takingNext = joined(table, " | ", [](const OptionRow& row) {
        return row.value == OptionValue::required ? row.name : std::string();
    });
    const std::string listInputs = joined(
        table, "", [](const OptionRow& row) { return row.request == Request::listInputs ? row.name : std::string(); });
    std::string values;
    for (const OptionRow& row : table) {
        if (!row.choices.empty()) {
            values += "    " + row.name + ") words=(" +
                      joined(row.choices, " ", [](const std::string& choice) { return choice; }) + ") ;;\n";
        } else if (row.valueName == "FILE" || row.valueName == "PATH") {
            values +=
                "    " + row.name +
                ")\n"
                "        compopt -o filenames 2>/dev/null\n"
                "        while IFS= read -r word; do COMPREPLY+=(\"$lead$word\"); done < <(compgen -f -- \"$value\")\n"
                "        return 0 ;;\n";
        } else if (row.valueName == "NAME|INDEX" && !listInputs.empty()) {
            // The lines of the list are "* N  HOSTAPI  NAME", the default marked.
            values += "    " + row.name +
                      ")\n"
                      "        local program=${COMP_WORDS[0]} line\n"
                      "        [[ $program == \"~/\"* ]] && program=$HOME/${program#\"~/\"}\n"
                      "        while IFS= read -r line; do\n"
                      "            line=${line:2}\n"
                      "            words+=(\"${line%%  *}\")\n"
                      "            line=${line#*  }\n"
                      "            words+=(\"${line#*  }\")\n"
                      "        done < <(\"$program\" " +
                      listInputs + " 2>/dev/null) ;;\n";
        }
    }
    return "# bash completion of " + usage.name + ", written by the build from its option table.\n" + function +
           "()\n"
           "{\n"
           "    local cur=${COMP_WORDS[COMP_CWORD]} prev= option= value= lead= word\n"
           "    local -a words=()\n"
           "    ((COMP_CWORD > 0)) && prev=${COMP_WORDS[COMP_CWORD - 1]}\n"
           "    COMPREPLY=()\n"
           "    # With '=' among the word breaks, as bash has it by default, --print=m\n"
           "    # comes as the words --print, = and m.\n"
           "    if [[ $cur == = ]]; then\n"
           "        option=$prev\n"
           "    elif [[ $prev == = ]] && ((COMP_CWORD > 1)); then\n"
           "        option=${COMP_WORDS[COMP_CWORD - 2]} value=$cur\n"
           "    elif [[ $cur == --*=* ]]; then\n"
           "        option=${cur%%=*} value=${cur#*=} lead=${cur%%=*}=\n"
           "    else\n"
           "        case $prev in\n"
           "        " +
           takingNext +
           ") option=$prev value=$cur ;;\n"
           "        esac\n"
           "    fi\n"
           "    if [[ -z $option ]]; then\n"
           "        [[ -z $cur || $cur == -* ]] && COMPREPLY=($(compgen -W '" +
           names +
           "' -- \"$cur\"))\n"
           "        return 0\n"
           "    fi\n"
           "    case $option in\n" +
           values +
           "    esac\n"
           "    value=${value//\\\\/}\n"
           "    for word in \"${words[@]}\"; do\n"
           "        [[ $word == \"$value\"* ]] && COMPREPLY+=(\"$lead$(printf '%q' \"$word\")\")\n"
           "    done\n"
           "    return 0\n"
           "}\n"
           "complete -F " +
           function + " " + usage.name + "\n";
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fputs("usage: earshot_bash_completion wavemon|specmon <file>\n", stderr);
        return 2;
    }
    const ProgramUsage* usage = programUsageNamed(argv[1]);
    if (usage == nullptr) {
        std::fputs("earshot_bash_completion: no such program\n", stderr);
        return 2;
    }
    std::ofstream(argv[2], std::ios::binary) << completion(*usage);
    return 0;
}
