// The [Pin] table of a component: the column header, one PIN per row in file order, the
// after-file checks of each pin against the models, selectors, pin mappings and package model,
// and the per-pin value ranges.
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>

#include "IbisParser/linked.h"

struct CMPNT;
struct IBIS;

struct PIN : IBIS_Linked<PIN> {
    int columns = 0;          // items read on its line
    std::string pin;          // at most 5 characters
    std::string signal_name;  // at most 20 characters before IBIS 4.0, 40 from 4.0 on
    std::string model_name;   // as signal_name
    // Each value with its CMN_CheckValue state: 0 absent, 1 given, 2 "NA".
    double R_pin = 0.0;
    double L_pin = 0.0;
    double C_pin = 0.0;
    int R_pin_state = 0;
    int L_pin_state = 0;
    int C_pin_state = 0;
};

// A component's [Pin] table.
struct PIN_TABLE {
    bool headerRead = false;  // a second [Pin] keyword is a duplicate
    int headerColumns = 0;    // one plus the header items (3 or 6 when valid, at most 7)
    // Where R_pin, L_pin and C_pin stand among the last three columns (0, 1, 2); -1: not given.
    int R_position = -1;
    int L_position = -1;
    int C_position = -1;
    IBIS_List<PIN> rows;
    // The first row of each pin name, for duplicates and lookups.
    std::unordered_map<std::string_view, PIN*> index;
};

// The keyword line (text: what follows "[Pin]") and the data lines of [Pin].
void PIN_Header(CMPNT& component, const char* text);
void PIN_Line(CMPNT& component, const char* text);
// After the whole file, for a component that has pins.
void PIN_CheckAll(CMPNT& component, IBIS& ibis);
// The per-pin value-range warnings (R_pin, L_pin, C_pin).
void PIN_CheckRanges(const CMPNT& component);

// The first pin of that name in the component, or nullptr.
const PIN* PIN_Find(const CMPNT& component, std::string_view name);
// Whether the pin's model is "POWER"; "POWER" or "GND" (letter case ignored).
bool PIN_IsPower(const PIN& pin);
bool PIN_IsPowerOrGnd(const PIN& pin);
