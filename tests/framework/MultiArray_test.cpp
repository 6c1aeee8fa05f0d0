#include "framework/MultiArray.h"

#include <gtest/gtest.h>

#include <complex>
#include <vector>

using Vexlor::MultiArray;

namespace {

std::vector<double> Values(const MultiArray<>& array) {
    return std::vector<double>(array.Data(), array.Data() + array.Total());
}

}  // namespace

TEST(MultiArray, ShapesTotalsAndStrides) {
    MultiArray<> array;
    EXPECT_EQ(array.DimensionCount(), 2u);
    EXPECT_EQ(array.Extent(0) + array.Extent(1) + array.Total() + array.Capacity(), 0u);
    array.Reshape({2, 3, 4});
    EXPECT_EQ(array.Total(), 24u);
    EXPECT_EQ(array.Stride(0), 1u);
    EXPECT_EQ(array.Stride(1), 2u);
    EXPECT_EQ(array.Stride(2), 6u);
    array.Reshape(0, nullptr);
    EXPECT_EQ(array.Total(), 1u);
    array.Reshape(2, nullptr);
    EXPECT_EQ(array.Total(), 0u);
}

TEST(MultiArray, ReshapeWithinCapacityKeepsValues) {
    MultiArray<> array;
    array.Reshape({1, 3});
    const double taps[] = {0.0, 1.0, 0.0};
    array.AssignFrom(taps, 3);
    array.Reshape({3, 1});
    EXPECT_EQ(array.Extent(0), 3u);
    EXPECT_EQ(array.Stride(1), 3u);
    EXPECT_EQ(Values(array), (std::vector<double>{0, 1, 0}));
    array.Reshape({2, 2});
    EXPECT_EQ(array.Total(), 4u);
    EXPECT_EQ(array.Capacity(), 4u);
}

TEST(MultiArray, AssignFromAndCopyOutZeroTheRest) {
    MultiArray<> array;
    array.Reshape({3});
    const double values[] = {4.0, 5.0, 6.0, 7.0};
    array.AssignFrom(values, 2);
    EXPECT_EQ(Values(array), (std::vector<double>{4, 5, 0}));
    std::vector<double> out(5, 9.0);
    array.CopyOut(out.data(), 5);
    EXPECT_EQ(out, (std::vector<double>{4, 5, 0, 0, 0}));
    array.AssignFrom(values, 4);
    array.CopyOut(out.data(), 2);
    EXPECT_EQ(out, (std::vector<double>{4, 5, 0, 0, 0}));
    EXPECT_EQ(Values(array), (std::vector<double>{4, 5, 6}));

    MultiArray<std::complex<double>> poles;
    poles.Reshape({2});
    const std::complex<double> pole{-1.0, 2.0};
    poles.AssignFrom(&pole, 1);
    EXPECT_EQ(poles.Data()[0], pole);
    EXPECT_EQ(poles.Data()[1], std::complex<double>{});
}
