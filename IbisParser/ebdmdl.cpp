#include "IbisParser/ebdmdl.h"

#include "IbisParser/parse.h"
#include "IbisParser/section.h"

namespace {

// Begin failures pass silently here.
constinit SECTION_Records<EBDMDL> boardDescriptions(
    &IBIS::boardDescriptions, {.module = "ebdmdl",
                               .noFile = {},
                               .noMemory = {},
                               .own = {{KW_BEGIN_BOARD_DESCRIPTION, KW_END_BOARD_DESCRIPTION}}});

}  // namespace

void EBDMDL_Init() { boardDescriptions.Begin(__LINE__); }

void EBDMDL_Line(int, int, char*) {}

void EBDMDL_EndKeyword(int nextCode) { boardDescriptions.KeywordChange(nextCode); }

void EBDMDL_Reset() { boardDescriptions.Reset(); }

void EBDMDL_CheckAll(EBDMDL*, int) {}
