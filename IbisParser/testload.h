// The [Test Load] section of .ibs files: one TESTLOAD per test load, newest first. Every
// keyword after [Test Load] closes it. Lines routed here are accepted without findings.
#pragma once

#include "IbisParser/linked.h"

struct TESTLOAD : IBIS_Linked<TESTLOAD> {};

// The section operations that section.h describes.
void TESTLOAD_Init();
void TESTLOAD_Line(int lineKind, int code, char* text);
void TESTLOAD_EndKeyword(int nextCode);
void TESTLOAD_Reset();
// After the whole file: the receiver models of each test load.
void TESTLOAD_CheckAll(TESTLOAD* testLoads);
