// Package model matrices: creation by type, [Bandwidth], rows with their column counts, row
// data by matrix type (with the conversion of a banded matrix to its wrap-around form), and
// the checks when a matrix ends and when its model closes.
#include "IbisParser/mtx.h"

#include <cstring>
#include <new>

#include "IbisParser/cmn.h"
#include "IbisParser/pkgmdl.h"

namespace {

MTX* currentMatrix = nullptr;

// The next item of text, cut off in place at its first blank or tab; nullptr at the end.
char* NextItem(char*& cursor) {
    char* start = cursor;
    while (*start == ' ' || *start == '\t') ++start;
    if (*start == '\0') {
        cursor = start;
        return nullptr;
    }
    char* end = start;
    while (*end != '\0' && *end != ' ' && *end != '\t') ++end;
    if (*end != '\0') {
        *end = '\0';
        ++end;
    }
    cursor = end;
    return start;
}

// The columns of the next row: from the diagonal to the last pin for a full matrix, every pin
// for a sparse one, the band (cut by the last pin unless it wraps around) for a banded one.
std::uint32_t NextColumnCount(const MTX& matrix) {
    std::uint64_t rows = matrix.rows.size();
    std::uint64_t pins = matrix.number_of_pins;
    std::uint64_t band = static_cast<std::uint64_t>(matrix.bandwidth) + 1;
    std::uint64_t count = 0;
    switch (matrix.type) {
    case MTX_FULL: count = rows >= pins ? 0 : pins - rows; break;
    case MTX_SPARSE: count = pins; break;
    case MTX_BANDED:
        if (rows <= pins) count = band + rows > pins ? pins - rows : band;
        break;
    case MTX_BANDED_WRAP:
        if (rows <= pins) count = band;
        break;
    default: break;
    }
    return count > UINT32_MAX ? UINT32_MAX : static_cast<std::uint32_t>(count);
}

// A full banded row that receives one more value: a row near the end of the matrix, cut
// short by the last pin, turns the matrix into its wrap-around form, in which every row has
// the whole band. Returns whether the value may be stored.
bool WrapAround(MTX& matrix, MTX_ROW& row) {
    std::uint32_t band = matrix.bandwidth + 1;
    std::uint64_t reach = static_cast<std::uint64_t>(row.position) + row.column_count;
    if (row.column_count == band || reach <= matrix.number_of_pins ||
        matrix.type == MTX_BANDED_WRAP) {
        CMN_ErrorLine(3107, row.column_count);
        return false;
    }
    matrix.type = MTX_BANDED_WRAP;
    std::uint32_t limit = (matrix.number_of_pins - 1) / 2;
    if (matrix.bandwidth > limit) {
        CMN_ErrorLine(3708, limit);
        return false;
    }
    for (MTX_ROW& each : matrix.rows) {
        if (each.column_count < band) each.column_count = band;
    }
    return true;
}

// The values of a full or banded line, in column order. A row that is already full is an
// error in a full matrix; in a banded one it may turn the matrix into its wrap-around form.
void AddRowValues(MTX& matrix, MTX_ROW& row, char* cursor, bool banded) {
    while (char* item = NextItem(cursor)) {
        double value = 0.0;
        if (!ROW_ReadValue(item, &value)) return;
        int stored = ROW_AddValue(row, matrix.values, value);
        if (stored < 0) return;
        if (stored == 0) {
            if (!banded) {
                CMN_ErrorLine(3105);
                return;
            }
            if (!WrapAround(matrix, row)) return;
            if (ROW_AddValue(row, matrix.values, value) <= 0) return;
        }
    }
}

// A sparse line: the column pin and its value.
void AddSparseValue(MTX& matrix, MTX_ROW& row, char* cursor) {
    char* column = NextItem(cursor);
    if (column == nullptr) {
        CMN_ErrorLine(3110);
        return;
    }
    if (row.pin == column) row.self_coupled = 1;
    std::uint32_t index = 0;
    if (!PKGMDL_PinIndex(column, &index)) {
        CMN_ErrorLine(3100, column);
        return;
    }
    if (index < row.position) {
        CMN_ErrorLine(3111);
        return;
    }
    std::uint64_t key = (static_cast<std::uint64_t>(row.position) << 32) | index;
    if (matrix.sparse_given.contains(key)) {
        CMN_ErrorLine(3113, index);
        return;
    }
    char* valueText = NextItem(cursor);
    if (valueText == nullptr) {
        CMN_ErrorLine(3114);
        return;
    }
    double value = 0.0;
    if (!ROW_ReadValue(valueText, &value)) return;
    try {
        row.sparse_entries.emplace_back(index, value);
        matrix.sparse_given.insert(key);
    } catch (const std::bad_alloc&) {
        CMN_ErrorLine(3106);
        return;
    }
    if (char* extra = NextItem(cursor)) CMN_ErrorLine(3115, extra);
}

bool Banded(std::int32_t type) { return type == MTX_BANDED || type == MTX_BANDED_WRAP; }

void CheckRows(const MTX& matrix) {
    bool rowError = false;
    for (const MTX_ROW& row : matrix.rows) {
        std::uint32_t given = ROW_ValuesGiven(row);
        if (matrix.type == MTX_SPARSE) {
            if (given == 0) {
                CMN_ErrorLine(3117, row.pin.c_str());
                rowError = true;
            }
        } else if (row.column_count != 0 && given < row.column_count) {
            // One value takes no plural letter; the message's closing full stop follows either
            // way.
            CMN_ErrorLine(3116, row.column_count, row.pin.c_str(), given, given == 1 ? '\0' : 's');
            rowError = true;
        }
        if (!rowError && row.self_coupled == 0) {
            CMN_ErrorLine(3118, row.pin.c_str());
            rowError = true;
        }
    }
}

}  // namespace

