#pragma once

#include <cstdint>
#include <vector>

#include "framework/CircularBuffer.h"
#include "framework/CircularBufferBus.h"
#include "framework/DFModel.h"

namespace Vexlor {

// An IIR filter of second-order sections in series, each in direct form II. Section i has
// the coefficients N0, N1, N2, D0, D1, D2 at Taps[6i] .. Taps[6i+5]; Initialize divides them
// by D0 in place. Output 0 carries the whole cascade, output 1 the cascade without its last
// section, and so on, for as many outputs as the bus holds.
class BiquadCascade : public DFModel {
public:
    BiquadCascade() = default;
    BiquadCascade(const BiquadCascade&) = delete;
    BiquadCascade& operator=(const BiquadCascade&) = delete;
    ~BiquadCascade() override = default;

    bool Initialize() override;
    bool Run() override;
    bool Finalize() override;

    double* Taps = nullptr;
    std::int32_t NumTaps = 0;
    CircularBuffer<double> Input;
    CircularBufferBusT<CircularBuffer<double>> Outputs;
    std::vector<double> State1;
    std::vector<double> State2;
    std::uint64_t NumBiquads = 0;

protected:
    // Leading coefficients smaller in magnitude than the smallest normal double (zero and
    // subnormals) cannot be divided out.
    static bool IsTooSmallToDivideBy(double coefficient);

private:
    bool NormaliseSections();
};

}  // namespace Vexlor
