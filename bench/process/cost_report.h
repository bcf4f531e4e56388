// The tables that monitor_cost prints: per round, each program's figures and
// their ratios to the bare recorder measured in the same round, the CPU of
// each of its threads, and a summary of how far the rounds agree. Pure
// formatting onto a stream; any thread.
#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "bench/process/cost_run.h"

struct ProgramResult {
    std::string name;
    CostMeasurement cost;
    std::optional<DelayMeasurement> delays; // monitors only
};

// One round: the bare recorder first, then the monitors.
using RoundResult = std::vector<ProgramResult>;

double median(std::vector<double> values);

void printRound(std::ostream& out, int roundNumber, const RoundResult& round);
void printThreads(std::ostream& out, const RoundResult& round);
void printSummary(std::ostream& out, const std::vector<RoundResult>& rounds);

// A target a figure is to meet in every round: the program's steady CPU at
// most limit times that of the program named against, or, with against
// empty, its refresh thread's steady CPU at most limit % of one core.
struct CostTarget {
    std::string program;
    std::string against;
    double limit = 0.0;
};

// Each target with its figure in each round, and whether it was met.
void printTargets(std::ostream& out, const std::vector<RoundResult>& rounds, const std::vector<CostTarget>& targets);
