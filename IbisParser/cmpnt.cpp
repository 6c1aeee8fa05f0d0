#include "IbisParser/cmpnt.h"

#include "IbisParser/parse.h"
#include "IbisParser/section.h"

namespace {

constinit SECTION_Records<CMPNT> components(&IBIS::components,
                                            {.module = "cmpnt",
                                             .noFile = {CMN_BugLine, 515, true},
                                             .noMemory = {CMN_ErrorLine, 512},
                                             .own = {{KW_COMPONENT, KW_END_CIRCUIT_CALL},
                                                     {KW_BEGIN_EMI_COMPONENT, KW_PIN_DOMAIN_EMI}},
                                             .fileOrder = true});

}  // namespace

void CMPNT_Begin() { components.Begin(__LINE__); }

void CMPNT_Line(int, int, char*) {}

void CMPNT_KeywordChange(int nextCode) { components.KeywordChange(nextCode); }

void CMPNT_Reset() { components.Reset(); }

void CMPNT_CheckAll(CMPNT*, CIRCUIT*, MDL*) {}