void MTX_Create(std::unique_ptr<MTX>* slot, const char* typeText, std::uint32_t numberOfPins) {
    CMN_ASSERT(slot != nullptr && typeText != nullptr);
    MTX_Finish();
    slot->reset(new (std::nothrow) MTX());
    if (!*slot) {
        CMN_ErrorLine(3700);
        return;
    }
    MTX& matrix = **slot;
    matrix.number_of_pins = numberOfPins;
    currentMatrix = &matrix;
    if (*typeText == '\0') {
        CMN_ErrorLine(3701);
    } else if (CMN_StrEqualNoCase(typeText, "Banded_matrix")) {
        matrix.type = MTX_BANDED;
    } else if (CMN_StrEqualNoCase(typeText, "Sparse_matrix")) {
        matrix.type = MTX_SPARSE;
    } else if (CMN_StrEqualNoCase(typeText, "Full_matrix")) {
        matrix.type = MTX_FULL;
    } else {
        CMN_ErrorLine(3702, typeText);
    }
}

void MTX_SetBandwidth(MTX* matrix, const char* text) {
    CMN_ASSERT(matrix != nullptr && text != nullptr);
    if (!Banded(matrix->type)) {
        CMN_ErrorLine(3703);
        return;
    }
    matrix->bandwidth_given = 1;
    switch (CMN_GetUnsigned(text, &matrix->bandwidth)) {
    case 0: CMN_ErrorLine(3704); break;
    case 2: CMN_ErrorLine(3705); break;
    default: break;
    }
    if (matrix->bandwidth >= matrix->number_of_pins) {
        CMN_ErrorLine(3706, matrix->bandwidth, matrix->number_of_pins);
    }
}

void MTX_BeginRow(MTX* matrix, const char* pinName) {
    CMN_ASSERT(matrix != nullptr && pinName != nullptr);
    std::uint32_t columns = NextColumnCount(*matrix);
    if (columns == 0) return;
    std::size_t length = std::strlen(pinName);
    if (length == 0) {
        CMN_ErrorLine(3120);
    } else if (length > 5) {
        CMN_ErrorLine(3121);
    }
    MTX_ROW row;
    row.pin.assign(pinName, length > 5 ? 5 : length);
    CMN_CheckReserved(row.pin.c_str());
    row.column_count = columns;
    std::uint32_t pinIndex = 0;
    if (!PKGMDL_PinIndex(row.pin.c_str(), &pinIndex)) {
        CMN_ErrorLine(3100, row.pin.c_str());
    }
    try {
        matrix->rows.push_back(std::move(row));
    } catch (const std::bad_alloc&) {
        CMN_ErrorLine(3119);
        return;
    }
    MTX_ROW& added = matrix->rows.back();
    added.position = static_cast<std::uint32_t>(matrix->rows.size());
    std::uint32_t& earlier = matrix->row_names[added.pin];
    for (std::uint32_t i = 0; i < earlier && i < MTX_PAIR_REPORT_LIMIT; ++i) {
        CMN_ErrorLine(3101, added.pin.c_str());
    }
    ++earlier;
    if (pinIndex != 0 && pinIndex != added.position) {
        CMN_ErrorLine(3102, added.pin.c_str(), pinIndex, added.position);
    }
}

void MTX_AddRowData(MTX* matrix, char* text) {
    CMN_ASSERT(matrix != nullptr && text != nullptr);
    if (matrix->rows.empty()) return;
    MTX_ROW& row = matrix->rows.back();
    switch (matrix->type) {
    case MTX_FULL: AddRowValues(*matrix, row, text, false); break;
    case MTX_BANDED:
    case MTX_BANDED_WRAP: AddRowValues(*matrix, row, text, true); break;
    case MTX_SPARSE: AddSparseValue(*matrix, row, text); break;
    default: break;
    }
}

void MTX_Finish() {
    if (currentMatrix == nullptr) return;
    const MTX& matrix = *currentMatrix;
    currentMatrix = nullptr;
    if (matrix.rows.size() != matrix.number_of_pins) {
        CMN_ErrorLine(3717, matrix.number_of_pins, static_cast<unsigned>(matrix.rows.size()));
    }
    CheckRows(matrix);
}

void MTX_Check(const char* label, const MTX* matrix) {
    CMN_ASSERT(label != nullptr && matrix != nullptr);
    if (Banded(matrix->type) && matrix->bandwidth_given == 0) CMN_Error(3716, label);
}

void MTX_Free(std::unique_ptr<MTX>& matrix) {
    if (matrix.get() == currentMatrix) currentMatrix = nullptr;
    matrix.reset();
}

void MTX_Reset() { currentMatrix = nullptr; }
