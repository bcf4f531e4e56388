// The cost of one captureCallback call with the snapshot free, against a plain
// 8 KiB copy (the size of the snapshot). Batches of both are timed alternately
// in the same loop, so the reported ratio_to_copy compares them under the same
// machine load; the benchmark's own time is that of one batch of each.
#include "capture/capture_ring_internal.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>

namespace {

constexpr int64_t batch = 256;

float copySource[captureLength];
float copyDestination[captureLength];

double secondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void callbackAgainstPlainCopy(benchmark::State& state)
{
    int16_t sample = 0;
    double callbackSeconds = 0.0;
    double copySeconds = 0.0;
    for (auto _ : state) {
        auto start = std::chrono::steady_clock::now();
        for (int64_t i = 0; i < batch; ++i) {
            ++sample;
            benchmark::DoNotOptimize(sample);
            captureCallback(&sample, nullptr, 1, nullptr, 0, nullptr);
            benchmark::ClobberMemory();
        }
        const double callbacks = secondsSince(start);

        start = std::chrono::steady_clock::now();
        for (int64_t i = 0; i < batch; ++i) {
            benchmark::DoNotOptimize(copySource);
            std::memcpy(copyDestination, copySource, sizeof copyDestination);
            benchmark::DoNotOptimize(copyDestination);
            benchmark::ClobberMemory();
        }
        copySeconds += secondsSince(start);
        callbackSeconds += callbacks;
    }
    benchmark::DoNotOptimize(CaptureSnapshot);
    const double calls = static_cast<double>(state.iterations() * batch);
    state.counters["callback_ns"] = callbackSeconds / calls * 1e9;
    state.counters["copy_8KiB_ns"] = copySeconds / calls * 1e9;
    state.counters["ratio_to_copy"] = callbackSeconds / copySeconds;
}

} // namespace

BENCHMARK(callbackAgainstPlainCopy);
