#include "IbisParser/crv.h"

#include <cmath>
#include <new>

#include "IbisParser/cmn.h"
#include "IbisParser/mdl.h"
#include "IbisParser/parse.h"

namespace {

constexpr int kRowLimit = 100;
constexpr double kZeroCurrent = 1e-6;

// Follows one column's values: the first two different values set its direction; a value that
// turns back is reported once.
struct Tracker {
    double last = 0.0;
    bool any = false;
    int direction = 0;  // 1 rising, -1 falling
    bool reported = false;

    // True the first time the column turns back.
    bool Turns(double value) {
        bool turns = false;
        if (any && value != last) {
            const int step = value > last ? 1 : -1;
            if (direction == 0) {
                direction = step;
            } else if (step != direction && !reported) {
                reported = turns = true;
            }
        }
        last = value;
        any = true;
        return turns;
    }
};

// The values of one current column, for the clamp tables' zero check.
struct ColumnRange {
    bool any = false;
    bool nearZero = false;
    double lowest = 0.0;
    double highest = 0.0;

    void Add(double value) {
        nearZero = nearZero || std::fabs(value) <= kZeroCurrent;
        lowest = any ? std::fmin(lowest, value) : value;
        highest = any ? std::fmax(highest, value) : value;
        any = true;
    }
};

// The table being read.
struct TableState {
    const char* name = "";
    Tracker trackers[4];  // Voltage, Typical, Minimum, Maximum
    bool anyMin = false;
    bool anyMax = false;
    bool extremes = false;  // a voltage was given
    double lowVoltage = 0.0, highVoltage = 0.0;
    double lowCurrent = 0.0, highCurrent = 0.0;
    bool lowGiven = false, highGiven = false;
    ColumnRange columns[3];
};

TableState table;

constexpr const char* kColumnNames[4] = {"Voltage", "Typical", "Minimum", "Maximum"};

double ColumnValue(const RNGP& row, int column, int* stateOut) {
    switch (column) {
    case 0: *stateOut = row.typState; return row.typ;
    case 1: *stateOut = row.minState; return row.min;
    default: *stateOut = row.maxState; return row.max;
    }
}

void TrackRow(const RNGP& row) {
    const double values[4] = {row.first, row.typ, row.min, row.max};
    const int states[4] = {row.firstState, row.typState, row.minState, row.maxState};
    for (int column = 0; column < 4; ++column) {
        if (states[column] != RNG_NUMBER) continue;
        if (table.trackers[column].Turns(values[column])) {
            CMN_NoteLine(1110, table.name, kColumnNames[column]);
        }
    }
    for (int column = 0; column < 3; ++column) {
        if (states[column + 1] == RNG_NUMBER) table.columns[column].Add(values[column + 1]);
    }
    table.anyMin = table.anyMin || row.minState == RNG_NUMBER;
    table.anyMax = table.anyMax || row.maxState == RNG_NUMBER;
}

void TrackExtremes(const RNGP& row) {
    const bool given = row.typState == RNG_NUMBER;
    if (!table.extremes || row.first < table.lowVoltage) {
        table.lowVoltage = row.first;
        table.lowCurrent = row.typ;
        table.lowGiven = given;
    }
    if (!table.extremes || row.first > table.highVoltage) {
        table.highVoltage = row.first;
        table.highCurrent = row.typ;
        table.highGiven = given;
    }
    table.extremes = true;
}

// "First" or "Last" row: a typical "NA", or a minimum or maximum "NA" in a column that other
// rows use.
void CheckEndRow(const RNGP& row, const char* which, const char* name, int line) {
    if (row.typState == RNG_NA) CMN_Error(1109, which, "Typical", name, line);
    if (row.minState == RNG_NA && table.anyMin) CMN_Error(1109, which, "Minimum", name, line);
    if (row.maxState == RNG_NA && table.anyMax) CMN_Error(1109, which, "Maximum", name, line);
}

bool IsEcl(int type) {
    return type == MDL_INPUT_ECL || type == MDL_OUTPUT_ECL || type == MDL_IO_ECL ||
           type == MDL_3_STATE_ECL;
}

// 1 when the table's current should rise with the voltage, -1 when it should fall, 0 unchecked.
int ExpectedDirection(int modelType, int keyword) {
    if (keyword == KW_ISSO_PU || keyword == KW_ISSO_PD || keyword == KW_SERIES_CURRENT) return 0;
    // A series MOSFET conducts more as its voltage rises.
    if (keyword == KW_SERIES_MOSFET) return 1;
    if (IsEcl(modelType)) {
        if (keyword == KW_GND_CLAMP) return 1;
        if (keyword == KW_PULLDOWN) return -1;
        return 0;
    }
    switch (keyword) {
    case KW_PULLDOWN:
    case KW_GND_CLAMP: return 1;
    case KW_PULLUP:
    case KW_POWER_CLAMP: return -1;
    default: return 0;
    }
}

void CheckDirection(const char* ownerKind, const char* ownerName, int modelType, int keyword,
                    const char* name) {
    if (!table.lowGiven || !table.highGiven) return;
    if (modelType < MDL_INPUT || modelType >= MDL_TYPE_COUNT) return;
    const int expected = ExpectedDirection(modelType, keyword);
    if (expected > 0 && table.lowCurrent > table.highCurrent) {
        CMN_Warning(1111, ownerKind, ownerName, name);
    } else if (expected < 0 && table.highCurrent > table.lowCurrent) {
        CMN_Warning(1112, ownerKind, ownerName, name);
    }
}

void CheckClampZero(const char* ownerKind, const char* ownerName, const CRV& crv,
                    const char* name) {
    const RNGP& first = *crv.rows.head;
    const RNGP& last = *crv.rows.tail;
    for (int column = 0; column < 3; ++column) {
        int firstState = 0, lastState = 0;
        ColumnValue(first, column, &firstState);
        ColumnValue(last, column, &lastState);
        if (firstState != RNG_NUMBER || lastState != RNG_NUMBER) continue;
        const ColumnRange& range = table.columns[column];
        if (range.nearZero) continue;
        if ((range.lowest > 0) == (range.highest > 0)) {
            switch (column) {
            case 0: CMN_Warning(1113, ownerKind, ownerName, name); break;
            case 1: CMN_Warning(1114, ownerKind, ownerName, name); break;
            default: CMN_Warning(1115, ownerKind, ownerName, name); break;
            }
        }
    }
}

}  // namespace

