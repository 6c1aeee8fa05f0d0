#include "blocks/SDomainIIR.h"

#include <algorithm>
#include <cmath>
#include <sstream>

#include "blocks/ReportError.h"

namespace Vexlor {

namespace {

constexpr std::uint64_t kTapsPerBiquad = 6;
constexpr int kNumerator = 0;
constexpr int kDenominator = 3;
constexpr double kTwoPi = 6.283185307179586;

template <class T>
void Scale(MultiArray<T>& values, double factor) {
    T* data = values.Data();
    for (std::uint64_t i = 0; i < values.Total(); ++i) {
        data[i] *= factor;
    }
}

}  // namespace

SDomainIIR::SDomainIIR() {
    const std::uint64_t oneByOne[] = {1, 1};
    const std::uint64_t oneByTwo[] = {1, 2};
    const double realPole = -650148.0708064173;
    const std::complex<double> complexPoles[] = {
        {-200906.8027392695, 618327.5592971661},
        {-525980.8381424781, 382147.44782641466},
    };
    RealPoles.Reshape(2, oneByOne);
    RealPoles.AssignFrom(&realPole, 1);
    ComplexPoles.Reshape(2, oneByTwo);
    ComplexPoles.AssignFrom(complexPoles, 2);
    Outputs.Resize(1);
}

bool SDomainIIR::Initialize() {
    if (!(SampleRate > 0.0)) {
        ReportError("SampleRate must be positive.");
        return false;
    }
    if (FrequencyUnit == 1) {
        ScaleToRadiansPerSecond();
    }
    const std::uint64_t poleOrder = RealPoles.Total() + 2 * ComplexPoles.Total();
    const std::uint64_t zeroOrder = RealZeros.Total() + 2 * ComplexZeros.Total();
    const std::uint64_t order = std::max(poleOrder, zeroOrder);
    if (order == 0) {
        AllocateTable(1);
        Taps[kNumerator] = GainConstant;
        Taps[kDenominator] = 1.0;
        return BiquadCascade::Initialize();
    }
    const std::uint64_t sections = (order + 1) / 2;
    AllocateTable(sections);
    FillFactors(ComplexPoles, RealPoles, order, sections, kDenominator);
    FillFactors(ComplexZeros, RealZeros, order, sections, kNumerator);
    // A section that cannot be normalised is left for the cascade to report.
    if (NormaliseDenominators(sections) && !SpreadGain(sections)) {
        return false;
    }
    return BiquadCascade::Initialize();
}

bool SDomainIIR::Finalize() {
    ownedTaps_.reset();
    Taps = nullptr;
    return BiquadCascade::Finalize();
}

void SDomainIIR::ScaleToRadiansPerSecond() {
    Scale(RealPoles, kTwoPi);
    Scale(ComplexPoles, kTwoPi);
    Scale(RealZeros, kTwoPi);
    Scale(ComplexZeros, kTwoPi);
}

void SDomainIIR::AllocateTable(std::uint64_t sections) {
    ownedTaps_ = std::make_unique<double[]>(kTapsPerBiquad * sections);
    Taps = ownedTaps_.get();
    NumTaps = static_cast<std::int32_t>(kTapsPerBiquad * sections);
}

// Writes one polynomial side (numerator or denominator, chosen by firstCoefficient) of every
// section, from section 0 on: each complex root and its conjugate, then pairs of real roots,
// then an odd last real root, then fill sections for the roots the other side has in excess.
// Every factor is mapped by s = c(1 - 1/z) / (1 + 1/z) and multiplied by (1 + 1/z)^2, or by
// (1 + 1/z) only for a first-order last section, so the excess roots land at z = -1.
void SDomainIIR::FillFactors(const MultiArray<std::complex<double>>& complexRoots,
                             const MultiArray<double>& realRoots, std::uint64_t order,
                             std::uint64_t sections, int firstCoefficient) const {
    const double period = 1.0 / SampleRate;
    const double c = 2.0 / period;
    const double cSquared = 4.0 / (period * period);
    const bool oddOrder = order % 2 == 1;
    std::uint64_t section = 0;
    auto put = [&](double z0, double z1, double z2) {
        double* coefficients = Taps + kTapsPerBiquad * section + firstCoefficient;
        coefficients[0] = z0;
        coefficients[1] = z1;
        coefficients[2] = z2;
        ++section;
    };
    const std::complex<double>* complexData = complexRoots.Data();
    for (std::uint64_t k = 0; k < complexRoots.Total(); ++k) {
        const double sigma = complexData[k].real();
        const double omega = complexData[k].imag();
        const double magnitudeSquared = sigma * sigma + omega * omega;
        const double twoCSigma = 4.0 * sigma / period;
        put((cSquared - twoCSigma) + magnitudeSquared, 2.0 * (magnitudeSquared - cSquared),
            (twoCSigma + cSquared) + magnitudeSquared);
    }
    const double* real = realRoots.Data();
    const std::uint64_t realCount = realRoots.Total();
    for (std::uint64_t k = 0; k + 1 < realCount; k += 2) {
        const double r1 = real[k];
        const double r2 = real[k + 1];
        put((c - r2) * (c - r1), -(c + r1) * (c - r2) - (c + r2) * (c - r1), (c + r2) * (c + r1));
    }
    if (realCount % 2 == 1) {
        const double r = real[realCount - 1];
        if (section == sections - 1 && oddOrder) {
            put(c - r, -(c + r), 0.0);
        } else {
            put(c - r, -2.0 * r, -(c + r));
        }
    }
    while (section < sections) {
        if (section == sections - 1 && oddOrder) {
            put(1.0, 1.0, 0.0);
        } else {
            put(1.0, 2.0, 1.0);
        }
    }
}

// Divides every section by its D0. Returns false, leaving the rest untouched, at the first
// D0 that cannot be divided out (a real pole at exactly c); the cascade reports it.
bool SDomainIIR::NormaliseDenominators(std::uint64_t sections) {
    for (std::uint64_t i = 0; i < sections; ++i) {
        double* section = Taps + kTapsPerBiquad * i;
        const double d0 = section[kDenominator];
        if (IsTooSmallToDivideBy(d0)) {
            return false;
        }
        for (std::uint64_t k = 0; k < kTapsPerBiquad; ++k) {
            section[k] /= d0;
        }
        section[kDenominator] = 1.0;
    }
    return true;
}

// Collects GainConstant and every section's N0 into one product and gives each section an
// equal share of it. A zero N0 (a real zero at exactly c) cannot be collected, and a negative
// product has no real root to share when there is more than one section: both fail rather
// than fill the table with infinities or NaN.
bool SDomainIIR::SpreadGain(std::uint64_t sections) {
    double product = GainConstant;
    for (std::uint64_t i = 0; i < sections; ++i) {
        double* numerator = Taps + kTapsPerBiquad * i + kNumerator;
        if (IsTooSmallToDivideBy(numerator[0])) {
            std::ostringstream message;
            message << "The N0 coefficient for biquad number " << i + 1
                    << " cannot be zero: a zero lies at twice the sample rate.";
            ReportError(message.str());
            return false;
        }
        product *= numerator[0];
        numerator[1] /= numerator[0];
        numerator[2] /= numerator[0];
        numerator[0] = 1.0;
    }
    if (product < 0.0 && sections > 1) {
        std::ostringstream message;
        message << "The overall gain " << product << " is negative and cannot be spread over "
                << sections << " biquads.";
        ReportError(message.str());
        return false;
    }
    const double share = std::pow(product, 1.0 / static_cast<double>(sections));
    for (std::uint64_t i = 0; i < sections; ++i) {
        double* numerator = Taps + kTapsPerBiquad * i + kNumerator;
        numerator[0] *= share;
        numerator[1] *= share;
        numerator[2] *= share;
    }
    return true;
}

}  // namespace Vexlor
