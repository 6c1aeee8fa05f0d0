#pragma once

#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <vector>

namespace Vexlor {

// N-dimensional array for parameters (taps, coefficients, poles, zeros); the first index
// varies fastest. Reshaping within the allocated capacity keeps the stored values.
template <typename T = double>
class MultiArray {
public:
    // A new array has two dimensions of extent 0 and holds nothing.
    MultiArray() : dimensions_(2, 0), strides_(2, 0) {}

    // Sets the shape; extents may be null only when dimensionCount is 0 (total 1) or to
    // mean "no extents" (total 0). Data is reallocated, contents undefined, only when the
    // new total exceeds the capacity.
    void Reshape(std::uint64_t dimensionCount, const std::uint64_t* extents) {
        std::uint64_t total = extents == nullptr && dimensionCount != 0 ? 0 : 1;
        for (std::uint64_t k = 0; extents != nullptr && k < dimensionCount; ++k)
            total *= extents[k];
        if (dimensionCount > dimensionCount_) {
            dimensions_.assign(dimensionCount, 0);
            strides_.assign(dimensionCount, 0);
        }
        dimensionCount_ = dimensionCount;
        total_ = total;
        if (data_.size() < total) data_ = std::vector<T>(total);
        std::uint64_t stride = 1;
        for (std::uint64_t k = 0; k < dimensionCount; ++k) {
            dimensions_[k] = extents == nullptr ? 0 : extents[k];
            strides_[k] = stride;
            stride *= dimensions_[k];
        }
    }
    void Reshape(std::initializer_list<std::uint64_t> extents) {
        Reshape(extents.size(), extents.begin());
    }

    // Copies min(n, total) values from src and zeroes the rest of the array.
    void AssignFrom(const T* src, std::uint64_t n) {
        std::uint64_t copied = std::min(n, total_);
        std::copy_n(src, copied, data_.data());
        std::fill(data_.data() + copied, data_.data() + total_, T{});
    }
    // Copies min(n, total) elements into dst and zeroes the rest of dst up to n.
    void CopyOut(T* dst, std::uint64_t n) const {
        std::uint64_t copied = std::min(n, total_);
        std::copy_n(data_.data(), copied, dst);
        std::fill(dst + copied, dst + n, T{});
    }

    T* Data() { return data_.data(); }
    const T* Data() const { return data_.data(); }
    std::uint64_t Total() const { return total_; }
    std::uint64_t Capacity() const { return data_.size(); }
    std::uint64_t DimensionCount() const { return dimensionCount_; }
    const std::uint64_t* Dimensions() const { return dimensions_.data(); }
    std::uint64_t Extent(std::uint64_t k) const { return dimensions_[k]; }
    std::uint64_t Stride(std::uint64_t k) const { return strides_[k]; }

private:
    std::vector<T> data_;
    std::uint64_t dimensionCount_ = 2;
    std::vector<std::uint64_t> dimensions_;
    std::uint64_t total_ = 0;
    std::vector<std::uint64_t> strides_;
};

}  // namespace Vexlor
