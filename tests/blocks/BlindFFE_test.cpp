#include "blocks/BlindFFE.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using Vexlor::BlindFFE;

void SetTaps(BlindFFE& ffe, const std::vector<double>& taps) {
    ffe.Taps.Reshape({taps.size(), 1});
    ffe.Taps.AssignFrom(taps.data(), taps.size());
}

std::vector<double> RunSamples(BlindFFE& ffe, const std::vector<double>& input) {
    double in = 0.0, out = 0.0;
    ffe.Input.Attach(&in, 1);
    ffe.Output.Attach(&out, 1);
    std::vector<double> result;
    for (double sample : input) {
        in = sample;
        EXPECT_TRUE(ffe.Run());
        result.push_back(out);
    }
    return result;
}

std::vector<double> HistoryOf(const BlindFFE& ffe) {  // newest first
    std::vector<double> history(ffe.DelayLine.size());
    for (std::size_t age = 0; age < history.size(); ++age) history[age] = ffe.DelayLine[age];
    return history;
}

std::vector<double> Counting(int count, double start = 1.0) {
    std::vector<double> x;
    for (int i = 0; i < count; ++i) x.push_back(start + i);
    return x;
}

}  // namespace

TEST(BlindFFE, OutputIsTheTapWeightedSumOfSymbolSpacedInputs) {
    BlindFFE single;
    ASSERT_TRUE(single.Setup() && single.Initialize());
    EXPECT_EQ(single.DelayLength, 16u);
    const std::vector<double> x = Counting(100);
    EXPECT_EQ(RunSamples(single, x), x);

    BlindFFE middle;
    SetTaps(middle, {0.0, 1.0, 0.0});
    middle.SamplesPerBit = 32;
    ASSERT_TRUE(middle.Initialize());
    EXPECT_EQ(middle.DelayLength, 96u);
    const std::vector<double> y = RunSamples(middle, x);
    for (int n = 0; n < 100; ++n) EXPECT_EQ(y[n], n < 32 ? 0.0 : x[n - 32]) << "sample " << n;

    BlindFFE adjacent;
    SetTaps(adjacent, {0.5, -0.25, 2.0});
    adjacent.SamplesPerBit = 1;
    ASSERT_TRUE(adjacent.Initialize());
    EXPECT_EQ(RunSamples(adjacent, {4, 8, 2, 0}), (std::vector<double>{2.0, 3.0, 7.0, 15.5}));
}

TEST(BlindFFE, NonPositiveSamplesPerBitIsRefused) {
    BlindFFE ffe;
    ASSERT_TRUE(ffe.Initialize());
    for (int samplesPerBit : {0, -3}) {
        ffe.SamplesPerBit = samplesPerBit;
        testing::internal::CaptureStderr();
        EXPECT_FALSE(ffe.Initialize());
        EXPECT_EQ(testing::internal::GetCapturedStderr(),
                  "SamplesPerBit must be a positive number.\n");
        EXPECT_EQ(ffe.DelayLength, 16u);
    }
}

TEST(BlindFFE, HistoryCarriesOverAndResizingKeepsTheAgeOfHeldSamples) {
    BlindFFE ffe;
    SetTaps(ffe, {1.0, 0.0});
    ffe.SamplesPerBit = 2;
    ASSERT_TRUE(ffe.Initialize());
    RunSamples(ffe, {1, 2, 3, 4, 5});
    EXPECT_EQ(HistoryOf(ffe), (std::vector<double>{5, 4, 3, 2}));

    // Same length: y[n] = x[n] + 10 x[n-2], the first two drawing on the previous run's 4 and 5.
    ASSERT_TRUE(ffe.Finalize());
    SetTaps(ffe, {1.0, 10.0});
    ASSERT_TRUE(ffe.Initialize());
    EXPECT_EQ(RunSamples(ffe, {6, 7, 8}), (std::vector<double>{46.0, 57.0, 68.0}));

    // Growing adds zeros at the old end; the taps now reach back two and four samples.
    SetTaps(ffe, {0.0, 1.0, 1.0});
    ASSERT_TRUE(ffe.Initialize());
    EXPECT_EQ(HistoryOf(ffe), (std::vector<double>{8, 7, 6, 5, 0, 0}));
    EXPECT_EQ(RunSamples(ffe, {9, 10, 11}), (std::vector<double>{7.0 + 5.0, 8.0 + 6.0, 9.0 + 7.0}));

    // Shrinking drops the oldest samples.
    SetTaps(ffe, {1.0});
    ASSERT_TRUE(ffe.Initialize());
    EXPECT_EQ(HistoryOf(ffe), (std::vector<double>{11, 10}));
}
