#include "blocks/BiquadCascade.h"

#include <cmath>
#include <limits>
#include <sstream>

#include "blocks/ReportError.h"

namespace Vexlor {

namespace {
constexpr std::int32_t kTapsPerBiquad = 6;
constexpr int kN0 = 0, kN1 = 1, kN2 = 2, kD0 = 3, kD1 = 4, kD2 = 5;
}  // namespace

bool BiquadCascade::IsTooSmallToDivideBy(double coefficient) {
    return std::fabs(coefficient) < std::numeric_limits<double>::min();
}

bool BiquadCascade::Initialize() {
    if (NumTaps < 1 || NumTaps % kTapsPerBiquad != 0) {
        std::ostringstream message;
        message << "The number of parameter taps must not be zero "
                << "and must be a multiple of " << kTapsPerBiquad << " taps. "
                << "There are currently " << NumTaps << " taps.";
        ReportError(message.str());
        return false;
    }
    NumBiquads = static_cast<std::uint64_t>(NumTaps / kTapsPerBiquad);
    if (!NormaliseSections()) {
        return false;
    }
    State1.assign(NumBiquads, 0.0);
    State2.assign(NumBiquads, 0.0);
    if (Outputs.Count() > NumBiquads) {
        std::ostringstream message;
        message << "The number of outputs must be less than or equal to the "
                << "number of biquads in the cascade.  Currently, there are " << Outputs.Count()
                << " outputs and " << NumBiquads << " biquads.";
        ReportError(message.str());
        return false;
    }
    return true;
}

// Stops at the first section that cannot be normalised; the sections before it stay
// divided, so a later Initialize finds them with D0 = 1 and leaves them alone.
bool BiquadCascade::NormaliseSections() {
    for (std::uint64_t i = 0; i < NumBiquads; ++i) {
        double* section = Taps + kTapsPerBiquad * i;
        const double d0 = section[kD0];
        if (IsTooSmallToDivideBy(d0)) {
            std::ostringstream message;
            message << "The D0 coefficient for biquad number " << i + 1 << " cannot be zero. ";
            ReportError(message.str());
            return false;
        }
        section[kN0] /= d0;
        section[kN1] /= d0;
        section[kN2] /= d0;
        section[kD1] /= d0;
        section[kD2] /= d0;
        section[kD0] = 1.0;
    }
    return true;
}

bool BiquadCascade::Run() {
    double x = Input.Current();
    const std::uint64_t sections = NumBiquads;
    const std::uint64_t outputs = Outputs.Count();
    const double* coefficients = Taps;
    double* state1 = State1.data();
    double* state2 = State2.data();
    for (std::uint64_t i = 0; i < sections; ++i, coefficients += kTapsPerBiquad) {
        const double s1 = state1[i];
        const double s2 = state2[i];
        const double w = (x - s1 * coefficients[kD1]) - s2 * coefficients[kD2];
        const double y = (s1 * coefficients[kN1] + w * coefficients[kN0]) + s2 * coefficients[kN2];
        if (sections - i <= outputs) {
            Outputs.GetBuffer(sections - 1 - i)->Current() = y;
        }
        state2[i] = s1;
        state1[i] = w;
        x = y;
    }
    return true;
}

bool BiquadCascade::Finalize() { return true; }

}  // namespace Vexlor