void CRV_Keyword(const char* line, const char* name, std::unique_ptr<CRV>& crv) {
    if (crv) CMN_ErrorLine(1100, name);
    CRV_Begin(name, crv);
    if (!crv) return;
    const char* rest = line;
    CMN_SkipPastBracket(&rest);
    CMN_LINE_ITEMS items;
    CMN_SplitWords(rest, 1, &items);
    if (items.count > 0) CMN_ErrorLine(1104, items.count + 1, name, 1);
}

void CRV_Begin(const char* name, std::unique_ptr<CRV>& crv) {
    crv.reset(new (std::nothrow) CRV{});
    if (!crv) {
        CMN_BugLine(1101, "crv", __LINE__);
        return;
    }
    table = TableState{};
    table.name = name;
    crv->line = PARSE_GetLineNumber();
}

void CRV_Row(const char* line, int, int, CRV& crv) {
    std::unique_ptr<RNGP> parsed;
    if (!RNGP_Parse(line, table.name, "Voltage", parsed)) return;
    const RNGP& row = *parsed;
    RNGP_Append(crv.rows, std::move(parsed), row.firstState == RNG_NUMBER);
    TrackRow(row);
    if (row.firstState == RNG_NA) CMN_ErrorLine(1106);
    if (row.firstState == RNG_NUMBER) TrackExtremes(row);
    if (crv.rows.count == kRowLimit + 1) CMN_ErrorLine(1107, kRowLimit, table.name);
}

void CRV_End(const char* ownerName, int modelType, int keyword, const CRV& crv, const char* name,
             const char* ownerKind) {
    const int line = static_cast<int>(crv.line);
    if (crv.rows.count < 2) {
        CMN_Error(1108, name, line);
        return;
    }
    CheckEndRow(*crv.rows.head, "First", name, line);
    CheckEndRow(*crv.rows.tail, "Last", name, line);
    CheckDirection(ownerKind, ownerName, modelType, keyword, name);
    if (keyword == KW_GND_CLAMP || keyword == KW_POWER_CLAMP) {
        CheckClampZero(ownerKind, ownerName, crv, name);
    }
}

bool CRV_Evaluate(const CRV& crv, int column, double voltage, double* current) {
    for (const RNGP* row = crv.rows.head.get(); row && row->next; row = row->next.get()) {
        const RNGP& next = *row->next;
        if (row->firstState != RNG_NUMBER || next.firstState != RNG_NUMBER) continue;
        const double low = std::fmin(row->first, next.first);
        const double high = std::fmax(row->first, next.first);
        if (voltage < low || voltage > high) continue;
        int state = 0, nextState = 0;
        const double value = ColumnValue(*row, column, &state);
        const double nextValue = ColumnValue(next, column, &nextState);
        if (state != RNG_NUMBER || nextState != RNG_NUMBER) return false;
        if (high == low) {
            *current = value;
        } else {
            *current =
                value + (nextValue - value) * (voltage - row->first) / (next.first - row->first);
        }
        return true;
    }
    return false;
}

void CRV_Free(CRV* crv) { delete crv; }
