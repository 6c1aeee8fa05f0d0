#include "IbisParser/pin.h"

#include "IbisParser/cmn.h"
#include "IbisParser/cmpnt.h"
#include "IbisParser/ibis.h"
#include "IbisParser/mdl.h"

void PIN_Header(CMPNT&, const char*) {}

void PIN_Line(CMPNT&, const char*) {}

void PIN_CheckAll(CMPNT&, IBIS&) {}

void PIN_CheckRanges(const CMPNT&) {}

const PIN* PIN_Find(const CMPNT& component, std::string_view name) {
    auto found = component.pins.index.find(name);
    return found == component.pins.index.end() ? nullptr : found->second;
}

bool PIN_IsPower(const PIN& pin) {
    return CMN_StrEqualNoCase(pin.model_name.c_str(), "POWER") != 0;
}

bool PIN_IsPowerOrGnd(const PIN& pin) {
    return PIN_IsPower(pin) || CMN_StrEqualNoCase(pin.model_name.c_str(), "GND") != 0;
}
