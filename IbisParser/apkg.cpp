#include "IbisParser/apkg.h"

#include "IbisParser/cmn.h"
#include "IbisParser/cmpnt.h"
#include "IbisParser/ibis.h"
#include "IbisParser/mdl.h"

void APKG_Keyword(CMPNT&, const char*) {}

void APKG_Line(CMPNT&, const char*) {}

void APKG_End(CMPNT&, const char*) {}
