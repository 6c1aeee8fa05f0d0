#include "blocks/BiquadCascade.h"

#include "tests/blocks/CascadeDriver.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

namespace {

using Vexlor::BiquadCascade;
using namespace cascade_test;

TEST(BiquadCascade, NormalisesByD0AndFiltersAsDirectFormTwo) {
    std::vector<double> identity = {1, 0, 0, 1, 0, 0};
    BiquadCascade pass;
    Configure(pass, identity, 1);
    ASSERT_TRUE(pass.Initialize());
    const Samples input = {0.5, -3.0, 1e-300, 7.25, 0.0, -0.125};
    EXPECT_EQ(Drive(pass, input), input);

    std::vector<double> taps = {2, 0, 0, 2, -1, 0};
    BiquadCascade halving;
    Configure(halving, taps, 1);
    std::string errors;
    ASSERT_TRUE(InitializeCapturing(halving, errors));
    EXPECT_EQ(errors, "");
    EXPECT_EQ(halving.NumBiquads, 1u);
    EXPECT_EQ(taps, (std::vector<double>{1, 0, 0, 1, -0.5, 0}));
    EXPECT_EQ(Drive(halving, Impulse(5)), (Samples{1, 0.5, 0.25, 0.125, 0.0625}));
}

// Section 1: (2, 1, 0.5, 2, -0.5, 0.25), that is (1 + 0.5/z + 0.25/z^2) / (1 - 0.25/z + 0.125/z^2).
// Section 2: (1, -1, 0, 4, 0, 1), that is (0.25 - 0.25/z) / (1 + 0.25/z^2).
std::vector<double> TwoSections() { return {2, 1, 0.5, 2, -0.5, 0.25, 1, -1, 0, 4, 0, 1}; }

TEST(BiquadCascade, OutputsCarryTheCascadeAndItsIntermediateSignalsFromSilenceEachRun) {
    std::vector<double> taps = TwoSections();
    BiquadCascade block;
    Configure(block, taps, 2);
    ASSERT_TRUE(block.Initialize());
    const std::vector<double> normalised = {1,    0.5,   0.25, 1, -0.25, 0.125,
                                            0.25, -0.25, 0,    1, 0,     0.25};
    EXPECT_EQ(taps, normalised);

    const std::vector<Samples> impulse = DriveAll(block, Impulse(3));
    EXPECT_EQ(impulse[1], (Samples{1, 0.75, 0.3125}));
    EXPECT_EQ(impulse[0], (Samples{0.25, -0.0625, -0.171875}));

    // A second run starts from silence with the same table: the two sections as difference
    // equations on their outputs (direct form I).
    ASSERT_TRUE(block.Finalize());
    ASSERT_TRUE(block.Initialize());
    EXPECT_EQ(taps, normalised);
    const Samples input = {1, -2, 0.5, 3, 0, 0, 1, 0, 0, 0, -1, 2};
    const std::vector<Samples> outputs = DriveAll(block, input);
    Samples first(input.size() + 2, 0.0), second(input.size() + 2, 0.0);
    auto x = [&](std::size_t n) { return n < 2 ? 0.0 : input[n - 2]; };
    for (std::size_t n = 2; n < first.size(); ++n) {
        first[n] =
            x(n) + 0.5 * x(n - 1) + 0.25 * x(n - 2) + 0.25 * first[n - 1] - 0.125 * first[n - 2];
        second[n] = 0.25 * first[n] - 0.25 * first[n - 1] - 0.25 * second[n - 2];
        EXPECT_NEAR(outputs[1][n - 2], first[n], 1e-12) << "sample " << n - 2;
        EXPECT_NEAR(outputs[0][n - 2], second[n], 1e-12) << "sample " << n - 2;
    }
}

TEST(BiquadCascade, UnusableTablesAndOutputCountsAreReported) {
    std::vector<double> two = TwoSections();
    BiquadCascade tooMany;
    Configure(tooMany, two, 3);
    std::string errors;
    EXPECT_FALSE(InitializeCapturing(tooMany, errors));
    EXPECT_EQ(errors,
              "The number of outputs must be less than or equal to the number of biquads in the "
              "cascade.  Currently, there are 3 outputs and 2 biquads.\n");
    EXPECT_EQ(tooMany.State1, (std::vector<double>{0, 0}));
    EXPECT_EQ(tooMany.State2, (std::vector<double>{0, 0}));

    std::vector<double> ones(12, 1.0);
    for (int count : {5, 0, 7, -6}) {
        BiquadCascade block;
        block.Taps = ones.data();
        block.NumTaps = count;
        EXPECT_FALSE(InitializeCapturing(block, errors));
        EXPECT_EQ(errors,
                  "The number of parameter taps must not be zero and must be a multiple of 6 taps. "
                  "There are currently " +
                      std::to_string(count) + " taps.\n");
        EXPECT_EQ(ones, std::vector<double>(12, 1.0));
    }

    // Sections before the bad one are already normalised.
    for (double d0 : {0.0, -0.0, 4.9e-324, 1e-310}) {
        std::vector<double> taps = {4, 2, 1, 2, 1, 0.5, 1, 0, 0, d0, 0, 0};
        BiquadCascade block;
        Configure(block, taps, 0);
        EXPECT_FALSE(InitializeCapturing(block, errors));
        EXPECT_EQ(errors, "The D0 coefficient for biquad number 2 cannot be zero. \n");
        EXPECT_EQ(taps, (std::vector<double>{2, 1, 0.5, 1, 0.5, 0.25, 1, 0, 0, d0, 0, 0}));
    }
    std::vector<double> smallest = {1, 0, 0, std::numeric_limits<double>::min(), 0, 0};
    BiquadCascade block;
    Configure(block, smallest, 0);
    EXPECT_TRUE(block.Initialize());
    EXPECT_EQ(smallest[3], 1.0);
}

TEST(BiquadCascade, RunWithoutOutputsStillAdvancesTheState) {
    std::vector<double> taps = {1, 0, 0, 1, -0.5, 0};
    BiquadCascade block;
    Configure(block, taps, 0);
    ASSERT_TRUE(block.Initialize());
    EXPECT_TRUE(DriveAll(block, Impulse(2)).empty());

    block.Outputs.Resize(1);
    EXPECT_EQ(Drive(block, Samples(2, 0.0)), (Samples{0.25, 0.125}));
}

}  // namespace
