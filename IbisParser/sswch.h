// The [Series Switch Groups] table of a component: one SSWCH per group in file order (a group
// may go on over several lines until its "/"), and the after-file check for group names that
// no [Series Pin Mapping] row uses.
#pragma once

#include <string>
#include <vector>

#include "IbisParser/linked.h"

struct CMPNT;
struct IBIS;

struct SSWCH : IBIS_Linked<SSWCH> {
    std::string state;               // "On" or "Off", as written
    std::vector<std::string> names;  // each at most 20 characters
};

struct SSWCH_TABLE {
    bool keywordSeen = false;
    IBIS_List<SSWCH> groups;
};

void SSWCH_Header(CMPNT& component, const char* text);
void SSWCH_Line(CMPNT& component, const char* text);
// After the whole file, for a component that has [Series Switch Groups].
void SSWCH_CheckAll(CMPNT& component, IBIS& ibis);
// Forgets a group left open (start of a file).
void SSWCH_Reset();
