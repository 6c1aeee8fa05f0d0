// One AMI_Init call with the default parameters over 8 columns of 1,048,576 samples, next to
// the plainest loop that computes the same numbers: a 65-tap direct-form FIR, a gain and a
// three-tap symbol-spaced sum.
#include "model/AmiEntry.h"
#include "model/Quarnel.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

namespace {

constexpr std::int32_t rows = 1 << 20;
constexpr std::int32_t columns = 8;
constexpr std::size_t samplesPerBit = 32;

std::vector<double> channelMatrix() {
    std::vector<double> matrix(std::size_t(rows) * columns);
    std::uint32_t state = 12345;
    for (double& sample : matrix) {
        state = state * 1664525u + 1013904223u;
        sample = static_cast<double>(state >> 8) / 16777216.0 - 0.5;
    }
    return matrix;
}

// The coefficients the model's response filter uses at the default 5 ps.
std::vector<double> responseTaps() {
    Quarnel model;
    model.Setup();
    const Vexlor::TimeResponseFIR& filter = model.ResponseFilter;
    std::vector<double> taps(filter.Taps, filter.Taps + filter.NumTaps);
    model.Finalize();
    return taps;
}

// The chain over every column in place; the equaliser's history runs on from one column to
// the next as the model's does, and the filter's history starts from zero in each.
void referenceChain(std::vector<double>& matrix, const std::vector<double>& taps) {
    const double gain = std::pow(10.0, 1.0 / 20.0);
    const double ffe[3] = {0.0, 1.0, 0.0};
    const std::size_t tapCount = taps.size();
    const std::size_t history = 2 * samplesPerBit;
    std::vector<double> input(tapCount - 1 + rows, 0.0);
    std::vector<double> scaled(history + rows, 0.0);
    for (std::int32_t c = 0; c < columns; ++c) {
        double* column = matrix.data() + std::size_t(c) * rows;
        std::memcpy(input.data() + tapCount - 1, column, sizeof(double) * rows);
        std::memmove(scaled.data(), scaled.data() + rows, sizeof(double) * history);
        for (std::size_t n = 0; n < std::size_t(rows); ++n) {
            const double* newest = input.data() + tapCount - 1 + n;
            double sum = 0.0;
            for (std::size_t k = 0; k < tapCount; ++k) sum += taps[k] * newest[-std::ptrdiff_t(k)];
            scaled[history + n] = gain * sum;
        }
        for (std::size_t n = 0; n < std::size_t(rows); ++n) {
            const double* newest = scaled.data() + history + n;
            double sum = 0.0;
            for (std::size_t k = 0; k < 3; ++k) sum += ffe[k] * newest[-std::ptrdiff_t(k * samplesPerBit)];
            column[n] = sum;
        }
    }
}

void BM_AmiInitDefaults(benchmark::State& state) {
    const std::vector<double> channel = channelMatrix();
    std::vector<double> matrix;
    char parameters[] = "";
    for (auto _ : state) {
        state.PauseTiming();
        matrix = channel;
        state.ResumeTiming();
        char* parametersOut = nullptr;
        void* handle = nullptr;
        char* msg = nullptr;
        AMI_Init(matrix.data(), rows, columns - 1, 5e-12, 160e-12, parameters, &parametersOut,
                 &handle, &msg);
        AMI_Close(handle);
        benchmark::DoNotOptimize(matrix.data());
        benchmark::ClobberMemory();
    }
    // The reference must give the same numbers, or the comparison means nothing.
    std::vector<double> reference = channel;
    referenceChain(reference, responseTaps());
    if (reference != matrix) state.SkipWithError("AMI_Init and the reference loop disagree");
    state.SetItemsProcessed(state.iterations() * std::int64_t(rows) * columns);
}
BENCHMARK(BM_AmiInitDefaults)->Unit(benchmark::kMillisecond);

void BM_ReferenceChain(benchmark::State& state) {
    const std::vector<double> channel = channelMatrix();
    const std::vector<double> taps = responseTaps();
    std::vector<double> matrix;
    for (auto _ : state) {
        state.PauseTiming();
        matrix = channel;
        state.ResumeTiming();
        referenceChain(matrix, taps);
        benchmark::DoNotOptimize(matrix.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * std::int64_t(rows) * columns);
}
BENCHMARK(BM_ReferenceChain)->Unit(benchmark::kMillisecond);

}  // namespace
