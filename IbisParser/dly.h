// The four delays of one [Driver Schedule] entry: Rise_on_dly, Rise_off_dly, Fall_on_dly and
// Fall_off_dly, with the rules on which of them may be given together.
#pragma once

#include <memory>

enum DLY_COLUMN : int {
    DLY_RISE_ON = 0,
    DLY_RISE_OFF,
    DLY_FALL_ON,
    DLY_FALL_OFF,
    DLY_COLUMN_COUNT
};

struct DLY {
    double value[DLY_COLUMN_COUNT] = {};
    // 0 not given, 1 a number, 2 "NA" (as CMN_CheckValue sets them)
    int state[DLY_COLUMN_COUNT] = {};
};

// Reads the delays of the entry `name` from `text` (the line after the name) into `delays`,
// which receives a new record unless it cannot be allocated.
void DLY_Parse(const char* text, const char* name, std::unique_ptr<DLY>& delays);
