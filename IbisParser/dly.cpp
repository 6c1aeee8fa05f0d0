#include "IbisParser/dly.h"

#include <new>

#include "IbisParser/cmn.h"
#include "IbisParser/rng.h"

namespace {

constexpr const char* kModule = "dly";
constexpr const char* kLabels[DLY_COLUMN_COUNT] = {"Rise_on_dly", "Rise_off_dly", "Fall_on_dly",
                                                   "Fall_off_dly"};

// Reused for every line.
CMN_LINE_ITEMS items;

bool IsNumber(const DLY& delays, int column) { return delays.state[column] == RNG_NUMBER; }

}  // namespace

void DLY_Parse(const char* text, const char* name, std::unique_ptr<DLY>& delays) {
    if (!CMN_SplitWords(text, DLY_COLUMN_COUNT, &items)) {
        CMN_BugLine(4500, name, kModule, __LINE__);
        return;
    }
    switch (items.count) {
    case 1: CMN_ErrorLine(4501, kLabels[DLY_RISE_OFF], name); break;
    case 2: CMN_ErrorLine(4501, kLabels[DLY_FALL_ON], name); break;
    case 3: CMN_ErrorLine(4501, kLabels[DLY_FALL_OFF], name); break;
    case 4: break;
    default: CMN_ErrorLine(4502, items.count, name, DLY_COLUMN_COUNT); break;
    }
    delays.reset(new (std::nothrow) DLY{});
    if (!delays) {
        CMN_BugLine(4503, kModule, __LINE__);
        return;
    }
    DLY& read = *delays;
    bool valid = true;
    for (int column = 0; column < DLY_COLUMN_COUNT; ++column) {
        if (!CMN_CheckValue(items.item(column), name, kLabels[column], &read.value[column],
                            &read.state[column])) {
            valid = false;
        }
    }
    if (!valid) return;

    int numbers = 0;
    for (int column = 0; column < DLY_COLUMN_COUNT; ++column) numbers += IsNumber(read, column);
    if (numbers < 2) {
        CMN_ErrorLine(4504);
    } else if (numbers < DLY_COLUMN_COUNT) {
        // A driver is switched on by one edge and off by the other, not both by the same pair.
        if (IsNumber(read, DLY_RISE_ON) && IsNumber(read, DLY_FALL_OFF)) {
            CMN_ErrorLine(4505, kLabels[DLY_RISE_ON], "Fall_off_delay");
        }
        if (IsNumber(read, DLY_RISE_OFF) && IsNumber(read, DLY_FALL_ON)) {
            CMN_ErrorLine(4505, kLabels[DLY_RISE_OFF], "Fall_on_delay");
        }
    }
    for (int column = 0; column < DLY_COLUMN_COUNT; ++column) {
        if (IsNumber(read, column) && read.value[column] < 0) {
            CMN_ErrorLine(4506, kLabels[column]);
        }
    }
}
