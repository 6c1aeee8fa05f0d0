// The [Alternate Package Models] list of a component: package model names in file order.
#pragma once

#include <string>

#include "IbisParser/linked.h"

struct CMPNT;

struct APKG : IBIS_Linked<APKG> {
    std::string name;  // at most 40 characters
};

// [Alternate Package Models] (text: what follows the keyword), its data lines, and
// [End Alternate Package Models].
void APKG_Keyword(CMPNT& component, const char* text);
void APKG_Line(CMPNT& component, const char* text);
void APKG_End(CMPNT& component, const char* text);
