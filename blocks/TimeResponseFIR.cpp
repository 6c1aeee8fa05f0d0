#include "blocks/TimeResponseFIR.h"

#include <algorithm>
#include <limits>
#include <sstream>

#include "blocks/CubicSpline.h"
#include "blocks/ReportError.h"

namespace Vexlor {

bool TimeResponseFIR::Setup() {
    if (!CheckResponse() || !ShiftToTimeZero()) return false;
    std::int32_t tapCount = 0;
    if (!ComputeTapCount(tapCount)) return false;
    NumTaps = tapCount;
    tapTable_.assign(static_cast<std::size_t>(tapCount), 0.0);
    Taps = tapTable_.data();
    ComputeTaps();
    return SetupFilter();
}

bool TimeResponseFIR::CheckResponse() const {
    bool tooShort = false;
    if (ResponseSize < 4 && ResponseType == ImpulseResponse) {
        ReportError("At least 4 response coefficients are required for input impulse response");
        tooShort = true;
    }
    if (ResponseSize < 4 && ResponseType == StepResponse) {
        ReportError("At least 4 response coefficients are required for input step response");
        tooShort = true;
    }
    if (ResponseType != ImpulseResponse && ResponseType != StepResponse) {
        ReportError(
            "Inavlid ResponseType is specified, it can be either Impulse Response or Step "
            "Response");
        return false;
    }
    if (tooShort) return false;
    if (ResponseTimeStampsSize != ResponseSize) {
        ReportError(
            "Number of coefficients in response must be same as the number of values in time "
            "stamps");
        return false;
    }
    // Written as a negated comparison so that a NaN rate is refused too.
    if (!(SampleRate > 0.0)) {
        ReportError("SampleRate must be > 0.0");
        return false;
    }
    return true;
}

// Removes the leading delay and checks the order in the same pass; entries up to the first
// out-of-order one stay rewritten. A NaN time stamp counts as out of order.
bool TimeResponseFIR::ShiftToTimeZero() {
    double* ts = ResponseTimeStamps;
    const double t0 = ts[0];
    ts[0] = 0.0;
    for (std::int32_t i = 1; i < ResponseSize; ++i) {
        ts[i] = ts[i] - t0;
        if (!(ts[i - 1] < ts[i])) {
            std::ostringstream message;
            message << "ResponseTimeStamps[" << i + 1 << "] = " << ts[i] + t0
                    << "  <= ResponseTimeStamps[" << i << "] = " << ts[i - 1] + t0
                    << ". Time stamps must be in non-repeating ascending order.";
            ReportError(message.str());
            return false;
        }
    }
    return true;
}

// One tap per sample period over the response's duration, the first at time zero.
bool TimeResponseFIR::ComputeTapCount(std::int32_t& tapCount) const {
    const double span = ResponseTimeStamps[ResponseSize - 1] * SampleRate;
    if (!(span < static_cast<double>(std::numeric_limits<std::int32_t>::max()))) {
        ReportError("ResponseTimeStamps span too many samples at this SampleRate");
        return false;
    }
    tapCount = static_cast<std::int32_t>(span) + 1;
    return true;
}

void TimeResponseFIR::ComputeTaps() {
    const double* ts = ResponseTimeStamps;
    const double* r = Response;
    CubicSpline spline;
    std::int32_t k = 0;
    for (std::int32_t m = 0; m < NumTaps; ++m) {
        const double t = m / SampleRate;
        // The search resumes where the previous tap left it: k is the first point at or
        // after t, or the last point.
        while (t > ts[k]) {
            if (++k == ResponseSize) {
                k = ResponseSize - 1;
                break;
            }
        }
        if (ResponseType == ImpulseResponse && ts[k] == t) {
            tapTable_[m] = r[k];
            continue;
        }
        k = std::clamp(k, 1, ResponseSize - 3);
        tapTable_[m] = ResponseType == ImpulseResponse
                           ? spline.Evaluate(4, t, ts + k - 1, r + k - 1)
                           : StepDerivative(t, k);
    }
    for (double& tap : tapTable_) tap /= SampleRate;
}

// Slope at t of the parabola through the points k-1, k and k+1, summed term by term.
double TimeResponseFIR::StepDerivative(double t, std::int32_t k) const {
    const double x0 = ResponseTimeStamps[k - 1], x1 = ResponseTimeStamps[k],
                 x2 = ResponseTimeStamps[k + 1];
    const double y0 = Response[k - 1], y1 = Response[k], y2 = Response[k + 1];
    double slope = 0.0;
    slope += (2 * t - x1 - x2) / ((x0 - x2) * (x0 - x1)) * y0;
    slope += (2 * t - x0 - x2) / ((x1 - x0) * (x1 - x2)) * y1;
    slope += (2 * t - x0 - x1) / ((x2 - x0) * (x2 - x1)) * y2;
    return slope;
}

}  // namespace Vexlor
