#include "IbisParser/mdl.h"

#include "IbisParser/parse.h"
#include "IbisParser/section.h"

namespace {

constinit SECTION_Records<MDL> models(&IBIS::models,
                                      {.module = "mdl",
                                       .noFile = {CMN_BugLine, 101},
                                       .noMemory = {CMN_BugLine, 100, true},
                                       .own = {{KW_EXTERNAL_MODEL, KW_END_EMI_MODEL}}});

}  // namespace

void MDL_Begin() { models.Begin(__LINE__); }

void MDL_Line(int, int, char*) {}

void MDL_KeywordChange(int nextCode) { models.KeywordChange(nextCode); }

void MDL_Reset() { models.Reset(); }

void MDL_CheckAll(MDL*) {}

void MDL_CheckAddedSubmodels(MDL*, SUBMDL*) {}
