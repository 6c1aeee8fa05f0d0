#pragma once

#include <memory>

struct CMN_LINE_ITEMS;

// Column state of one typ/min/max value.
enum RNG_STATE : int {
    RNG_ABSENT = 0,  // no text given
    RNG_NUMBER = 1,
    RNG_NA = 2,  // "NA"; the value is then 0
};

// One typ/min/max triple of an IBIS data line.
struct RNG {
    double typ = 0.0;
    double min = 0.0;
    double max = 0.0;
    // The states follow the values so that a table row packs its own fields after them.
    int typState = RNG_ABSENT;
    int minState = RNG_ABSENT;
    int maxState = RNG_ABSENT;
};

// Reads a triple from a data line. `name` (the keyword or sub-parameter) appears in the
// messages. `result` receives a new record whenever one could be allocated, even when a
// column was in error; returns 1 only when all three columns were read without error.
int RNG_Parse(const char* text, const char* name, std::unique_ptr<RNG>& result);

// Reads the typical, minimum and maximum columns from items `firstItem` to `firstItem` + 2
// into `value` (a missing item leaves its state absent); returns 1 when all three read
// without error. Table rows share it for their last three columns.
int RNG_CheckColumns(const CMN_LINE_ITEMS& items, int firstItem, const char* name, RNG& value);
