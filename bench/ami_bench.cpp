// One AMI_Init call with the default parameters over 8 columns of 1,048,576 samples, next to
// the chain benchmark's reference loop run over the same columns.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "bench/ReferenceChain.h"
#include "model/AmiEntry.h"

namespace {

using namespace referencechain;

constexpr std::int32_t kColumns = 8;

std::vector<double> ChannelMatrix() {
    const std::vector<double> column = BitStream();
    std::vector<double> matrix;
    matrix.reserve(kSamples * kColumns);
    for (std::int32_t c = 0; c < kColumns; ++c)
        matrix.insert(matrix.end(), column.begin(), column.end());
    return matrix;
}

void CallAmiInit(std::vector<double>& matrix) {
    char parameters[] = "";
    char* parametersOut = nullptr;
    void* handle = nullptr;
    char* msg = nullptr;
    AMI_Init(matrix.data(), static_cast<std::int32_t>(kSamples), kColumns - 1, 5e-12, 160e-12,
             parameters, &parametersOut, &handle, &msg);
    AMI_Close(handle);
}

// The reference over every column in turn, the equaliser's history running on as in the model.
void RunReference(Reference& reference, const std::vector<double>& input,
                  std::vector<double>& output) {
    for (std::size_t c = 0; c < kColumns; ++c) {
        if (c > 0) reference.CarryEqualizerHistory();
        reference.Run(input.data() + c * kSamples, output.data() + c * kSamples, kSamples);
    }
}

void BM_AmiInitDefaults(benchmark::State& state) {
    const std::vector<double> channel = ChannelMatrix();
    std::vector<double> matrix;
    for (auto _ : state) {
        state.PauseTiming();
        matrix = channel;
        state.ResumeTiming();
        CallAmiInit(matrix);
        benchmark::DoNotOptimize(matrix.data());
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * kSamples * kColumns));
}
BENCHMARK(BM_AmiInitDefaults)->Unit(benchmark::kMillisecond);

// Both on the same matrix, in thread CPU time; AMI_Init's output must equal the
// reference's to the last bit.
void BM_AmiInitOverReference(benchmark::State& state) {
    const std::vector<double> channel = ChannelMatrix();
    std::vector<double> matrix, referenceOutput(channel.size());
    double amiSeconds = 0.0, referenceSeconds = 0.0;
    for (auto _ : state) {
        matrix = channel;
        Reference reference = MakeReference();
        const double start = ThreadSeconds();
        CallAmiInit(matrix);
        const double middle = ThreadSeconds();
        RunReference(reference, channel, referenceOutput);
        const double end = ThreadSeconds();
        amiSeconds += middle - start;
        referenceSeconds += end - middle;
        state.SetIterationTime(end - start);
        if (matrix != referenceOutput) {
            state.SkipWithError("AMI_Init and the reference loop disagree");
            return;
        }
    }
    const double samples = static_cast<double>(state.iterations() * kSamples * kColumns);
    state.counters["ami_samples_per_s"] = samples / amiSeconds;
    state.counters["reference_samples_per_s"] = samples / referenceSeconds;
    state.counters["ami_time_ratio"] = amiSeconds / referenceSeconds;
}
BENCHMARK(BM_AmiInitOverReference)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
