#include "IbisParser/rng.h"

#include "tests/IbisParser/values_helper.h"

namespace {

using RngTest = ValuesTest;

TEST_F(RngTest, ReadsNumbersScalesAndNa) {
    std::unique_ptr<RNG> value;
    EXPECT_EQ(RNG_Parse("5p NA 6p", "R_pkg", value), 1);
    ASSERT_TRUE(value);
    EXPECT_DOUBLE_EQ(value->typ, 5e-12);
    EXPECT_EQ(value->typState, RNG_NUMBER);
    EXPECT_EQ(value->min, 0.0);
    EXPECT_EQ(value->minState, RNG_NA);
    EXPECT_DOUBLE_EQ(value->max, 6e-12);
    EXPECT_EQ(value->maxState, RNG_NUMBER);

    EXPECT_EQ(RNG_Parse("  -1.5m\tna  2k  ", "Voltage Range", value), 1);
    EXPECT_DOUBLE_EQ(value->typ, -1.5e-3);
    EXPECT_EQ(value->minState, RNG_NA);
    EXPECT_DOUBLE_EQ(value->max, 2000.0);
    EXPECT_EQ(Output(), "");
}

TEST_F(RngTest, TypicalMustLieBetweenMinimumAndMaximum) {
    std::unique_ptr<RNG> value;
    // Either order of min and max, and equal values, pass.
    for (const char* inRange : {"5 6 4", "5 4 6", "4 4 6", "6 4 6", "3 3 3"}) {
        EXPECT_EQ(RNG_Parse(inRange, "C_comp", value), 1) << inRange;
    }
    EXPECT_EQ(Output(), "");

    EXPECT_EQ(RNG_Parse("3 4 6", "C_comp", value), 1);
    EXPECT_EQ(RNG_Parse("7 6 4", "C_comp", value), 1);
    EXPECT_EQ(Output(),
              "WARNING (line    7) - Typ value is not in between Min and Max \n"
              "WARNING (line    7) - Typ value is not in between Min and Max \n");

    // With a column not a number there is nothing to compare.
    EXPECT_EQ(RNG_Parse("3 NA 6", "C_comp", value), 1);
    EXPECT_EQ(RNG_Parse("3 4", "C_comp", value), 1);
    EXPECT_EQ(Output(), "ERROR (line    7) - No maximum Value Was Provided for C_comp\n");
}

TEST_F(RngTest, MissingAndExtraColumns) {
    std::unique_ptr<RNG> value;
    EXPECT_EQ(RNG_Parse("5", "R_pkg", value), 1);
    EXPECT_EQ(value->typState, RNG_NUMBER);
    EXPECT_EQ(value->minState, RNG_ABSENT);
    EXPECT_EQ(value->maxState, RNG_ABSENT);
    EXPECT_EQ(Output(),
              "ERROR (line    7) - No minimum Value Was Provided for R_pkg\n"
              "ERROR (line    7) - No maximum Value Was Provided for R_pkg\n");

    EXPECT_EQ(RNG_Parse("2 1 3 4", "R_pkg", value), 1);
    EXPECT_EQ(value->max, 3.0);
    EXPECT_EQ(Output(),
              "ERROR (line    7) - Incorrect Number of Line Items (4) For R_pkg: Expecting 3\n");

    EXPECT_EQ(RNG_Parse("", "R_pkg", value), 1);
    EXPECT_EQ(value->typState, RNG_ABSENT);
    EXPECT_EQ(Output(),
              "ERROR (line    7) - Incorrect Number of Line Items (0) For R_pkg: Expecting 3\n");

    EXPECT_EQ(CmnCapture::Counts(), (std::array<std::uint32_t, 3>{0, 4, 0}));
}

TEST_F(RngTest, ColumnErrorsAndSuspiciousScales) {
    std::unique_ptr<RNG> value;
    EXPECT_EQ(RNG_Parse("5 x 6", "R_pkg", value), 0);
    ASSERT_TRUE(value);
    EXPECT_EQ(value->minState, RNG_ABSENT);
    EXPECT_EQ(value->maxState, RNG_NUMBER);
    EXPECT_EQ(RNG_Parse("10% 1 2", "R_pkg", value), 0);
    EXPECT_EQ(Output(),
              "ERROR (line    7) - Invalid Minimum Value (\"x\")\n"
              "ERROR (line    7) - Invalid Typical Value (\"10%\")\n");

    // A digit after the scale letter is suspicious but read; 1.5n lies between 1n and 2n.
    EXPECT_EQ(RNG_Parse("1.5n2 1n 2n", "L_pkg", value), 1);
    EXPECT_DOUBLE_EQ(value->typ, 1.5e-9);
    EXPECT_EQ(value->typState, RNG_NUMBER);
    // The 58-character message goes on a line of its own.
    EXPECT_EQ(Output(),
              "WARNING (line    7) -\n"
              "    Suspicious Typical L_pkg Value (\"1.5n2\"); Numeric in Scale\n");
}

}  // namespace
