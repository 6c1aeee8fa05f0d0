#include "blocks/FIR.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using Filter = Vexlor::FIR<double, 0>;

// Runs the block firing by firing over input (a whole number of firings); returns all outputs.
std::vector<double> RunFiring(Filter& fir, const std::vector<double>& input) {
    const std::size_t decimation = static_cast<std::size_t>(fir.Decimation);
    const std::size_t interpolation = static_cast<std::size_t>(fir.Interpolation);
    std::vector<double> in(decimation), out(interpolation), result;
    fir.Input.Attach(in.data(), in.size());
    fir.Output.Attach(out.data(), out.size());
    for (std::size_t first = 0; first + decimation <= input.size(); first += decimation) {
        std::copy_n(input.begin() + static_cast<std::ptrdiff_t>(first), decimation, in.begin());
        EXPECT_TRUE(fir.Run());
        result.insert(result.end(), out.begin(), out.end());
    }
    return result;
}

// The plain definition: insert I-1 zeros after every input, convolve with the taps, and keep
// every D-th sample starting at the phase.
std::vector<double> UpsampleFilterDecimate(const std::vector<double>& taps, const std::vector<double>& x,
                                           int decimation, int interpolation, int phase) {
    std::vector<double> upsampled(x.size() * static_cast<std::size_t>(interpolation), 0.0);
    for (std::size_t i = 0; i < x.size(); ++i) upsampled[i * static_cast<std::size_t>(interpolation)] = x[i];
    std::vector<double> result;
    for (std::size_t n = static_cast<std::size_t>(phase); n < upsampled.size(); n += static_cast<std::size_t>(decimation)) {
        double sum = 0.0;
        for (std::size_t m = 0; m < taps.size() && m <= n; ++m) sum += taps[m] * upsampled[n - m];
        result.push_back(sum);
    }
    return result;
}

std::vector<double> Ramp(std::size_t count) {
    std::vector<double> x;
    for (std::size_t i = 0; i < count; ++i) x.push_back(1.0 + 0.5 * static_cast<double>(i % 7) - 0.25 * static_cast<double>(i % 3));
    return x;
}

void ExpectPolyphaseMatches(const std::vector<double>& taps, int decimation, int interpolation, int phase) {
    Filter fir;
    fir.Taps = taps.data();
    fir.NumTaps = static_cast<int>(taps.size());
    fir.Decimation = decimation;
    fir.Interpolation = interpolation;
    fir.DecimationPhase = phase;
    ASSERT_TRUE(fir.Setup());
    ASSERT_TRUE(fir.Initialize());
    const std::vector<double> x = Ramp(static_cast<std::size_t>(decimation) * 12);
    const std::vector<double> got = RunFiring(fir, x);
    const std::vector<double> expected = UpsampleFilterDecimate(taps, x, decimation, interpolation, phase);
    ASSERT_EQ(got.size(), expected.size());
    for (std::size_t i = 0; i < got.size(); ++i) EXPECT_DOUBLE_EQ(got[i], expected[i]) << "output " << i;
    EXPECT_TRUE(fir.Finalize());
}

void Configure(Filter& fir, int numTaps, int decimation, int phase, int interpolation) {
    fir.NumTaps = numTaps;
    fir.Decimation = decimation;
    fir.DecimationPhase = phase;
    fir.Interpolation = interpolation;
}

// Setup's result and everything it wrote to standard error.
std::string SetupMessages(int numTaps, int decimation, int phase, int interpolation, bool& result) {
    Filter fir;
    Configure(fir, numTaps, decimation, phase, interpolation);
    testing::internal::CaptureStderr();
    result = fir.Setup();
    return testing::internal::GetCapturedStderr();
}

}  // namespace

TEST(FIR, ChecksAllParametersInOrder) {
    bool ok = true;
    EXPECT_EQ(SetupMessages(0, 0, 0, 1, ok),
              "There must be at least one Tap\nDecimation must be > 0\n"
              "DecimationPhase must be < Decimation ratio\n");
    EXPECT_FALSE(ok);
    EXPECT_EQ(SetupMessages(3, 2, 2, 1, ok), "DecimationPhase must be < Decimation ratio\n");
    EXPECT_FALSE(ok);
    EXPECT_EQ(SetupMessages(3, 2, -1, 1, ok), "DecimationPhase must be >= 0\n");
    EXPECT_FALSE(ok);
    EXPECT_EQ(SetupMessages(3, 1, 0, 0, ok), "Interpolation must be > 0\n");
    EXPECT_FALSE(ok);
    EXPECT_EQ(SetupMessages(0, -1, -1, -1, ok),
              "There must be at least one Tap\nDecimation must be > 0\nDecimationPhase must be >= 0\n"
              "DecimationPhase must be < Decimation ratio\nInterpolation must be > 0\n");
    EXPECT_EQ(SetupMessages(3, 1, 0, 1, ok), "");
    EXPECT_TRUE(ok);
}

