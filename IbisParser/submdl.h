// The [Submodel] section of .ibs files: one SUBMDL per submodel, newest first. Lines routed
// here are accepted without findings.
#pragma once

#include "IbisParser/linked.h"

struct MDL;

struct SUBMDL : IBIS_Linked<SUBMDL> {};

// The section operations that section.h describes.
void SUBMDL_Init();
void SUBMDL_Line(int lineKind, int code, char* text);
void SUBMDL_EndKeyword(int nextCode);
void SUBMDL_Reset();
// After the whole file: submodels that no model adds.
void SUBMDL_CheckUnused(SUBMDL* submodels, MDL* models);
