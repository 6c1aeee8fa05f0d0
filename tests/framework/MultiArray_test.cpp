#include "framework/MultiArray.h"

#include <gtest/gtest.h>

#include <complex>

using Vexlor::MultiArray;

TEST(MultiArray, NewArrayIsTwoEmptyDimensions) {
    MultiArray<> array;
    EXPECT_EQ(array.DimensionCount(), 2u);
    EXPECT_EQ(array.Extent(0), 0u);
    EXPECT_EQ(array.Extent(1), 0u);
    EXPECT_EQ(array.Total(), 0u);
    EXPECT_EQ(array.Capacity(), 0u);
}

TEST(MultiArray, ReshapeWithinCapacityKeepsValues) {
    MultiArray<> array;
    array.Reshape({1, 3});
    const double taps[] = {0.0, 1.0, 0.0};
    array.AssignFrom(taps, 3);
    array.Reshape({3, 1});
    EXPECT_EQ(array.Total(), 3u);
    EXPECT_EQ(array.Extent(0), 3u);
    EXPECT_EQ(array.Stride(1), 3u);
    EXPECT_EQ(array.Data()[0], 0.0);
    EXPECT_EQ(array.Data()[1], 1.0);
    EXPECT_EQ(array.Data()[2], 0.0);
    array.Reshape({2, 2});
    EXPECT_EQ(array.Total(), 4u);
    EXPECT_EQ(array.Capacity(), 4u);
}

TEST(MultiArray, StridesAndSpecialTotals) {
    MultiArray<> array;
    array.Reshape({2, 3, 4});
    EXPECT_EQ(array.DimensionCount(), 3u);
    EXPECT_EQ(array.Total(), 24u);
    EXPECT_EQ(array.Stride(0), 1u);
    EXPECT_EQ(array.Stride(1), 2u);
    EXPECT_EQ(array.Stride(2), 6u);
    array.Reshape(0, nullptr);
    EXPECT_EQ(array.Total(), 1u);
    array.Reshape(2, nullptr);
    EXPECT_EQ(array.Total(), 0u);
}

TEST(MultiArray, AssignFromAndCopyOutZeroTheRest) {
    MultiArray<> array;
    array.Reshape({3});
    const double two[] = {4.0, 5.0};
    array.AssignFrom(two, 2);
    double out[5] = {9, 9, 9, 9, 9};
    array.CopyOut(out, 5);
    EXPECT_EQ(out[0], 4.0);
    EXPECT_EQ(out[1], 5.0);
    EXPECT_EQ(out[2], 0.0);
    EXPECT_EQ(out[3], 0.0);
    EXPECT_EQ(out[4], 0.0);
    const double many[] = {1, 2, 3, 4};
    array.AssignFrom(many, 4);
    double first[2] = {0, 0};
    array.CopyOut(first, 2);
    EXPECT_EQ(first[1], 2.0);
    EXPECT_EQ(array.Data()[2], 3.0);
}

TEST(MultiArray, HoldsComplexValues) {
    MultiArray<std::complex<double>> poles;
    poles.Reshape({2});
    const std::complex<double> values[] = {{-1.0, 2.0}};
    poles.AssignFrom(values, 1);
    EXPECT_EQ(poles.Data()[0], std::complex<double>(-1.0, 2.0));
    EXPECT_EQ(poles.Data()[1], std::complex<double>(0.0, 0.0));
}
