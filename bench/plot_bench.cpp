// The plot screen's two per-frame costs, each against a plain byte operation
// on the same frame buffer timed alternately in the same loop (so the ratios
// compare them under the same machine load):
// - one frame of the waveform monitor's drawing (a full clear, 1024
//   one-pixel lines, two text lines) against a memset of the frame buffer;
// - one refresh pass's conversion of a fully dirty frame through the palette
//   into 32-bit window pixels against a memcpy of the 8-bit frame buffer and
//   a memcpy of the 32-bit result;
// - a fully dirty pass after the waveform moved (or, with argument 0, after
//   it was redrawn as it was), which compares every row with the rows last
//   shown and converts only those that differ, against the conversion of the
//   whole frame and a memcpy of the 8-bit frame buffer.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <cstring>
#include <vector>

#include "plot/logic/font8x8.h"
#include "plot/logic/frame_convert.h"
#include "plot/logic/palette.h"
#include "plot/logic/raster.h"

namespace {

constexpr int32_t width = 1025;
constexpr int32_t height = 401;
constexpr size_t framePixels = static_cast<size_t>(width) * height;
constexpr int batch = 16;

std::vector<uint8_t> frame(framePixels);
std::vector<uint8_t> frameCopy(framePixels);
std::vector<uint8_t> windowPixels(framePixels * 4);
std::vector<uint8_t> windowCopy(framePixels * 4);

double secondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

template <typename Work>
double timeBatch(Work work)
{
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < batch; ++i) {
        work();
        benchmark::ClobberMemory();
    }
    return secondsSince(start);
}

// Screen rows of a waveform trace: a sine of a few periods around the middle.
std::vector<float> traceRows(double phase = 0.0)
{
    std::vector<float> rows(1024);
    for (size_t x = 0; x < rows.size(); ++x) {
        rows[x] =
            std::nearbyint(200.0f - 150.0f * static_cast<float>(std::sin(static_cast<double>(x) * 0.0491 + phase)));
    }
    return rows;
}

// One frame of the waveform monitor: a full clear, the trace as 1024
// one-pixel lines and the two help lines.
RowSpan drawWaveformFrame(RasterView view, const std::vector<float>& rows)
{
    RowSpan dirty = rasterFilledBox(view, 0.0f, 400.0f, 1025.0f, -1.0f, 0);
    for (size_t x = 0; x < rows.size(); ++x) {
        const auto column = static_cast<float>(x);
        dirty = joinSpans(dirty, rasterLine(view, column, rows[x], column, rows[x], 10, 0xFFFF));
    }
    dirty = joinSpans(dirty, rasterText(view, 4.0f, 381.0f, "Left mouse button: scale down", 14, fontGlyphs));
    return joinSpans(dirty, rasterText(view, 4.0f, 391.0f, "Right mouse button: scale up", 14, fontGlyphs));
}

void defaultXrgb(uint32_t (&xrgb)[paletteSize])
{
    PaletteEntry palette[paletteSize];
    setDefaultPalette(palette);
    paletteToXrgb(palette, xrgb);
}

void waveformFrameAgainstMemset(benchmark::State& state)
{
    const RasterView view{frame.data(), width, height};
    const std::vector<float> rows = traceRows();
    double frameSeconds = 0.0;
    double memsetSeconds = 0.0;
    for (auto _ : state) {
        frameSeconds += timeBatch([&] { benchmark::DoNotOptimize(drawWaveformFrame(view, rows)); });
        memsetSeconds += timeBatch([&] {
            benchmark::DoNotOptimize(frame.data());
            std::memset(frame.data(), 0, framePixels);
        });
    }
    const double frames = static_cast<double>(state.iterations()) * batch;
    state.counters["frame_us"] = frameSeconds / frames * 1e6;
    state.counters["memset_us"] = memsetSeconds / frames * 1e6;
    state.counters["ratio_to_memset"] = frameSeconds / memsetSeconds;
}

