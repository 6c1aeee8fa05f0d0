#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "blocks/SDomainIIR.h"

namespace {

constexpr std::size_t kSamples = 1 << 20;

std::vector<double> TestSignal() {
    std::vector<double> signal(kSamples);
    std::uint32_t state = 12345;
    for (double& sample : signal) {
        state = state * 1664525u + 1013904223u;
        sample = static_cast<double>(state >> 8) / 16777216.0 - 0.5;
    }
    return signal;
}

// The default block (fifth-order Butterworth, three sections at 1 MHz), driven sample by
// sample as an owner does: its ports point into the signal arrays and advance each firing.
void BM_SDomainIIRDefault(benchmark::State& state) {
    const std::vector<double> input = TestSignal();
    std::vector<double> output(kSamples);
    Vexlor::SDomainIIR filter;
    filter.Input.Attach(const_cast<double*>(input.data()), kSamples);
    Vexlor::CircularBuffer<double>& out = *filter.Outputs.GetBuffer(0);
    out.Attach(output.data(), kSamples);
    for (auto _ : state) {
        filter.Initialize();
        for (std::size_t n = 0; n < kSamples; ++n) {
            filter.Input.Position = n;
            out.Position = n;
            filter.Run();
        }
        benchmark::DoNotOptimize(output.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * kSamples));
}
BENCHMARK(BM_SDomainIIRDefault)->Unit(benchmark::kMillisecond);

struct Section {
    double b0, b1, b2, a1, a2;
};

// The same three normalised sections as a plain direct form II loop with the state in locals.
void BM_PlainDirectFormTwo(benchmark::State& state) {
    const std::vector<double> input = TestSignal();
    std::vector<double> output(kSamples);
    Vexlor::SDomainIIR design;
    design.Initialize();
    Section sections[3];
    for (int i = 0; i < 3; ++i) {
        const double* taps = design.Taps + 6 * i;
        sections[i] = {taps[0], taps[1], taps[2], taps[4], taps[5]};
    }
    for (auto _ : state) {
        double s1[3] = {}, s2[3] = {};
        for (std::size_t n = 0; n < kSamples; ++n) {
            double x = input[n];
            for (int i = 0; i < 3; ++i) {
                const Section& c = sections[i];
                const double w = (x - s1[i] * c.a1) - s2[i] * c.a2;
                x = (s1[i] * c.b1 + w * c.b0) + s2[i] * c.b2;
                s2[i] = s1[i];
                s1[i] = w;
            }
            output[n] = x;
        }
        benchmark::DoNotOptimize(output.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * kSamples));
}
BENCHMARK(BM_PlainDirectFormTwo)->Unit(benchmark::kMillisecond);

}  // namespace
