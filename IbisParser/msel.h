// The [Model Selector] section of .ibs files: one MSEL per selector, newest first. Every
// keyword after [Model Selector] closes the selector. Lines routed here are accepted without
// findings.
#pragma once

#include "IbisParser/linked.h"

struct MSEL : IBIS_Linked<MSEL> {};

// The section operations that section.h describes.
void MSEL_Init();
void MSEL_Line(int lineKind, int code, char* text);
void MSEL_EndKeyword(int nextCode);
void MSEL_Reset();
// After the whole file: a name used for both a model and a selector, models not defined.
void MSEL_CheckAll(MSEL* modelSelectors);