void refreshConversionAgainstMemcpy(benchmark::State& state)
{
    uint32_t xrgb[paletteSize];
    defaultXrgb(xrgb);
    for (size_t i = 0; i < framePixels; ++i) {
        frame[i] = static_cast<uint8_t>(i * 7 + i / width);
    }
    double convertSeconds = 0.0;
    double copy8Seconds = 0.0;
    double copy32Seconds = 0.0;
    for (auto _ : state) {
        convertSeconds += timeBatch([&] {
            benchmark::DoNotOptimize(frame.data());
            convertRows(frame.data(), width, height, xrgb, windowPixels.data(), width * 4);
        });
        copy8Seconds += timeBatch([&] {
            benchmark::DoNotOptimize(frame.data());
            std::memcpy(frameCopy.data(), frame.data(), framePixels);
        });
        copy32Seconds += timeBatch([&] {
            benchmark::DoNotOptimize(windowPixels.data());
            std::memcpy(windowCopy.data(), windowPixels.data(), framePixels * 4);
        });
    }
    const double passes = static_cast<double>(state.iterations()) * batch;
    state.counters["convert_us"] = convertSeconds / passes * 1e6;
    state.counters["memcpy_8bit_us"] = copy8Seconds / passes * 1e6;
    state.counters["memcpy_32bit_us"] = copy32Seconds / passes * 1e6;
    state.counters["ratio_to_memcpy_8bit"] = convertSeconds / copy8Seconds;
    state.counters["ratio_to_memcpy_32bit"] = convertSeconds / copy32Seconds;
}

void changedRowsAgainstWholeConversion(benchmark::State& state)
{
    uint32_t xrgb[paletteSize];
    defaultXrgb(xrgb);
    // Two frames a moved trace apart (or the same one twice), shown in turn.
    std::vector<uint8_t> frames[2] = {std::vector<uint8_t>(framePixels), std::vector<uint8_t>(framePixels)};
    drawWaveformFrame({frames[0].data(), width, height}, traceRows());
    drawWaveformFrame({frames[1].data(), width, height}, traceRows(state.range(0) != 0 ? 0.7 : 0.0));
    std::vector<uint8_t> shown = frames[0];
    size_t next = 1;
    int64_t changedRows = 0;
    double changedSeconds = 0.0;
    double wholeSeconds = 0.0;
    double copySeconds = 0.0;
    for (auto _ : state) {
        changedSeconds += timeBatch([&] {
            const std::vector<uint8_t>& shownNext = frames[next];
            next = 1 - next;
            const RowRuns changed = takeChangedRows(shownNext.data(), shown.data(), width, {0, height - 1}, false);
            for (int32_t i = 0; i < changed.count; ++i) {
                const RowSpan run = changed.runs[i];
                changedRows += run.last - run.first + 1;
                convertRows(shownNext.data() + static_cast<ptrdiff_t>(run.first) * width, width,
                            run.last - run.first + 1, xrgb, windowPixels.data() + run.first * width * 4, width * 4);
            }
        });
        wholeSeconds += timeBatch([&] {
            benchmark::DoNotOptimize(frames[0].data());
            convertRows(frames[0].data(), width, height, xrgb, windowPixels.data(), width * 4);
        });
        copySeconds += timeBatch([&] {
            benchmark::DoNotOptimize(frames[0].data());
            std::memcpy(frameCopy.data(), frames[0].data(), framePixels);
        });
    }
    const double passes = static_cast<double>(state.iterations()) * batch;
    state.counters["changed_rows"] = static_cast<double>(changedRows) / passes;
    state.counters["changed_us"] = changedSeconds / passes * 1e6;
    state.counters["whole_us"] = wholeSeconds / passes * 1e6;
    state.counters["ratio_to_whole"] = changedSeconds / wholeSeconds;
    state.counters["ratio_to_memcpy_8bit"] = changedSeconds / copySeconds;
}

} // namespace

BENCHMARK(waveformFrameAgainstMemset)->Unit(benchmark::kMicrosecond);
BENCHMARK(refreshConversionAgainstMemcpy)->Unit(benchmark::kMicrosecond);
BENCHMARK(changedRowsAgainstWholeConversion)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
