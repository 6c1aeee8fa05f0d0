// The coupling matrices of a package model ([Resistance Matrix], [Inductance Matrix],
// [Capacitance Matrix]): full, sparse or banded, one [Row] per pin, only the upper triangle
// (diagonal included) stored, and the checks when a matrix ends and when its model closes.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "IbisParser/row.h"

// A name repeated n times is reported once for each earlier record of that name, as pairs;
// beyond this many earlier records a repetition is not reported again, so that a file of the
// same line repeated cannot produce output that grows with the square of its length.
inline constexpr std::uint32_t MTX_PAIR_REPORT_LIMIT = 100;

enum MTX_TYPE : std::int32_t {
    MTX_NONE = 0,
    MTX_BANDED = 1,
    MTX_BANDED_WRAP = 2,  // banded with wrap-around (circle-back)
    MTX_SPARSE = 3,
    MTX_FULL = 4,
};

// Hashes pin names so that maps keyed by std::string are searched with a plain text.
struct MTX_NameHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view name) const {
        return std::hash<std::string_view>{}(name);
    }
};

struct MTX {
    std::int32_t type = MTX_NONE;
    std::uint32_t number_of_pins = 0;
    std::uint32_t bandwidth_given = 0;
    std::uint32_t bandwidth = 0;
    std::vector<MTX_ROW> rows;  // file order
    MTX_VALUES values;          // the values of full and banded rows
    // How many rows each pin name has, so that a repeated row is found without a walk.
    std::unordered_map<std::string, std::uint32_t, MTX_NameHash, std::equal_to<>> row_names;
    // The (row position, column index) pairs of a sparse matrix that hold a value.
    std::unordered_set<std::uint64_t> sparse_given;
};

// Finishes the current matrix, then makes a new one in slot from the type text and makes it
// current.
void MTX_Create(std::unique_ptr<MTX>* slot, const char* typeText, std::uint32_t numberOfPins);
// [Bandwidth] of a banded matrix.
void MTX_SetBandwidth(MTX* matrix, const char* text);
// [Row]: a new row for the pin.
void MTX_BeginRow(MTX* matrix, const char* pinName);
// One data line for the matrix's last row; the text is split in place.
void MTX_AddRowData(MTX* matrix, char* text);
// The end-of-matrix checks of the current matrix; afterwards no matrix is current.
void MTX_Finish();
// The check when the package model closes; label is "Resistance", "Inductance" or
// "Capacitance".
void MTX_Check(const char* label, const MTX* matrix);
// Releases the matrix.
void MTX_Free(std::unique_ptr<MTX>& matrix);
// Forgets the current matrix (start of a file, release of a file record).
void MTX_Reset();
