#include "blocks/BlindFFE.h"

#include <algorithm>

#include "blocks/ReportError.h"

namespace Vexlor {

void SampleHistory::resize(std::uint64_t length) {
    std::vector<double> ring(2 * length, 0.0);
    const auto kept = static_cast<std::ptrdiff_t>(std::min(length, length_));
    const auto head = static_cast<std::ptrdiff_t>(head_);
    std::copy(ring_.begin() + head, ring_.begin() + head + kept, ring.begin());
    std::copy_n(ring.begin(), length, ring.begin() + static_cast<std::ptrdiff_t>(length));
    ring_ = std::move(ring);
    head_ = 0;
    length_ = length;
}

BlindFFE::BlindFFE() {
    Taps.Reshape({1, 1});
    const double unity = 1.0;
    Taps.AssignFrom(&unity, 1);
}

bool BlindFFE::Initialize() {
    if (SamplesPerBit <= 0) {
        ReportError("SamplesPerBit must be a positive number.");
        return false;
    }
    tapCount_ = Taps.Total();
    samplesPerBit_ = static_cast<std::uint64_t>(SamplesPerBit);
    DelayLength = tapCount_ * samplesPerBit_;
    DelayLine.resize(DelayLength);
    return true;
}

bool BlindFFE::Run() {
    if (DelayLine.size() == 0) {
        Output.Current() = 0.0;
        return true;
    }
    const double* history = DelayLine.Push(Input.Current());
    const double* taps = Taps.Data();
    const std::uint64_t tapCount = std::min(tapCount_, Taps.Total());
    double sum = 0.0;
    for (std::uint64_t k = 0; k < tapCount; ++k) sum += taps[k] * history[k * samplesPerBit_];
    Output.Current() = sum;
    return true;
}

bool BlindFFE::Finalize() { return true; }

}  // namespace Vexlor
