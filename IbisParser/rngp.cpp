#include "IbisParser/rngp.h"

#include <new>

#include "IbisParser/cmn.h"

namespace {

constexpr const char* kModule = "rngp";

// The columns a row lacks, named in message 1401.
constexpr const char* kMissingColumns[] = {"typical", "minimum", "maximum"};

void ReportItemCount(int count, const char* name) {
    if (count >= 1 && count <= 3) {
        for (int column = count - 1; column < 3; ++column) {
            CMN_ErrorLine(1401, kMissingColumns[column], name);
        }
    } else if (count != 4) {
        CMN_ErrorLine(1402, count, name, 4);
    }
}

// Up to this many rows a scan finds repeats faster than a hash table is kept up.
constexpr int kRowsBeforeHashing = 64;

int RepeatsOf(const RNGP_TABLE& table, double first) {
    if (!table.firstValueCounts.empty()) {
        const auto found = table.firstValueCounts.find(first);
        return found == table.firstValueCounts.end() ? 0 : found->second;
    }
    int repeats = 0;
    for (const RNGP* existing = table.head.get(); existing; existing = existing->next.get()) {
        repeats += existing->first == first;
    }
    return repeats;
}

}  // namespace

int RNGP_Parse(const char* text, const char* name, const char* columnName,
               std::unique_ptr<RNGP>& result) {
    CMN_LINE_ITEMS items{};
    if (!CMN_SplitWords(text, 4, &items)) {
        CMN_BugLine(1400, name);
        return 0;
    }
    ReportItemCount(items.count, name);
    result.reset(new (std::nothrow) RNGP{});
    if (!result) {
        CMN_Bug(1404, kModule, __LINE__);
        CMN_FreeLineItems(&items);
        return 0;
    }
    RNGP& row = *result;
    CMN_CheckValue(items.item(0), name, columnName, &row.first, &row.firstState);
    RNG_CheckColumns(items, 1, name, row);
    CMN_FreeLineItems(&items);
    return 1;
}

void RNGP_Append(RNGP_TABLE& table, std::unique_ptr<RNGP> row, bool check) {
    const double first = row->first;
    if (check) {
        for (int repeats = RepeatsOf(table, first); repeats > 0; --repeats) {
            CMN_WarningLine(1403, first);
        }
    }
    row->prev = table.tail;
    RNGP* appended = row.get();
    (table.tail ? table.tail->next : table.head) = std::move(row);
    table.tail = appended;
    ++table.count;
    if (!table.firstValueCounts.empty()) {
        ++table.firstValueCounts[first];
    } else if (table.count == kRowsBeforeHashing) {
        for (const RNGP* existing = table.head.get(); existing; existing = existing->next.get()) {
            ++table.firstValueCounts[existing->first];
        }
    }
}
