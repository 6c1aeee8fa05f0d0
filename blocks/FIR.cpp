#include "blocks/FIR.h"

#include "blocks/ReportError.h"

namespace Vexlor {

namespace {

// Stops the vectoriser from pairing loads here. A 16-byte load that overlaps a sample stored a
// few firings ago cannot be forwarded from the pending store and waits for it to retire, which
// serialises successive firings; single loads are forwarded and let the firings overlap.
// Only where doubles are computed in SSE registers anyway: there the empty barrier changes no
// rounding, and elsewhere (x87 or other processors) the "x" constraint has no register to name.
template <typename T>
inline void KeepScalar([[maybe_unused]] T& value) {
#if defined(__SSE2_MATH__)
    asm("" : "+x"(value));
#endif
}

// sum over k of taps[k] * newest[-k], added one by one in order of k onto 0.0.
template <typename T>
T DotNewestFirst(const T* taps, const T* newest, std::int32_t count) {
    T sum = 0.0;
    std::int32_t k = 0;
    for (; k + 4 <= count; k += 4) {
        sum += taps[k] * newest[-k];
        sum += taps[k + 1] * newest[-k - 1];
        sum += taps[k + 2] * newest[-k - 2];
        sum += taps[k + 3] * newest[-k - 3];
        KeepScalar(sum);
    }
    for (; k < count; ++k) {
        sum += taps[k] * newest[-k];
        KeepScalar(sum);
    }
    return sum;
}

}  // namespace

template <typename T, int Variant>
bool FIR<T, Variant>::Setup() {
    return SetupFilter();
}

template <typename T, int Variant>
bool FIR<T, Variant>::SetupFilter() {
    bool valid = true;
    auto check = [&valid](bool ok, const char* message) {
        if (!ok) {
            ReportError(message);
            valid = false;
        }
    };
    check(NumTaps >= 1, "There must be at least one Tap");
    check(Decimation >= 1, "Decimation must be > 0");
    check(DecimationPhase >= 0, "DecimationPhase must be >= 0");
    check(DecimationPhase < Decimation, "DecimationPhase must be < Decimation ratio");
    check(Interpolation >= 1, "Interpolation must be > 0");
    if (!valid) return false;

    // Wider than the parameters so that extreme ratios cannot overflow.
    const std::int64_t length = std::int64_t{NumTaps / Interpolation} + Decimation + 1;
    Input.SetRate(static_cast<std::uint64_t>(Decimation));
    Output.SetRate(static_cast<std::uint64_t>(Interpolation));
    DelayLine.MinCapacity = static_cast<std::uint64_t>(std::max<std::int64_t>(length, Decimation));
    DelayLine.Rate = static_cast<std::uint64_t>(Decimation);
    TapsPerPhase = NumTaps / Interpolation + (NumTaps % Interpolation != 0 ? 1 : 0);
    geometry_ = Geometry{NumTaps,       Decimation,   DecimationPhase,
                         Interpolation, TapsPerPhase, static_cast<std::uint64_t>(length)};
    return true;
}

template <typename T, int Variant>
bool FIR<T, Variant>::Initialize() {
    DelayLine.Release();
    DelayLine.Adopt(CircularBuffer<T>::Allocate(2 * geometry_.length), geometry_.length);
    return true;
}

// Places the firing's D new inputs at the end of the window, x[M-D+i], in both copies.
template <typename T, int Variant>
void FIR<T, Variant>::StoreInputs() {
    const std::uint64_t length = geometry_.length;
    const std::uint64_t decimation = static_cast<std::uint64_t>(geometry_.decimation);
    T* ring = DelayLine.Data();
    std::uint64_t index = DelayLine.Position + length - decimation;
    if (index >= length) index -= length;
    for (std::uint64_t i = 0; i < decimation; ++i) {
        const T sample = Input.At(i);
        ring[index] = sample;
        ring[index + length] = sample;
        if (++index == length) index = 0;
    }
}

template <typename T, int Variant>
bool FIR<T, Variant>::Run() {
    StoreInputs();
    // window[r] is x[r], the sample r places after the ring's Position; it never wraps.
    const T* window = DelayLine.Data() + DelayLine.Position;
    if (geometry_.decimation == 1 && geometry_.interpolation == 1) {
        Output.Current() = DotNewestFirst(Taps, window + geometry_.length - 1, geometry_.numTaps);
    } else {
        RunPolyphase(window);
    }
    DelayLine.Position += static_cast<std::uint64_t>(geometry_.decimation);
    if (DelayLine.Position >= geometry_.length) DelayLine.Position -= geometry_.length;
    return true;
}

// Output o of a firing is the up-sampled, filtered stream at DecimationPhase + o * Decimation
// counted from the firing's first input; each input j serves the phases below Interpolation.
template <typename T, int Variant>
void FIR<T, Variant>::RunPolyphase(const T* window) {
    const Geometry& g = geometry_;
    const std::uint64_t decimation = static_cast<std::uint64_t>(g.decimation);
    std::int64_t phase = g.phase;
    std::uint64_t outputIndex = 0;
    for (std::uint64_t j = 1; j <= decimation; ++j) {
        const T* newest = window + (g.length - decimation + j - 1);
        for (; phase < g.interpolation; phase += g.decimation) {
            T sum = 0.0;
            for (std::int32_t k = 0; k < g.tapsPerPhase; ++k) {
                const std::int64_t tap = phase + std::int64_t{k} * g.interpolation;
                if (tap < g.numTaps) sum += Taps[tap] * newest[-k];
            }
            Output.At(outputIndex++) = sum;
        }
        phase -= g.interpolation;
    }
}

template <typename T, int Variant>
bool FIR<T, Variant>::Finalize() {
    DelayLine.Release();
    return true;
}

template class FIR<double, 0>;

}  // namespace Vexlor
