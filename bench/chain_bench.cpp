#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <ctime>
#include <vector>

#include "bench/ReferenceChain.h"
#include "model/Quarnel.h"

namespace {

using namespace referencechain;

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
