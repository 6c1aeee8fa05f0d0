// One [Row] of a package model matrix: its pin, its column count and the values given. Only
// what the file gives is stored: the values of a full or banded row in column order (an entry
// past the last value is absent), the column-value pairs of a sparse row.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

struct MTX_ROW {
    std::string pin;                 // at most 5 characters
    std::uint32_t self_coupled = 0;  // 1 once the row holds the entry of its own pin
    std::uint32_t column_count = 0;
    std::uint32_t position = 0;  // 1-based place in the matrix's rows
    std::vector<double> entries;
    std::vector<std::pair<std::uint32_t, double>> sparse_entries;  // column index, value
};

// The number of entries present from the first up to the first absent one.
std::uint32_t ROW_ValuesGiven(const MTX_ROW& row);
// Stores the next value of a full or banded row: 1; 0 when the row is full; -1 after error
// 3106 (no memory for the value).
int ROW_AddValue(MTX_ROW& row, double value);
// Reads one value of row data: 1 stored in value (warning 3104 when characters follow the
// number), 0 after error 3103.
int ROW_ReadValue(const char* text, double* value);