TEST(FIR, SetupSetsRatesAndGeometryOnlyWhenValid) {
    Filter fir;
    Configure(fir, 5, 2, 1, 3);
    ASSERT_TRUE(fir.Setup());
    EXPECT_EQ(fir.Input.Rate, 2u);
    EXPECT_EQ(fir.Output.Rate, 3u);
    EXPECT_EQ(fir.Output.MinCapacity, 3u);
    EXPECT_EQ(fir.DelayLine.MinCapacity, 5u / 3 + 2 + 1);
    EXPECT_EQ(fir.DelayLine.Rate, 2u);
    EXPECT_EQ(fir.TapsPerPhase, 2);

    fir.Interpolation = 0;
    fir.Decimation = 7;
    testing::internal::CaptureStderr();
    EXPECT_FALSE(fir.Setup());
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(fir.Input.Rate, 2u);
    EXPECT_EQ(fir.DelayLine.MinCapacity, 4u);
}

TEST(FIR, PlainFilterIsTheDirectFormConvolution) {
    const std::vector<double> taps{0.5, -0.25, 2.0, 0.125};
    ExpectPolyphaseMatches(taps, 1, 1, 0);

    const std::vector<double> identity{1.0};
    Filter fir;
    fir.Taps = identity.data();
    fir.NumTaps = 1;
    ASSERT_TRUE(fir.Setup());
    ASSERT_TRUE(fir.Initialize());
    const std::vector<double> x = Ramp(20);
    EXPECT_EQ(RunFiring(fir, x), x);
}

TEST(FIR, DecimationPicksTheInputAtThePhase) {
    // One tap of 1: the output of each firing is the input at the decimation phase.
    const std::vector<double> identity{1.0};
    const std::vector<double> x{1, 2, 3, 4, 5, 6};
    for (int phase : {0, 2}) {
        Filter fir;
        Configure(fir, 1, 3, phase, 1);
        fir.Taps = identity.data();
        ASSERT_TRUE(fir.Setup());
        ASSERT_TRUE(fir.Initialize());
        const std::vector<double> expected = phase == 0 ? std::vector<double>{1, 4} : std::vector<double>{3, 6};
        EXPECT_EQ(RunFiring(fir, x), expected);
    }
    ExpectPolyphaseMatches({0.5, 1.0, -0.75, 0.25, 2.0}, 3, 1, 2);
}

TEST(FIR, InterpolationAndDecimationTogether) {
    // D = 2, I = 3, phase 1: the first input of a firing yields the phase-1 output, the
    // second yields phases 0 and 2. Taps 1, 10, 100 make each branch visible.
    const std::vector<double> taps{1.0, 10.0, 100.0};
    Filter fir;
    Configure(fir, 3, 2, 1, 3);
    fir.Taps = taps.data();
    ASSERT_TRUE(fir.Setup());
    ASSERT_TRUE(fir.Initialize());
    EXPECT_EQ(RunFiring(fir, {1.0, 2.0}), (std::vector<double>{10.0, 2.0, 200.0}));
    EXPECT_EQ(RunFiring(fir, {3.0, 4.0}), (std::vector<double>{30.0, 4.0, 400.0}));

    // Five taps, I = 2: branch 1 uses h[1] and h[3] only.
    ExpectPolyphaseMatches({1.0, 2.0, 3.0, 4.0, 5.0}, 1, 2, 0);
    ExpectPolyphaseMatches({0.3, -1.0, 0.7, 2.5, -0.2, 0.9, 1.1}, 2, 3, 1);
    ExpectPolyphaseMatches({0.3, -1.0, 0.7, 2.5, -0.2, 0.9, 1.1}, 3, 2, 2);
    ExpectPolyphaseMatches({0.3, -1.0, 0.7, 2.5}, 4, 4, 3);
}

TEST(FIR, EveryRunStartsFromSilence) {
    const std::vector<double> taps{1.0, 1.0, 1.0};
    Filter fir;
    fir.Taps = taps.data();
    fir.NumTaps = 3;
    ASSERT_TRUE(fir.Setup());
    ASSERT_TRUE(fir.Initialize());
    EXPECT_EQ(RunFiring(fir, {5, 6, 7}), (std::vector<double>{5, 11, 18}));
    EXPECT_TRUE(fir.Finalize());
    EXPECT_EQ(fir.DelayLine.Storage, nullptr);
    ASSERT_TRUE(fir.Setup());
    ASSERT_TRUE(fir.Initialize());
    EXPECT_EQ(RunFiring(fir, {1, 1}), (std::vector<double>{1, 2}));
}
