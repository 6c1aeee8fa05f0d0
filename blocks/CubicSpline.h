#pragma once

#include <cstdint>
#include <vector>

namespace Vexlor {

// Interpolating cubic spline whose end conditions match the third derivatives of the cubics
// through the first four and the last four points. Every evaluation recomputes the spline.
class CubicSpline {
public:
    // Value at u of the spline through the n points (x, y); x must rise strictly.
    // On failure Status() is nonzero and the value is 0.0.
    double Evaluate(std::int32_t n, double u, const double* x, const double* y);
    // 0 success, 1 fewer than two points, 2 abscissas not strictly increasing.
    std::int32_t Status() const { return status_; }

private:
    void ComputeCoefficients(std::int32_t n, const double* x, const double* y);
    void SetEndConditions(std::int32_t n, const double* x);
    void SolveTridiagonal(std::int32_t n);
    void ToPolynomials(std::int32_t n, const double* y);
    static std::int32_t FindInterval(std::int32_t n, double u, const double* x);

    std::uint64_t capacity_ = 0;
    std::vector<double> b_, c_, d_;
    std::int32_t status_ = 0;
};

}  // namespace Vexlor
