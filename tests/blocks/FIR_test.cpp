#include "blocks/FIR.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Filter = Vexlor::FIR<double, 0>;

void Configure(Filter& fir, int numTaps, int decimation, int phase, int interpolation) {
    fir.NumTaps = numTaps;
    fir.Decimation = decimation;
    fir.DecimationPhase = phase;
    fir.Interpolation = interpolation;
}

// The block keeps a pointer to taps, which must outlive it.
void Start(Filter& fir, const std::vector<double>& taps, int decimation, int phase,
           int interpolation) {
    Configure(fir, static_cast<int>(taps.size()), decimation, phase, interpolation);
    fir.Taps = taps.data();
    ASSERT_TRUE(fir.Setup());
    ASSERT_TRUE(fir.Initialize());
}

// Setup's result and everything it wrote to standard error.
std::string SetupMessages(int numTaps, int decimation, int phase, int interpolation, bool& result) {
    Filter fir;
    Configure(fir, numTaps, decimation, phase, interpolation);
    testing::internal::CaptureStderr();
    result = fir.Setup();
    return testing::internal::GetCapturedStderr();
}

// Runs the block firing by firing over input (whole firings only); returns all outputs.
std::vector<double> RunFirings(Filter& fir, const std::vector<double>& input) {
    const auto decimation = static_cast<std::size_t>(fir.Decimation);
    std::vector<double> in(decimation), out(static_cast<std::size_t>(fir.Interpolation)), result;
    fir.Input.Attach(in.data(), in.size());
    fir.Output.Attach(out.data(), out.size());
    for (std::size_t first = 0; first + decimation <= input.size(); first += decimation) {
        std::copy_n(input.begin() + static_cast<std::ptrdiff_t>(first), decimation, in.begin());
        EXPECT_TRUE(fir.Run());
        result.insert(result.end(), out.begin(), out.end());
    }
    return result;
}

// The plain definition: insert I-1 zeros after every input, convolve with the taps, keep every
// D-th sample from the phase on.
std::vector<double> UpsampleFilterDecimate(const std::vector<double>& taps,
                                           const std::vector<double>& x, std::size_t decimation,
                                           std::size_t interpolation, std::size_t phase) {
    std::vector<double> upsampled(x.size() * interpolation, 0.0);
    for (std::size_t i = 0; i < x.size(); ++i) upsampled[i * interpolation] = x[i];
    std::vector<double> result;
    for (std::size_t n = phase; n < upsampled.size(); n += decimation) {
        double sum = 0.0;
        for (std::size_t m = 0; m < taps.size() && m <= n; ++m) sum += taps[m] * upsampled[n - m];
        result.push_back(sum);
    }
    return result;
}

void ExpectMatchesDefinition(const std::vector<double>& taps, int decimation, int phase,
                             int interpolation) {
    Filter fir;
    Start(fir, taps, decimation, phase, interpolation);
    std::vector<double> x;
    for (int i = 0; i < decimation * 12; ++i) x.push_back(1.0 + 0.5 * (i % 7) - 0.25 * (i % 3));
    const std::vector<double> got = RunFirings(fir, x);
    const std::vector<double> expected = UpsampleFilterDecimate(
        taps, x, static_cast<std::size_t>(decimation), static_cast<std::size_t>(interpolation),
        static_cast<std::size_t>(phase));
    ASSERT_EQ(got.size(), expected.size());
    for (std::size_t i = 0; i < got.size(); ++i)
        EXPECT_DOUBLE_EQ(got[i], expected[i]) << "output " << i;
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
    EXPECT_EQ(SetupMessages(3, 1, 0, 0, ok), "Interpolation must be > 0\n");
    EXPECT_EQ(
        SetupMessages(0, -1, -1, -1, ok),
        "There must be at least one Tap\nDecimation must be > 0\nDecimationPhase must be >= 0\n"
        "DecimationPhase must be < Decimation ratio\nInterpolation must be > 0\n");
    EXPECT_FALSE(ok);
    EXPECT_EQ(SetupMessages(3, 1, 0, 1, ok), "");
    EXPECT_TRUE(ok);
}

TEST(FIR, SetupSetsRatesAndGeometryOnlyWhenValid) {
    Filter fir;
    Configure(fir, 5, 2, 1, 3);
    ASSERT_TRUE(fir.Setup());
    EXPECT_EQ(fir.Input.Rate, 2u);
    EXPECT_EQ(fir.Output.MinCapacity, 3u);

    Configure(fir, 5, 7, 0, 0);
    testing::internal::CaptureStderr();
    EXPECT_FALSE(fir.Setup());
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(fir.Input.Rate, 2u);
}

TEST(FIR, DecimationPicksTheInputAtThePhase) {
    const std::vector<double> x{1, 2, 3, 4, 5, 6};
    const std::vector<double> identity{1.0};
    Filter first, last;
    Start(first, identity, 3, 0, 1);
    Start(last, identity, 3, 2, 1);
    EXPECT_EQ(RunFirings(first, x), (std::vector<double>{1, 4}));
    EXPECT_EQ(RunFirings(last, x), (std::vector<double>{3, 6}));
    ExpectMatchesDefinition({0.5, -0.25, 2.0, 0.125}, 1, 0, 1);
    ExpectMatchesDefinition({0.5, 1.0, -0.75, 0.25, 2.0}, 3, 2, 1);
}

TEST(FIR, InterpolationAndDecimationTogether) {
    // D = 2, I = 3, phase 1: the first input of a firing yields the phase-1 output, the
    // second yields phases 0 and 2. Taps 1, 10, 100 make each branch visible.
    Filter fir;
    const std::vector<double> taps{1.0, 10.0, 100.0};
    Start(fir, taps, 2, 1, 3);
    EXPECT_EQ(RunFirings(fir, {1.0, 2.0, 3.0, 4.0}), (std::vector<double>{10, 2, 200, 30, 4, 400}));
    // Five taps, I = 2: branch 1 has h[1] and h[3] only.
    ExpectMatchesDefinition({1.0, 2.0, 3.0, 4.0, 5.0}, 1, 0, 2);
    ExpectMatchesDefinition({0.3, -1.0, 0.7, 2.5, -0.2, 0.9, 1.1}, 2, 1, 3);
    ExpectMatchesDefinition({0.3, -1.0, 0.7, 2.5, -0.2, 0.9, 1.1}, 3, 2, 2);
}

TEST(FIR, EveryRunStartsFromSilence) {
    Filter fir;
    const std::vector<double> taps{1.0, 1.0, 1.0};
    Start(fir, taps, 1, 0, 1);
    EXPECT_EQ(RunFirings(fir, {5, 6, 7}), (std::vector<double>{5, 11, 18}));
    EXPECT_TRUE(fir.Finalize());
    EXPECT_EQ(fir.DelayLine.Storage, nullptr);
    Start(fir, taps, 1, 0, 1);
    EXPECT_EQ(RunFirings(fir, {1, 1}), (std::vector<double>{1, 2}));
}
