#include "blocks/BlindFFE.h"

#include <algorithm>

#include "blocks/ReportError.h"

namespace Vexlor {

BlindFFE::BlindFFE() {
    Taps.Reshape({1, 1});
    const double unity = 1.0;
    Taps.AssignFrom(&unity, 1);
}

// Resizes the history to tap count times SamplesPerBit: added (oldest) places are zero,
// dropped ones are the oldest, and every held sample keeps its age.
bool BlindFFE::Initialize() {
    if (SamplesPerBit <= 0) {
        ReportError("SamplesPerBit must be a positive number.");
        return false;
    }
    std::vector<double> history = History();
    tapCount_ = Taps.Total();
    samplesPerBit_ = static_cast<std::uint64_t>(SamplesPerBit);
    DelayLength = tapCount_ * samplesPerBit_;
    history.resize(DelayLength, 0.0);
    ring_.resize(2 * DelayLength);
    std::copy(history.begin(), history.end(), ring_.begin());
    std::copy(history.begin(), history.end(), ring_.begin() + static_cast<std::ptrdiff_t>(DelayLength));
    head_ = 0;
    return true;
}

bool BlindFFE::Run() {
    const std::uint64_t length = ring_.size() / 2;
    if (length == 0) {
        Output.Current() = 0.0;
        return true;
    }
    head_ = head_ == 0 ? length - 1 : head_ - 1;
    const double sample = Input.Current();
    ring_[head_] = sample;
    ring_[head_ + length] = sample;
    const double* history = ring_.data() + head_;
    const double* taps = Taps.Data();
    const std::uint64_t tapCount = std::min(tapCount_, Taps.Total());
    double sum = 0.0;
    for (std::uint64_t k = 0; k < tapCount; ++k) sum += taps[k] * history[k * samplesPerBit_];
    Output.Current() = sum;
    return true;
}

bool BlindFFE::Finalize() { return true; }

std::vector<double> BlindFFE::History() const {
    const std::uint64_t length = ring_.size() / 2;
    return std::vector<double>(ring_.begin() + static_cast<std::ptrdiff_t>(head_),
                               ring_.begin() + static_cast<std::ptrdiff_t>(head_ + length));
}

}  // namespace Vexlor
