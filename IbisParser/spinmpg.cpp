#include "IbisParser/spinmpg.h"

#include "IbisParser/cmn.h"
#include "IbisParser/cmpnt.h"
#include "IbisParser/ibis.h"
#include "IbisParser/mdl.h"

void SPINMPG_Header(CMPNT&, const char*) {}

void SPINMPG_Line(CMPNT&, const char*) {}

void SPINMPG_CheckAll(CMPNT&, IBIS&) {}
