#pragma once

#include <cstdint>
#include <vector>

#include "framework/CircularBuffer.h"
#include "framework/DFModel.h"
#include "framework/MultiArray.h"

namespace Vexlor {

// A history of samples indexed by age, newest first. It is a ring stored twice over, so the
// samples of every age lie in one contiguous run and storing a new sample moves nothing.
class SampleHistory {
public:
    std::uint64_t size() const { return length_; }
    double operator[](std::uint64_t age) const { return ring_[head_ + age]; }
    // Grows with 0.0 at the old end or drops the oldest samples; held samples keep their age.
    void resize(std::uint64_t length);
    // Stores sample as the newest (size() must be positive) and returns the history, newest first.
    const double* Push(double sample) {
        head_ = head_ == 0 ? length_ - 1 : head_ - 1;
        ring_[head_] = sample;
        ring_[head_ + length_] = sample;
        return ring_.data() + head_;
    }

private:
    std::vector<double> ring_;
    std::uint64_t head_ = 0;
    std::uint64_t length_ = 0;
};

// Symbol-spaced feed-forward equaliser with fixed taps: y[n] = sum over k of
// Taps[k] * x[n - k * SamplesPerBit]. Its history survives Initialize: a new run starts with
// the last samples of the previous one.
class BlindFFE final : public DFModel {
public:
    CircularBuffer<double> Input;
    CircularBuffer<double> Output;
    MultiArray<double> Taps;  // in storage order; Taps[0] weights the current sample
    std::int32_t SamplesPerBit = 16;
    SampleHistory DelayLine;        // the last DelayLength inputs, newest first
    std::uint64_t DelayLength = 0;  // tap count times SamplesPerBit, set by Initialize

    BlindFFE();

    bool Initialize() override;
    bool Run() override;
    bool Finalize() override;

private:
    std::uint64_t tapCount_ = 0;
    std::uint64_t samplesPerBit_ = 0;
};

}  // namespace Vexlor
