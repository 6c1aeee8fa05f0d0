// The [Begin Board Description] section of .ebd files: one EBDMDL per board description,
// newest first. Lines routed here are accepted without findings.
#pragma once

#include "IbisParser/linked.h"

struct EBDMDL : IBIS_Linked<EBDMDL> {};

// The section operations that section.h describes.
void EBDMDL_Init();
void EBDMDL_Line(int lineKind, int code, char* text);
void EBDMDL_EndKeyword(int nextCode);
void EBDMDL_Reset();
// After the whole file: duplicate descriptions, paths, referenced components and files.
void EBDMDL_CheckAll(EBDMDL* boardDescriptions, int flag);
