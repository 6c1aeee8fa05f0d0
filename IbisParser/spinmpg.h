// The [Series Pin Mapping] table of a component: one Series_Pin_Mapping per row in file order
// and the after-file checks of the rows against the pins, models and switch groups.
#pragma once

#include <string>

#include "IbisParser/linked.h"

struct CMPNT;
struct IBIS;

struct Series_Pin_Mapping : IBIS_Linked<Series_Pin_Mapping> {
    int columns = 0;                   // items read on its line
    std::string pin_1;                 // at most 5 characters
    std::string pin_2;                 // at most 5 characters
    std::string model_name;            // 20 characters before IBIS 4.0, 40 from 4.0 on
    std::string function_table_group;  // at most 20 characters; empty when not given
};

struct SPINMPG_TABLE {
    bool headerRead = false;
    int headerColumns = 0;
    IBIS_List<Series_Pin_Mapping> rows;
};

void SPINMPG_Header(CMPNT& component, const char* text);
void SPINMPG_Line(CMPNT& component, const char* text);
// After the whole file, for a component that has a [Series Pin Mapping].
void SPINMPG_CheckAll(CMPNT& component, IBIS& ibis);
