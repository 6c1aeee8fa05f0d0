#pragma once

#include <complex>
#include <cstdint>
#include <memory>

#include "blocks/BiquadCascade.h"
#include "framework/MultiArray.h"

namespace Vexlor {

// An IIR filter given as an analog transfer function
//   H(s) = GainConstant * prod(s - zero) / prod(s - pole),
// each complex entry standing for itself and its conjugate. Initialize maps it to the
// sample rate by the bilinear transform (no pre-warping), pairs poles and zeros into
// second-order sections by their order in the arrays, spreads the overall gain evenly over
// the sections and filters with the inherited cascade. The defaults are a fifth-order
// Butterworth low-pass with unit gain at DC.
class SDomainIIR : public BiquadCascade {
public:
    SDomainIIR();
    ~SDomainIIR() override = default;

    bool Initialize() override;
    bool Finalize() override;

    double SampleRate = 1.0e6;
    double GainConstant = 1.1616128054708951e+29;
    MultiArray<double> RealPoles;
    MultiArray<std::complex<double>> ComplexPoles;
    MultiArray<double> RealZeros;
    MultiArray<std::complex<double>> ComplexZeros;
    // 1: poles and zeros are in hertz and are scaled to radians per second at every
    // Initialize, in place. Any other value: they are in radians per second.
    std::int32_t FrequencyUnit = 0;

private:
    void ScaleToRadiansPerSecond();
    void AllocateTable(std::uint64_t sections);
    void FillFactors(const MultiArray<std::complex<double>>& complexRoots,
                     const MultiArray<double>& realRoots, std::uint64_t order,
                     std::uint64_t sections, int firstCoefficient) const;
    bool NormaliseDenominators(std::uint64_t sections);
    bool SpreadGain(std::uint64_t sections);

    std::unique_ptr<double[]> ownedTaps_;
};

}  // namespace Vexlor
