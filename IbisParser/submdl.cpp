#include "IbisParser/submdl.h"

#include "IbisParser/parse.h"
#include "IbisParser/section.h"

namespace {

// Begin failures pass silently here.
constinit SECTION_Records<SUBMDL> submodels(&IBIS::submodels,
                                            {.module = "submdl",
                                             .noFile = {},
                                             .noMemory = {},
                                             .own = {{KW_SUBMODEL, KW_SUB_FALLING_WAVEFORM}}});

}  // namespace

void SUBMDL_Init() { submodels.Begin(__LINE__); }

void SUBMDL_Line(int, int, char*) {}

void SUBMDL_EndKeyword(int nextCode) { submodels.KeywordChange(nextCode); }

void SUBMDL_Reset() { submodels.Reset(); }

void SUBMDL_CheckUnused(SUBMDL*, MDL*) {}
