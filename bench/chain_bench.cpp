#include <benchmark/benchmark.h>

#include <cmath>
#include <ctime>
#include <cstdint>
#include <vector>

#include "model/Quarnel.h"

namespace {

constexpr std::size_t kSamples = 1 << 20;
constexpr std::size_t kResponseTaps = 65;
constexpr std::size_t kSamplesPerBit = 32;

// A random bit stream at 32 samples per bit, the kind of column a simulator hands over.
std::vector<double> BitStream() {
    std::vector<double> signal(kSamples);
    std::uint32_t state = 2024;
    double level = 1.0;
    for (std::size_t n = 0; n < kSamples; ++n) {
        if (n % kSamplesPerBit == 0) {
            state = state * 1664525u + 1013904223u;
            level = (state >> 31) != 0 ? 1.0 : -1.0;
        }
        signal[n] = level;
    }
    return signal;
}

// The model with its defaults and the default gain of 1 dB, as the AMI layer sets it up.
void ConfigureDefaults(Quarnel& model) {
    model.Gain = std::pow(10.0, 1.0 / 20.0);
}

void RunChain(Quarnel& model, const std::vector<double>& input, std::vector<double>& output) {
    double in = 0.0, out = 0.0;
    model.Input.Attach(&in, 1);
    model.Output.Attach(&out, 1);
    model.Setup();
    model.Initialize();
    for (std::size_t n = 0; n < input.size(); ++n) {
        in = input[n];
        model.Run();
        output[n] = out;
    }
    model.Finalize();
}

// The plainest loop that computes the same numbers: a direct-form FIR over the zero-padded
// input, the gain, then the three symbol-spaced taps, each sum in the model's order.
struct Reference {
    std::vector<double> responseTaps;
    double gain = 0.0;
    double ffeTaps[3] = {0.0, 1.0, 0.0};
    std::vector<double> padded;  // kResponseTaps - 1 zeros, then the input
    std::vector<double> scaled;  // 2 * kSamplesPerBit zeros, then the gain stage's output

    void Run(const std::vector<double>& input, std::vector<double>& output) {
        const std::size_t lead = kResponseTaps - 1;
        const std::size_t history = 2 * kSamplesPerBit;
        std::copy(input.begin(), input.end(), padded.begin() + lead);
        for (std::size_t n = 0; n < input.size(); ++n) {
            double sum = 0.0;
            for (std::size_t k = 0; k < kResponseTaps; ++k) sum += responseTaps[k] * padded[n + lead - k];
            scaled[n + history] = sum * gain;
        }
        for (std::size_t n = 0; n < input.size(); ++n) {
            const double* g = &scaled[n + history];
            double sum = 0.0;
            sum += ffeTaps[0] * g[0];
            sum += ffeTaps[1] * g[-static_cast<std::ptrdiff_t>(kSamplesPerBit)];
            sum += ffeTaps[2] * g[-static_cast<std::ptrdiff_t>(2 * kSamplesPerBit)];
            output[n] = sum;
        }
    }
};

Reference MakeReference() {
    Quarnel model;
    ConfigureDefaults(model);
    model.Setup();
    Reference reference;
    reference.responseTaps.assign(model.ResponseFilter.Taps, model.ResponseFilter.Taps + kResponseTaps);
    reference.gain = model.Gain;
    reference.padded.assign(kSamples + kResponseTaps - 1, 0.0);
    reference.scaled.assign(kSamples + 2 * kSamplesPerBit, 0.0);
    model.Finalize();
    return reference;
}

// CPU time of this thread: the ratio should not depend on what else the machine is doing.
double ThreadSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + 1e-9 * static_cast<double>(now.tv_nsec);
}

void BM_QuarnelChain(benchmark::State& state) {
    const std::vector<double> input = BitStream();
    std::vector<double> output(kSamples);
    Quarnel model;
    ConfigureDefaults(model);
    for (auto _ : state) {
        RunChain(model, input, output);
        benchmark::DoNotOptimize(output.data());
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * kSamples));
}
BENCHMARK(BM_QuarnelChain)->Unit(benchmark::kMillisecond);

void BM_ReferenceLoop(benchmark::State& state) {
    const std::vector<double> input = BitStream();
    std::vector<double> output(kSamples);
    Reference reference = MakeReference();
    for (auto _ : state) {
        reference.Run(input, output);
        benchmark::DoNotOptimize(output.data());
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * kSamples));
}
BENCHMARK(BM_ReferenceLoop)->Unit(benchmark::kMillisecond);

// Both in turn on the same data, in thread CPU time: their rates, and the chain's time per
// sample over the reference's. A fresh model each time, so its output must equal the
// reference's to the last bit.
void BM_ChainOverReference(benchmark::State& state) {
    const std::vector<double> input = BitStream();
    std::vector<double> chainOutput(kSamples), referenceOutput(kSamples);
    Reference reference = MakeReference();
    double chainSeconds = 0.0, referenceSeconds = 0.0;
    for (auto _ : state) {
        Quarnel model;
        ConfigureDefaults(model);
        const double start = ThreadSeconds();
        RunChain(model, input, chainOutput);
        const double middle = ThreadSeconds();
        reference.Run(input, referenceOutput);
        const double end = ThreadSeconds();
        chainSeconds += middle - start;
        referenceSeconds += end - middle;
        state.SetIterationTime(end - start);
        if (chainOutput != referenceOutput) {
            state.SkipWithError("the chain and the reference loop disagree");
            return;
        }
    }
    const double samples = static_cast<double>(state.iterations() * kSamples);
    state.counters["chain_samples_per_s"] = samples / chainSeconds;
    state.counters["reference_samples_per_s"] = samples / referenceSeconds;
    state.counters["chain_time_ratio"] = chainSeconds / referenceSeconds;
}
BENCHMARK(BM_ChainOverReference)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
