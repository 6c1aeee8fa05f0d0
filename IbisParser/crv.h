// I-V tables of models: [Pullup], [Pulldown], [GND Clamp], [POWER Clamp], [ISSO PU], [ISSO PD]
// and the series current table. The model section hands each table its keyword line, its rows
// and the end of its section; the rows are kept and checked as they arrive.
#pragma once

#include <memory>

#include "IbisParser/rngp.h"

// One I-V table: rows of a voltage and a typ/min/max triple of currents, in file order.
struct CRV {
    RNGP_TABLE rows;
    unsigned long line = 0;  // the line of the table's keyword
};

// The keyword line of a table named `name` in messages ("Pullup", "GND_Clamp", ...). A table
// already in `table` is reported and replaced by the new, empty one.
void CRV_Keyword(const char* line, const char* name, std::unique_ptr<CRV>& table);
// Opens a new, empty table named `name` in messages, for a reader that checks its own keyword
// line; `table` receives it (it stays empty when it cannot be allocated).
void CRV_Begin(const char* name, std::unique_ptr<CRV>& table);
// One data line of the table last opened by CRV_Keyword or CRV_Begin.
void CRV_Row(const char* line, int modelType, int keyword, CRV& table);
// The end of the table's section: its closing checks, reported for the owner ("Model" and the
// model's name).
void CRV_End(const char* ownerName, int modelType, int keyword, const CRV& table, const char* name,
             const char* ownerKind);

// Evaluates a column (0 typical, 1 minimum, 2 maximum) of the table at a voltage by linear
// interpolation between the first two neighbouring rows that enclose it. False when no such
// rows exist or their values in that column are not given.
bool CRV_Evaluate(const CRV& table, int column, double voltage, double* current);

// Releases a table (the deleter of tables held elsewhere).
void CRV_Free(CRV* table);
