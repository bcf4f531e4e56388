#include "bench/process/cost_report.h"

#include <algorithm>
#include <functional>
#include <iomanip>
#include <sstream>

namespace {

// A figure of one program in one round; nothing where it does not apply.
using Figure = std::function<std::optional<double>(const ProgramResult& program, const ProgramResult& bare)>;

struct Column {
    std::string heading;
    int decimals;
    Figure figure;
};

std::optional<double> ratio(double value, double baseline)
{
    return baseline > 0.0 ? std::optional<double>(value / baseline) : std::nullopt;
}

double peakMb(const ProgramResult& program)
{
    return static_cast<double>(program.cost.peakResidentKb) / 1024.0;
}

std::optional<double> delayFigure(const ProgramResult& program, bool maximum)
{
    if (!program.delays || program.delays->signalDelaysMs.empty()) {
        return std::nullopt;
    }
    const std::vector<double>& delays = program.delays->signalDelaysMs;
    return maximum ? *std::max_element(delays.begin(), delays.end()) : median(delays);
}

const std::vector<Column>& columns()
{
    static const std::vector<Column> all{
        {"cpu %", 2, [](const ProgramResult& p, const ProgramResult&) { return p.cost.cpuPercent; }},
        {"cpu x bare", 2,
         [](const ProgramResult& p, const ProgramResult& b) { return ratio(p.cost.cpuPercent, b.cost.cpuPercent); }},
        {"steady %", 2, [](const ProgramResult& p, const ProgramResult&) { return p.cost.steadyCpuPercent; }},
        {"steady x bare", 2,
         [](const ProgramResult& p, const ProgramResult& b) {
             return ratio(p.cost.steadyCpuPercent, b.cost.steadyCpuPercent);
         }},
        {"start cpu ms", 0, [](const ProgramResult& p, const ProgramResult&) { return p.cost.startupCpuMs; }},
        {"peak MB", 1, [](const ProgramResult& p, const ProgramResult&) { return peakMb(p); }},
        {"MB x bare", 2, [](const ProgramResult& p, const ProgramResult& b) { return ratio(peakMb(p), peakMb(b)); }},
        {"threads", 0,
         [](const ProgramResult& p, const ProgramResult&) { return static_cast<double>(p.cost.threads); }},
        {"window ms", 0, [](const ProgramResult& p, const ProgramResult&) { return p.cost.windowMs; }},
        {"1st frame ms", 0, [](const ProgramResult& p, const ProgramResult&) { return p.cost.firstFrameMs; }},
        {"delay med ms", 0, [](const ProgramResult& p, const ProgramResult&) { return delayFigure(p, false); }},
        {"delay max ms", 0, [](const ProgramResult& p, const ProgramResult&) { return delayFigure(p, true); }},
    };
    return all;
}

constexpr int nameWidth = 15;
constexpr int cellWidth = 14;

std::string formatted(std::optional<double> value, int decimals)
{
    if (!value) {
        return "-";
    }
    std::ostringstream text;
    text << std::fixed << std::setprecision(decimals) << *value;
    return text.str();
}

} // namespace

double median(std::vector<double> values)
{
    if (values.empty()) {
        return 0.0;
    }
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2.0;
}

void printRound(std::ostream& out, int roundNumber, const RoundResult& round)
{
    out << "\nround " << roundNumber << " (x bare: ratio to bare_recorder in this round; steady: after the first "
        << startupSeconds << " s)\n";
    out << std::left << std::setw(nameWidth) << "program" << std::right;
    for (const Column& column : columns()) {
        out << std::setw(cellWidth) << column.heading;
    }
    out << "\n";
    for (const ProgramResult& program : round) {
        out << std::left << std::setw(nameWidth) << program.name << std::right;
        for (const Column& column : columns()) {
            out << std::setw(cellWidth) << formatted(column.figure(program, round.front()), column.decimals);
        }
        out << "\n";
    }
    for (const ProgramResult& program : round) {
        if (program.delays) {
            out << program.name << " delays ms:";
            for (const double delay : program.delays->signalDelaysMs) {
                out << " " << formatted(delay, 0);
            }
            out << "  (screen polled every " << formatted(program.delays->capturePeriodMs, 1) << " ms)\n";
        }
    }
    for (const ProgramResult& program : round) {
        if (program.cost.firstFrameMs) {
            out << program.name << " first frame: screen polled every " << formatted(program.cost.capturePeriodMs, 1)
                << " ms\n";
        }
    }
}

