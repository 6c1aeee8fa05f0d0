// The [Pin Mapping] table of a component: one PINMPG per row in file order and the after-file
// checks of the bus labels against the component's pins.
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>

#include "IbisParser/linked.h"

struct CMPNT;
struct IBIS;

struct PINMPG : IBIS_Linked<PINMPG> {
    int columns = 0;  // items read on its line
    std::string pin;  // at most 5 characters
    // Bus labels of at most 15 characters; empty when not given.
    std::string pulldown_ref;
    std::string pullup_ref;
    std::string gnd_clamp_ref;
    std::string power_clamp_ref;
    std::string ext_ref;
};

struct PINMPG_TABLE {
    bool headerRead = false;
    int headerColumns = 0;
    IBIS_List<PINMPG> rows;
    // The first row of each pin name.
    std::unordered_map<std::string_view, PINMPG*> index;
};

void PINMPG_Header(CMPNT& component, const char* text);
void PINMPG_Line(CMPNT& component, const char* text);
// After the whole file, for a component that has a [Pin Mapping].
void PINMPG_CheckAll(CMPNT& component, IBIS& ibis);
// The row of that pin, or nullptr.
const PINMPG* PINMPG_Find(const CMPNT& component, std::string_view pin);
