#include "IbisParser/pkg.h"

#include "IbisParser/cmn.h"
#include "IbisParser/cmpnt.h"
#include "IbisParser/ibis.h"
#include "IbisParser/mdl.h"

void PKG_Keyword(CMPNT&, const char*) {}

void PKG_Line(CMPNT&, const char*) {}

void PKG_CheckClosing(const CMPNT&) {}

void PKG_CheckRanges(const CMPNT&) {}
