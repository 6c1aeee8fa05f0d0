// One [Row] of a package model matrix: its pin, its column count and the values given. Only
// what the file gives is stored: the values of a full or banded row in column order (an entry
// past the last value is absent), kept in its matrix's value store, and the column-value pairs
// of a sparse row.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

// The values of a matrix's full or banded rows, row after row, in blocks of fixed size: adding
// a value never moves the values before it, and at most one block is partly unused.
class MTX_VALUES {
public:
    std::size_t size() const { return size_; }
    double operator[](std::size_t index) const {
        return blocks_[index / kBlockSize][index % kBlockSize];
    }
    // May throw std::bad_alloc.
    void push_back(double value) {
        if (size_ % kBlockSize == 0)
            blocks_.push_back(std::make_unique_for_overwrite<double[]>(kBlockSize));
        blocks_.back()[size_ % kBlockSize] = value;
        ++size_;
    }

private:
    static constexpr std::size_t kBlockSize = 8192;
    std::vector<std::unique_ptr<double[]>> blocks_;
    std::size_t size_ = 0;
};

struct MTX_ROW {
    std::string pin;                 // at most 5 characters
    std::uint32_t self_coupled = 0;  // 1 once the row holds the entry of its own pin
    std::uint32_t column_count = 0;
    std::uint32_t position = 0;  // 1-based place in the matrix's rows
    // Full and banded rows: the row's values are values[first, first + given) of the matrix's
    // value store. Values only ever go to a matrix's last row, so each row's values follow the
    // previous row's in one array.
    std::size_t first = 0;
    std::uint32_t given = 0;
    std::vector<std::pair<std::uint32_t, double>> sparse_entries;  // column index, value
};

// The number of entries present from the first up to the first absent one.
std::uint32_t ROW_ValuesGiven(const MTX_ROW& row);
// Stores the next value of a full or banded row, the last row of the matrix whose value store
// is values: 1; 0 when the row is full; -1 after error 3106 (no memory for the value).
int ROW_AddValue(MTX_ROW& row, MTX_VALUES& values, double value);
// Reads one value of row data: 1 stored in value (warning 3104 when characters follow the
// number), 0 after error 3103.
int ROW_ReadValue(const char* text, double* value);
