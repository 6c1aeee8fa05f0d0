#include <benchmark/benchmark.h>

#include <string>

#include "amitree/AmiParameters.h"

namespace {

// Many small leaves under one branch: the most nodes per byte a parameter string can have.
std::string ManyLeaves(std::size_t size) {
    std::string text = "(Quarnel (Taps";
    while (text.size() < size) text += " (k 0.5)";
    return text + ") (Gain 0))";
}

// One chain of branches as deep as the text allows.
std::string DeepChain(std::size_t size) {
    const std::size_t depth = size / 4;
    std::string text;
    text.reserve(size + 8);
    for (std::size_t i = 0; i < depth; ++i) text += "(a ";
    return text + "(x 1)" + std::string(depth, ')');
}

// Parse plus one lookup, as the model does per call; the time per byte stays flat when the
// parse is linear in the length of the string.
void ParseAndRead(benchmark::State& state, std::string (*makeText)(std::size_t)) {
    const std::string text = makeText(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        AmiParameters parameters(text.c_str());
        double gain = 0.0;
        benchmark::DoNotOptimize(parameters.GetDouble(gain, "Quarnel.Gain"));
        benchmark::DoNotOptimize(gain);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}

void BM_ParseManyLeaves(benchmark::State& state) { ParseAndRead(state, ManyLeaves); }
void BM_ParseDeepChain(benchmark::State& state) { ParseAndRead(state, DeepChain); }

}  // namespace

BENCHMARK(BM_ParseManyLeaves)->Arg(1 << 20)->Arg(4 << 20)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ParseDeepChain)->Arg(1 << 20)->Arg(4 << 20)->Unit(benchmark::kMillisecond);
