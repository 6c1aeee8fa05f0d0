#pragma once

#include <cstdint>
#include <vector>

#include "blocks/FIR.h"

namespace Vexlor {

// A FIR whose coefficients come from a measured impulse or step response, given as (time,
// value) points at strictly rising times; Setup resamples it at SampleRate. Setup rewrites
// ResponseTimeStamps in place so that it starts at 0.
class TimeResponseFIR final : public FIR<double, 0> {
public:
    enum ResponseKind : std::int32_t { ImpulseResponse = 0, StepResponse = 1 };

    const double* Response = nullptr;      // not owned
    double* ResponseTimeStamps = nullptr;  // not owned; rewritten by Setup
    std::int32_t ResponseSize = 0;
    std::int32_t ResponseTimeStampsSize = 0;
    std::int32_t ResponseType = StepResponse;
    double SampleRate = 1.0e12;

    bool Setup() override;

private:
    bool CheckResponse() const;
    bool ShiftToTimeZero();
    bool ComputeTapCount(std::int32_t& tapCount) const;
    void ComputeTaps();
    double StepDerivative(double t, std::int32_t k) const;

    std::vector<double> tapTable_;
};

}  // namespace Vexlor
