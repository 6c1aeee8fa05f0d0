// The [Component] section of an .ibs file: one CMPNT per [Component], kept in file order.
// Lines routed here are accepted without findings.
#pragma once

#include "IbisParser/linked.h"

struct CIRCUIT;
struct MDL;

struct CMPNT : IBIS_Linked<CMPNT> {};

// The section operations that section.h describes.
void CMPNT_Begin();
void CMPNT_Line(int lineKind, int code, char* text);
void CMPNT_KeywordChange(int nextCode);
void CMPNT_Reset();
// After the whole file: the cross-checks of each component against the rest of the file.
void CMPNT_CheckAll(CMPNT* components, CIRCUIT* circuits, MDL* models);
