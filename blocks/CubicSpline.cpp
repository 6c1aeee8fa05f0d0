#include "blocks/CubicSpline.h"

namespace Vexlor {

double CubicSpline::Evaluate(std::int32_t n, double u, const double* x, const double* y) {
    if (n > 0 && static_cast<std::uint64_t>(n) > capacity_) {
        capacity_ = static_cast<std::uint64_t>(n);
        b_.assign(capacity_, 0.0);
        c_.assign(capacity_, 0.0);
        d_.assign(capacity_, 0.0);
    }
    status_ = 0;
    ComputeCoefficients(n, x, y);
    if (status_ != 0) return 0.0;
    const std::int32_t i = FindInterval(n, u, x);
    const double w = u - x[i];
    return ((d_[i] * w + c_[i]) * w + b_[i]) * w + y[i];
}

void CubicSpline::ComputeCoefficients(std::int32_t n, const double* x, const double* y) {
    if (n < 2) {
        status_ = 1;
        return;
    }
    for (std::int32_t i = 1; i < n; ++i) {
        if (!(x[i - 1] < x[i])) {
            status_ = 2;
            return;
        }
    }
    double* b = b_.data();
    double* c = c_.data();
    double* d = d_.data();
    if (n == 2) {
        b[0] = b[1] = (y[1] - y[0]) / (x[1] - x[0]);
        c[0] = c[1] = d[0] = d[1] = 0.0;
        return;
    }
    // Until ToPolynomials, d holds the interval widths and c the divided differences.
    d[0] = x[1] - x[0];
    c[1] = (y[1] - y[0]) / d[0];
    for (std::int32_t i = 1; i <= n - 2; ++i) {
        d[i] = x[i + 1] - x[i];
        b[i] = 2.0 * (d[i - 1] + d[i]);
        c[i + 1] = (y[i + 1] - y[i]) / d[i];
        c[i] = c[i + 1] - c[i];
    }
    SetEndConditions(n, x);
    SolveTridiagonal(n);
    ToPolynomials(n, y);
}

void CubicSpline::SetEndConditions(std::int32_t n, const double* x) {
    double* b = b_.data();
    double* c = c_.data();
    const double* d = d_.data();
    b[0] = -d[0];
    b[n - 1] = -d[n - 2];
    c[0] = 0.0;
    c[n - 1] = 0.0;
    if (n > 3) {
        c[0] = c[2] / (x[3] - x[1]) - c[1] / (x[2] - x[0]);
        c[n - 1] = c[n - 2] / (x[n - 1] - x[n - 3]) - c[n - 3] / (x[n - 2] - x[n - 4]);
        c[0] = c[0] * (d[0] * d[0]) / (x[3] - x[0]);
        c[n - 1] = -c[n - 1] * (d[n - 2] * d[n - 2]) / (x[n - 1] - x[n - 4]);
    }
}

void CubicSpline::SolveTridiagonal(std::int32_t n) {
    double* b = b_.data();
    double* c = c_.data();
    const double* d = d_.data();
    for (std::int32_t i = 1; i < n; ++i) {
        const double q = d[i - 1] / b[i - 1];
        b[i] = b[i] - q * d[i - 1];
        c[i] = c[i] - q * c[i - 1];
    }
    c[n - 1] = c[n - 1] / b[n - 1];
    for (std::int32_t i = n - 2; i >= 0; --i) c[i] = (c[i] - d[i] * c[i + 1]) / b[i];
}

void CubicSpline::ToPolynomials(std::int32_t n, const double* y) {
    double* b = b_.data();
    double* c = c_.data();
    double* d = d_.data();
    b[n - 1] = (y[n - 1] - y[n - 2]) / d[n - 2] + d[n - 2] * (c[n - 2] + 2.0 * c[n - 1]);
    for (std::int32_t i = 0; i <= n - 2; ++i) {
        b[i] = (y[i + 1] - y[i]) / d[i] - d[i] * (c[i + 1] + 2.0 * c[i]);
        d[i] = (c[i + 1] - c[i]) / d[i];
        c[i] = 3.0 * c[i];
    }
    c[n - 1] = 3.0 * c[n - 1];
    d[n - 1] = d[n - 2];
}

// The interval whose cubic serves u: 0 below x[1], the last point's above x[n-1].
std::int32_t CubicSpline::FindInterval(std::int32_t n, double u, const double* x) {
    if (x[0] <= u && u <= x[1]) return 0;
    std::int32_t lo = 0;
    std::int32_t hi = n;
    do {
        const std::int32_t mid = (lo + hi) / 2;
        if (x[mid] > u) {
            hi = mid;
        } else {
            lo = mid;
        }
    } while (hi > lo + 1);
    return lo;
}

}  // namespace Vexlor
