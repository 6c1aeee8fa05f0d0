#include "IbisParser/pinmpg.h"

#include "IbisParser/cmn.h"
#include "IbisParser/cmpnt.h"
#include "IbisParser/ibis.h"
#include "IbisParser/mdl.h"

void PINMPG_Header(CMPNT&, const char*) {}

void PINMPG_Line(CMPNT&, const char*) {}

void PINMPG_CheckAll(CMPNT&, IBIS&) {}

const PINMPG* PINMPG_Find(const CMPNT& component, std::string_view pin) {
    auto found = component.pin_mappings.index.find(pin);
    return found == component.pin_mappings.index.end() ? nullptr : found->second;
}
