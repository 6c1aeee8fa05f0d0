// Row storage and the value reader shared by every matrix type.
#include "IbisParser/row.h"

#include <new>

#include "IbisParser/cmn.h"

std::uint32_t ROW_ValuesGiven(const MTX_ROW& row) {
    if (!row.sparse_entries.empty()) return static_cast<std::uint32_t>(row.sparse_entries.size());
    return row.given;
}

int ROW_AddValue(MTX_ROW& row, MTX_VALUES& values, double value) {
    if (row.given >= row.column_count) return 0;
    if (row.given == 0) row.first = values.size();
    try {
        values.push_back(value);
    } catch (const std::bad_alloc&) {
        CMN_ErrorLine(3106);
        return -1;
    }
    ++row.given;
    // A full or banded row starts at its own pin, so any value stored includes the diagonal.
    row.self_coupled = 1;
    return 1;
}

int ROW_ReadValue(const char* text, double* value) {
    switch (CMN_GetValue(text, value)) {
    case 0: CMN_ErrorLine(3103); return 0;
    case 2: CMN_WarningLine(3104); return 1;
    default: return 1;
    }
}
