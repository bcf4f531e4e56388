// Cost of the per-frame spectrum analysis against the cheapest pass over the
// same data. Every analysis works in place, so each iteration first restores
// its input (re = samples, im = 0), exactly as the frame loop does; the memory
// floor is that restoring pass alone, which reads the samples and writes the
// 2 x 2048 floats once. It runs first, and every benchmark reports its CPU
// time as a multiple of the floor's in the counter xFloor.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <ctime>

#include "specmon/spectrum_fft.h"
#include "specmon/spectrum_levels.h"
#include "specmon/spectrum_window.h"
#include "tests/specmon/spectrum_test_support.h"

namespace {

float samples[fftSize];
float re[fftSize];
float im[fftSize];
float spectrumDb[spectrumBins];
// CPU seconds of one pass of the memory floor in this run; 0 until it has run.
double floorSeconds = 0.0;

void restoreControls()
{
    for (int64_t i = 0; i < fftSize; ++i) {
        re[i] = samples[i];
        im[i] = 0.0f;
    }
    benchmark::ClobberMemory();
}

void prepare()
{
    fillNoise(samples, 12345u);
    fft(re, im, -1, 1);
}

double secondsPerPass(std::clock_t start, const benchmark::State& state)
{
    return static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC / static_cast<double>(state.iterations());
}

// Called right after the timed loop that began at start.
void reportFloorRatio(benchmark::State& state, std::clock_t start)
{
    const double seconds = secondsPerPass(start, state);
    if (floorSeconds > 0.0) {
        state.counters["xFloor"] = seconds / floorSeconds;
    }
}

void memoryFloor(benchmark::State& state)
{
    prepare();
    const std::clock_t start = std::clock();
    for (auto _ : state) {
        restoreControls();
        benchmark::DoNotOptimize(re);
        benchmark::DoNotOptimize(im);
    }
    floorSeconds = secondsPerPass(start, state);
    reportFloorRatio(state, start);
}

void frameAnalysis(benchmark::State& state)
{
    prepare();
    const std::clock_t start = std::clock();
    for (auto _ : state) {
        restoreControls();
        analyseFrame(re, im, spectrumDb);
        benchmark::DoNotOptimize(spectrumDb);
    }
    reportFloorRatio(state, start);
}

void transformOnly(benchmark::State& state)
{
    prepare();
    const std::clock_t start = std::clock();
    for (auto _ : state) {
        restoreControls();
        fft(re, im, -1, 0);
        benchmark::DoNotOptimize(re);
        benchmark::DoNotOptimize(im);
    }
    reportFloorRatio(state, start);
}

void windowOnly(benchmark::State& state)
{
    prepare();
    const std::clock_t start = std::clock();
    for (auto _ : state) {
        restoreControls();
        applyHamming(re, fftSize);
        benchmark::DoNotOptimize(re);
    }
    reportFloorRatio(state, start);
}

// Reads the transform without changing it, so it needs no restoring pass.
void decibelsOnly(benchmark::State& state)
{
    prepare();
    restoreControls();
    analyseFrame(re, im, spectrumDb);
    const std::clock_t start = std::clock();
    for (auto _ : state) {
        powerToDecibels(re, im, spectrumDb);
        benchmark::DoNotOptimize(spectrumDb);
    }
    reportFloorRatio(state, start);
}

} // namespace

BENCHMARK(memoryFloor);
BENCHMARK(frameAnalysis);
BENCHMARK(transformOnly);
BENCHMARK(windowOnly);
BENCHMARK(decibelsOnly);
