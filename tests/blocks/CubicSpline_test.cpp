#include "blocks/CubicSpline.h"

#include <gtest/gtest.h>

#include <vector>

using Vexlor::CubicSpline;

TEST(CubicSpline, ReproducesACubicInsideAndOutsideItsPoints) {
    auto cubic = [](double u) { return 1.0 + u - 2.0 * u * u + 0.5 * u * u * u; };
    const std::vector<double> x{-1.0, 0.0, 0.5, 2.0, 2.5, 4.0};
    std::vector<double> y;
    for (double u : x) y.push_back(cubic(u));
    CubicSpline spline;
    for (double u : {-2.0, -1.0, -0.3, 0.25, 1.0, 2.0, 3.1, 4.0, 5.5}) {
        EXPECT_NEAR(spline.Evaluate(6, u, x.data(), y.data()), cubic(u), 1e-10) << "at " << u;
        EXPECT_EQ(spline.Status(), 0);
    }
    // Fewer points after more: the same object serves any count.
    EXPECT_NEAR(spline.Evaluate(4, 1.0, x.data(), y.data()), cubic(1.0), 1e-10);
}

TEST(CubicSpline, TwoPointsMakeALineAndBadPointsGiveZero) {
    const double x[] = {1.0, 3.0, 3.0, 4.0};
    const double y[] = {2.0, 6.0, 5.0, 5.0};
    CubicSpline spline;
    EXPECT_DOUBLE_EQ(spline.Evaluate(2, 2.5, x, y), 5.0);
    EXPECT_DOUBLE_EQ(spline.Evaluate(2, 0.0, x, y), 0.0);
    EXPECT_EQ(spline.Status(), 0);
    EXPECT_EQ(spline.Evaluate(4, 2.0, x, y), 0.0);
    EXPECT_EQ(spline.Status(), 2);
    EXPECT_EQ(spline.Evaluate(1, 2.0, x, y), 0.0);
    EXPECT_EQ(spline.Status(), 1);
}
