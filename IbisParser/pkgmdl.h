// The [Define Package Model] section of .ibs and .pkg files: one PKGMDL per model, newest
// first. Lines routed here are accepted without findings.
#pragma once

#include "IbisParser/linked.h"

struct PKGMDL : IBIS_Linked<PKGMDL> {};

// The section operations that section.h describes.
void PKGMDL_Init();
void PKGMDL_Line(int lineKind, int code, char* text);
void PKGMDL_EndKeyword(int nextCode);
void PKGMDL_Reset();
// After the whole file: a package model defined twice in the file.
void PKGMDL_CheckDuplicates(PKGMDL* packageModels);
