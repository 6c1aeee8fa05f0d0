// The [Diff Pin] table of a component: one DIFPIN per row in file order, its after-file checks,
// and the query whether a [Diff Pin] row of the file uses a model.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_set>

#include "IbisParser/linked.h"

struct CMPNT;
struct IBIS;
struct MDL;

// Value states of a DIFPIN column.
enum DIFPIN_STATE : int { DIFPIN_BAD = 0, DIFPIN_GIVEN = 1, DIFPIN_NA = 2 };

struct DIFPIN : IBIS_Linked<DIFPIN> {
    int columns = 0;          // items read on its line
    std::string pin;          // at most 5 characters
    std::string inv_pin;      // at most 5 characters
    double vdiff = 0.0;       // volts
    double tdelay_typ = 0.0;  // seconds
    double tdelay_min = 0.0;
    double tdelay_max = 0.0;
    int vdiff_state = DIFPIN_BAD;
    int tdelay_typ_state = DIFPIN_BAD;
    int tdelay_min_state = DIFPIN_BAD;
    int tdelay_max_state = DIFPIN_BAD;
};

struct DIFPIN_TABLE {
    bool headerRead = false;
    int headerColumns = 0;
    IBIS_List<DIFPIN> rows;
    std::size_t rowCount = 0;
    // Every pin and inv_pin of the rows.
    std::unordered_set<std::string_view> pins;
};

void DIFPIN_Header(CMPNT& component, const char* text);
void DIFPIN_Line(CMPNT& component, const char* text);
// After the whole file, for a component that has a [Diff Pin].
void DIFPIN_CheckAll(CMPNT& component, IBIS& ibis);
// Whether the pin is the pin or the inv_pin of a row of the component.
bool DIFPIN_HasPin(const CMPNT& component, std::string_view pin);

// Whether a [Diff Pin] row of any component of the file uses the model: its pin or inv_pin has
// the model as its model, or a selector that lists the model. A positive answer marks the
// model differential and gives the first such row's pin.
bool CMPNT_DiffPinUses(IBIS& ibis, MDL& model, const char** pin);
