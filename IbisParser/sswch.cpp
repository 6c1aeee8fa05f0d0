#include "IbisParser/sswch.h"

#include "IbisParser/cmn.h"
#include "IbisParser/cmpnt.h"
#include "IbisParser/ibis.h"
#include "IbisParser/mdl.h"

void SSWCH_Header(CMPNT&, const char*) {}

void SSWCH_Line(CMPNT&, const char*) {}

void SSWCH_CheckAll(CMPNT&, IBIS&) {}

void SSWCH_Reset() {}
