#include "bench/process/process_usage.h"

#include <algorithm>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

// The fields after the command name, which ends at the last ')': the first
// of them is field 3 (the state).
std::optional<std::vector<std::string>> fieldsAfterName(const std::string& statLine)
{
    const size_t close = statLine.rfind(')');
    if (close == std::string::npos) {
        return std::nullopt;
    }
    std::istringstream rest(statLine.substr(close + 1));
    std::vector<std::string> fields;
    for (std::string field; rest >> field;) {
        fields.push_back(field);
    }
    return fields;
}

std::optional<int64_t> statField(const std::string& statLine, size_t fieldNumber)
{
    const auto fields = fieldsAfterName(statLine);
    if (!fields || fields->size() <= fieldNumber - 3) {
        return std::nullopt;
    }
    try {
        return std::stoll((*fields)[fieldNumber - 3]);
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

std::string readFile(const std::string& path)
{
    std::ifstream file(path);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

} // namespace

std::optional<int64_t> startTicksFromStat(const std::string& statLine)
{
    return statField(statLine, 22);
}

std::optional<int64_t> statusNumber(const std::string& statusText, const std::string& field)
{
    std::istringstream lines(statusText);
    const std::string key = field + ":";
    for (std::string line; std::getline(lines, line);) {
        if (line.compare(0, key.size(), key) == 0) {
            try {
                return std::stoll(line.substr(key.size()));
            } catch (const std::exception&) {
                return std::nullopt;
            }
        }
    }
    return std::nullopt;
}

std::optional<ProcessUsage> readProcessUsage(pid_t pid)
{
    const std::string dir = "/proc/" + std::to_string(pid);
    // The process's CPU clock counts what stat counts, at 1 ns instead of
    // 10 ms: a 1 % load over 20 s is 20 ticks, too coarse to compare.
    clockid_t clock = 0;
    timespec cpuTime{};
    const bool cpuRead = clock_getcpuclockid(pid, &clock) == 0 && clock_gettime(clock, &cpuTime) == 0;
    const std::string status = readFile(dir + "/status");
    const auto peak = statusNumber(status, "VmHWM");
    const auto threads = statusNumber(status, "Threads");
    if (!cpuRead || !peak || !threads) {
        return std::nullopt;
    }
    return ProcessUsage{static_cast<double>(cpuTime.tv_sec) + static_cast<double>(cpuTime.tv_nsec) / 1e9, *peak,
                        *threads};
}

std::vector<ThreadUsage> readThreadUsage(pid_t pid)
{
    std::vector<ThreadUsage> threads;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("/proc/" + std::to_string(pid) + "/task", error)) {
        const std::string dir = entry.path().string();
        std::string name = readFile(dir + "/comm");
        if (!name.empty() && name.back() == '\n') {
            name.pop_back();
        }
        // The first number of schedstat is the time on a CPU in nanoseconds.
        std::istringstream schedstat(readFile(dir + "/schedstat"));
        int64_t runNs = 0;
        const auto start = startTicksFromStat(readFile(dir + "/stat"));
        if (!(schedstat >> runNs) || !start) {
            continue; // ended while being read
        }
        const auto tid = static_cast<pid_t>(std::stol(entry.path().filename().string()));
        threads.push_back({tid, name, static_cast<double>(runNs) / 1e9, *start, tid == pid});
    }
    std::sort(threads.begin(), threads.end(), [](const ThreadUsage& a, const ThreadUsage& b) {
        return a.startTicks != b.startTicks ? a.startTicks < b.startTicks : a.tid < b.tid;
    });
    return threads;
}
