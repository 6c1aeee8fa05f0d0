#pragma once

#include <cstdint>

#include "framework/CircularBuffer.h"
#include "framework/DFModel.h"

namespace Vexlor {

// Multirate polyphase FIR: interpolates by Interpolation, filters with Taps and decimates by
// Decimation at DecimationPhase in one pass, without forming the up-sampled stream. With both
// ratios 1 it is a plain direct-form FIR. The second template argument is unused (always 0).
template <typename T, int Variant>
class FIR : public DFModel {
public:
    CircularBuffer<T> Input;
    CircularBuffer<T> Output;
    // History ring of Capacity M. Its storage holds the ring twice over (element i and i + M
    // are equal), so every filter window is contiguous; the first M elements are the ring.
    CircularBuffer<T> DelayLine;
    const T* Taps = nullptr;  // h[0] multiplies the newest sample; not owned
    std::int32_t NumTaps = 0;
    std::int32_t Decimation = 1;
    std::int32_t DecimationPhase = 0;
    std::int32_t Interpolation = 1;
    std::int32_t TapsPerPhase = 0;

    bool Setup() override;
    bool Initialize() override;
    bool Run() override;
    bool Finalize() override;

protected:
    // Parameter checks and port geometry, shared with blocks that compute their own taps.
    bool SetupFilter();

private:
    // The geometry of the last successful Setup: Run never depends on fields changed later.
    struct Geometry {
        std::int32_t numTaps = 0;
        std::int32_t decimation = 1;
        std::int32_t phase = 0;
        std::int32_t interpolation = 1;
        std::int32_t tapsPerPhase = 0;
        std::uint64_t length = 2;  // M = numTaps / interpolation + decimation + 1
    };

    void StoreInputs();
    void RunPolyphase(const T* window);

    Geometry geometry_;
};

extern template class FIR<double, 0>;

}  // namespace Vexlor
