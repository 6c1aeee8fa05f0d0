#include "IbisParser/smos.h"

#include <cmath>
#include <new>

#include "IbisParser/cmn.h"
#include "IbisParser/parse.h"

namespace {

constexpr const char* kModule = "smos";
constexpr const char* kTableName = "Series_MOSFET";
constexpr int kTableLimit = 100;
// Two Vds closer than this are the same operating point.
constexpr double kSameVds = 1e-9;

// The table being read.
struct State {
    SMOS* current = nullptr;
    bool expectVds = false;  // the next data line is the table's Vds line
    unsigned long line = 0;  // the line of the table's keyword
};

State state;
CMN_LINE_ITEMS items;

// Vds = value
void VdsLine(const char* text, SMOS& table) {
    if (!CMN_SplitLine(text, 3, '=', &items)) {
        CMN_BugLine(2802, "Vds", kModule, __LINE__);
        return;
    }
    if (items.stored == 0 || items.items[0] != "Vds") {
        CMN_ErrorLine(2807);
        return;
    }
    if (table.Vds) {
        CMN_ErrorLine(2808);
        return;
    }
    table.Vds = 0.0;
    if (items.count < 3) {
        CMN_ErrorLine(2810, "Vds");
        return;
    }
    if (items.count > 3) CMN_ErrorLine(2803, items.count, "Vds", 3);
    if (items.items[1] != "=") {
        CMN_ErrorLine(2810, "Vds");
        return;
    }
    double value = 0.0;
    if (CMN_GetValue(items.item(2), &value) == 0) {
        CMN_ErrorLine(2811, "Vds", items.item(2));
        return;
    }
    table.Vds = value;
}

}  // namespace

SMOS* SMOS_Keyword(const char* text, SINFO_Owned<SMOS_LIST>& list) {
    state = State{};
    if (!list) {
        list = SINFO_Owned<SMOS_LIST>(new (std::nothrow) SMOS_LIST{}, SMOS_Free);
        if (!list) {
            CMN_BugLine(2809, kModule, __LINE__);
            return nullptr;
        }
    }
    std::unique_ptr<SMOS> added(new (std::nothrow) SMOS{});
    if (!added) {
        CMN_BugLine(2809, kModule, __LINE__);
        return nullptr;
    }
    CRV_Begin(kTableName, added->table);
    if (!added->table) return nullptr;
    if (list->count >= kTableLimit) CMN_ErrorLine(2800);
    SMOS* table = list->Append(std::move(added));
    ++list->count;

    const char* rest = text;
    CMN_SkipPastBracket(&rest);
    CMN_SplitWords(rest, 1, &items);
    if (items.count > 0) CMN_ErrorLine(2803, items.count + 1, "[Series_MOSFET]", 1);

    state.line = PARSE_GetLineNumber();
    state.current = table;
    state.expectVds = true;
    return table;
}

void SMOS_Line(const char* text) {
    if (state.current == nullptr) return;
    if (state.expectVds) {
        // The first line is taken as the Vds line whatever it holds.
        state.expectVds = false;
        VdsLine(text, *state.current);
        return;
    }
    CRV_Row(text, 0, KW_SERIES_MOSFET, *state.current->table);
}

void SMOS_Close(const char* modelName, int modelType) {
    const SMOS* table = state.current;
    const int line = static_cast<int>(state.line);
    state = State{};
    if (table == nullptr) return;
    if (!table->Vds) {
        CMN_Error(2804, modelName, line);
    } else if (*table->Vds < 0) {
        CMN_Error(2805, modelName, line);
    }
    CRV_End(modelName, modelType, KW_SERIES_MOSFET, *table->table, kTableName, "Model");
}

void SMOS_Abandon() { state = State{}; }

void SMOS_CheckDuplicates(const SMOS_LIST* list, const char* modelName, const char* sectionName) {
    if (list == nullptr) return;
    for (const SMOS* first = list->First(); first != nullptr; first = first->next.get()) {
        if (!first->Vds) continue;
        for (const SMOS* later = first->next.get(); later != nullptr; later = later->next.get()) {
            if (later->Vds && std::fabs(*first->Vds - *later->Vds) < kSameVds) {
                CMN_Error(2806, modelName, sectionName, *first->Vds);
            }
        }
    }
}

void SMOS_Free(SMOS_LIST* list) { delete list; }
