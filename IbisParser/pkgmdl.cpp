#include "IbisParser/pkgmdl.h"

#include "IbisParser/parse.h"
#include "IbisParser/section.h"

namespace {

constinit SECTION_Records<PKGMDL> packageModels(
    &IBIS::packageModels, {.module = "pkgmdl",
                           .noFile = {CMN_BugLine, 3400, true},
                           .noMemory = {CMN_ErrorLine, 3416},
                           .own = {{KW_DEFINE_PACKAGE_MODEL, KW_NUMBER_OF_SECTIONS}}});

}  // namespace

void PKGMDL_Init() { packageModels.Begin(__LINE__); }

void PKGMDL_Line(int, int, char*) {}

void PKGMDL_EndKeyword(int nextCode) { packageModels.KeywordChange(nextCode); }

void PKGMDL_Reset() { packageModels.Reset(); }

void PKGMDL_CheckDuplicates(PKGMDL*) {}
