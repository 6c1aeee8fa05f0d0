#pragma once

#include <cstdint>
#include <vector>

#include "framework/CircularBuffer.h"
#include "framework/DFModel.h"
#include "framework/MultiArray.h"

namespace Vexlor {

// Symbol-spaced feed-forward equaliser with fixed taps: y[n] = sum over k of
// Taps[k] * x[n - k * SamplesPerBit]. Its history survives Initialize: a new run starts with
// the last samples of the previous one.
class BlindFFE final : public DFModel {
public:
    CircularBuffer<double> Input;
    CircularBuffer<double> Output;
    MultiArray<double> Taps;  // in storage order; Taps[0] weights the current sample
    std::int32_t SamplesPerBit = 16;
    std::uint64_t DelayLength = 0;  // tap count times SamplesPerBit, set by Initialize

    BlindFFE();

    bool Initialize() override;
    bool Run() override;
    bool Finalize() override;

    // The held history, newest sample first (DelayLength samples).
    std::vector<double> History() const;

private:
    // Ring stored twice over, so history[j] = ring_[head_ + j] for every j < DelayLength.
    std::vector<double> ring_;
    std::uint64_t head_ = 0;
    std::uint64_t tapCount_ = 0;
    std::uint64_t samplesPerBit_ = 0;
};

}  // namespace Vexlor
