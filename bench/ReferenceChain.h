#pragma once
// What the benchmarks of the transmitter chain share: a bit-stream column, the model's
// defaults as the AMI layer sets them, the plainest loop that computes the chain's numbers,
// and the thread's CPU clock.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <ctime>
#include <vector>

#include "model/Quarnel.h"

namespace referencechain {

constexpr std::size_t kSamples = 1 << 20;
constexpr std::size_t kResponseTaps = 65;
constexpr std::size_t kSamplesPerBit = 32;

// A random bit stream at 32 samples per bit, the kind of column a simulator hands over.
inline std::vector<double> BitStream() {
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
inline void ConfigureDefaults(Quarnel& model) { model.Gain = std::pow(10.0, 1.0 / 20.0); }

// The plainest loop that computes the same numbers: a direct-form FIR over the zero-padded
// input, the gain, then the three symbol-spaced taps, each sum in the model's order.
struct Reference {
    std::vector<double> responseTaps;
    double gain = 0.0;
    double ffeTaps[3] = {0.0, 1.0, 0.0};
    std::vector<double> padded;  // kResponseTaps - 1 zeros, then the input
    std::vector<double> scaled;  // 2 * kSamplesPerBit zeros, then the gain stage's output

    void Run(const std::vector<double>& input, std::vector<double>& output) {
        Run(input.data(), output.data(), input.size());
    }
    // count is at most kSamples.
    void Run(const double* input, double* output, std::size_t count) {
        const std::size_t lead = kResponseTaps - 1;
        const std::size_t history = 2 * kSamplesPerBit;
        std::copy(input, input + count, padded.begin() + lead);
        for (std::size_t n = 0; n < count; ++n) {
            double sum = 0.0;
            for (std::size_t k = 0; k < kResponseTaps; ++k)
                sum += responseTaps[k] * padded[n + lead - k];
            scaled[n + history] = sum * gain;
        }
        for (std::size_t n = 0; n < count; ++n) {
            const double* g = &scaled[n + history];
            double sum = 0.0;
            sum += ffeTaps[0] * g[0];
            sum += ffeTaps[1] * g[-static_cast<std::ptrdiff_t>(kSamplesPerBit)];
            sum += ffeTaps[2] * g[-static_cast<std::ptrdiff_t>(2 * kSamplesPerBit)];
            output[n] = sum;
        }
    }
    // After a run of kSamples: the next run starts with this run's last two bits in the
    // equaliser's history, as the model's next impulse-response column does.
    void CarryEqualizerHistory() {
        std::copy(scaled.end() - 2 * kSamplesPerBit, scaled.end(), scaled.begin());
    }
};

inline Reference MakeReference() {
    Quarnel model;
    ConfigureDefaults(model);
    model.Setup();
    Reference reference;
    reference.responseTaps.assign(model.ResponseFilter.Taps,
                                  model.ResponseFilter.Taps + kResponseTaps);
    reference.gain = model.Gain;
    reference.padded.assign(kSamples + kResponseTaps - 1, 0.0);
    reference.scaled.assign(kSamples + 2 * kSamplesPerBit, 0.0);
    model.Finalize();
    return reference;
}

// CPU time of this thread: the ratio should not depend on what else the machine is doing.
inline double ThreadSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + 1e-9 * static_cast<double>(now.tv_nsec);
}

}  // namespace referencechain
