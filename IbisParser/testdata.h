// The [Test Data] section of .ibs files: one TESTDATA per section, newest first. Lines routed
// here are accepted without findings.
#pragma once

#include "IbisParser/linked.h"

struct TESTDATA : IBIS_Linked<TESTDATA> {};

// The section operations that section.h describes.
void TESTDATA_Init();
void TESTDATA_Line(int lineKind, int code, char* text);
void TESTDATA_EndKeyword(int nextCode);
void TESTDATA_Reset();
// After the whole file: the driver models and the test load of each test data.
void TESTDATA_CheckAll(TESTDATA* testData);
