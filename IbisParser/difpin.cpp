#include "IbisParser/difpin.h"

#include "IbisParser/cmn.h"
#include "IbisParser/cmpnt.h"
#include "IbisParser/ibis.h"
#include "IbisParser/mdl.h"

void DIFPIN_Header(CMPNT&, const char*) {}

void DIFPIN_Line(CMPNT&, const char*) {}

void DIFPIN_CheckAll(CMPNT&, IBIS&) {}

bool DIFPIN_HasPin(const CMPNT& component, std::string_view pin) {
    return component.diff_pins.pins.count(pin) != 0;
}

bool CMPNT_DiffPinUses(IBIS&, MDL&, const char**) { return false; }
