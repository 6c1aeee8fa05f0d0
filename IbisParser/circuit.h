// The [External Circuit] section of .ibs files: one CIRCUIT per external circuit, newest
// first. The line reader does not tell it of keyword changes; a new [External Circuit] or the
// start of a file ends the open one. Lines routed here are accepted without findings.
#pragma once

#include "IbisParser/linked.h"

struct CIRCUIT : IBIS_Linked<CIRCUIT> {};

// The section operations that section.h describes (no keyword-change notice).
void CIRCUIT_Init();
void CIRCUIT_Line(int lineKind, int code, char* text);
void CIRCUIT_Reset();