void printThreads(std::ostream& out, const RoundResult& round)
{
    out << "threads alive at the end, in order of creation: CPU as % of one core over the run\n";
    for (const ProgramResult& program : round) {
        const double wall = program.cost.wallSeconds;
        double liveSeconds = 0.0;
        out << "  " << program.name << ":";
        for (size_t i = 0; i < program.cost.threadUsage.size(); ++i) {
            const ThreadUsage& thread = program.cost.threadUsage[i];
            liveSeconds += thread.cpuSeconds;
            out << "  [" << (thread.isMain ? "main" : std::to_string(i)) << "] " << thread.name << " "
                << formatted(100.0 * thread.cpuSeconds / wall, 2);
        }
        const double ended = program.cost.cpuPercent - 100.0 * liveSeconds / wall;
        out << "  | ended threads and rounding " << formatted(ended, 2) << "\n";
    }
}

namespace {

const ProgramResult* find(const RoundResult& round, const std::string& name)
{
    const auto found = std::find_if(round.begin(), round.end(), [&](const ProgramResult& p) { return p.name == name; });
    return found == round.end() ? nullptr : &*found;
}

std::optional<double> targetFigure(const RoundResult& round, const CostTarget& target)
{
    const ProgramResult* program = find(round, target.program);
    if (program == nullptr) {
        return std::nullopt;
    }
    if (target.against.empty()) {
        return program->cost.refreshSteadyPercent;
    }
    const ProgramResult* baseline = find(round, target.against);
    return baseline == nullptr ? std::nullopt : ratio(program->cost.steadyCpuPercent, baseline->cost.steadyCpuPercent);
}

} // namespace

void printTargets(std::ostream& out, const std::vector<RoundResult>& rounds, const std::vector<CostTarget>& targets)
{
    out << "\ntargets: each round's figure\n";
    for (const CostTarget& target : targets) {
        std::string figures;
        bool met = true;
        for (const RoundResult& round : rounds) {
            const std::optional<double> figure = targetFigure(round, target);
            met = met && figure && *figure <= target.limit;
            figures += (figures.empty() ? "" : " / ") + formatted(figure, 2);
        }
        const std::string what = target.against.empty() ? target.program + ": refresh thread, steady % of a core"
                                                        : target.program + ": steady CPU x " + target.against;
        out << "  " << std::left << std::setw(58) << what << std::right << std::setw(14) << figures << "  at most "
            << formatted(target.limit, 1) << (met ? "  met" : "  MISSED") << "\n";
    }
}

void printSummary(std::ostream& out, const std::vector<RoundResult>& rounds)
{
    if (rounds.empty()) {
        return;
    }
    out << "\nsummary: each round's value, then the spread (max - min) / median\n";
    out << std::left << std::setw(nameWidth) << "figure";
    const size_t programs = rounds.front().size();
    constexpr int summaryWidth = 30;
    for (size_t p = 0; p < programs; ++p) {
        out << std::setw(summaryWidth) << rounds.front()[p].name;
    }
    out << "\n";
    for (const Column& column : columns()) {
        out << std::setw(nameWidth) << column.heading;
        for (size_t p = 0; p < programs; ++p) {
            std::vector<double> values;
            std::string cell;
            for (const RoundResult& round : rounds) {
                const auto value = column.figure(round[p], round.front());
                cell += (cell.empty() ? "" : " / ") + formatted(value, column.decimals);
                if (value) {
                    values.push_back(*value);
                }
            }
            const double middle = median(values);
            if (values.size() > 1 && middle != 0.0) {
                const auto [low, high] = std::minmax_element(values.begin(), values.end());
                cell += "  (" + formatted(100.0 * (*high - *low) / middle, 0) + "%)";
            }
            out << std::setw(summaryWidth) << cell;
        }
        out << "\n";
    }
    out << std::right;
}
