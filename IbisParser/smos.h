// [Series MOSFET] tables of Series and Series_switch models: each keyword opens one table whose
// first data line gives Vds and whose further lines are I-V rows.
#pragma once

#include <memory>
#include <optional>

#include "IbisParser/crv.h"
#include "IbisParser/linked.h"
#include "IbisParser/sinfo.h"

// One [Series MOSFET] table.
struct SMOS : IBIS_Linked<SMOS> {
    std::optional<double> Vds;
    std::unique_ptr<CRV> table;
};

// The tables of one series section, in file order.
struct SMOS_LIST : IBIS_List<SMOS> {
    int count = 0;
};

// The keyword line: appends a new table to `list` (made when empty), which becomes the table
// that SMOS_Line fills. Returns the table, or nullptr when it could not be made.
SMOS* SMOS_Keyword(const char* text, SINFO_Owned<SMOS_LIST>& list);
// One data line of the current table: its Vds line first, then I-V rows.
void SMOS_Line(const char* text);
// When the model `modelName` of type `modelType` leaves the keyword: the current table's Vds
// and I-V checks.
void SMOS_Close(const char* modelName, int modelType);
// Forgets the current table without checking it (a table that no series section took).
void SMOS_Abandon();
// The tables of one section with the same Vds, reported against the model and section names.
void SMOS_CheckDuplicates(const SMOS_LIST* list, const char* modelName, const char* sectionName);
void SMOS_Free(SMOS_LIST* list);
