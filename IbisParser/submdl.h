// The [Submodel] section of .ibs files: one SUBMDL per submodel, newest first. The section
// keeps each submodel's name for the models' [Add Submodel] references, and each keyword of the
// submodel with its lines as text; its lines are accepted without findings.
#pragma once

#include <string>
#include <vector>

#include "IbisParser/kept_keyword.h"
#include "IbisParser/linked.h"

struct MDL;

struct SUBMDL : IBIS_Linked<SUBMDL> {
    // The first item after the [Submodel] keyword; empty when the keyword line has none.
    std::string name;
    // Every keyword of the submodel, [Submodel] first, in file order.
    std::vector<KEPT_KEYWORD> keywords;
};

// The section operations that section.h describes.
void SUBMDL_Init();
void SUBMDL_Line(int lineKind, int code, char* text);
void SUBMDL_EndKeyword(int nextCode);
void SUBMDL_Reset();
// After the whole file: each named submodel that no model's [Add Submodel] names (exact
// comparison) is warning 220, in list order.
void SUBMDL_CheckUnused(SUBMDL* submodels, MDL* models);
