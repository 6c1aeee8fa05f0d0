// The [Component] section of an .ibs file: one CMPNT per [Component], kept in file order.
// Only the component's name and its [Package Model] reference are kept so far; the other lines
// routed here are accepted without findings.
#pragma once

#include <string>

#include "IbisParser/linked.h"

struct CIRCUIT;
struct MDL;

struct CMPNT : IBIS_Linked<CMPNT> {
    std::string name;           // [Component]
    std::string package_model;  // [Package Model]
};

// The section operations that section.h describes.
void CMPNT_Begin();
void CMPNT_Line(int lineKind, int code, char* text);
void CMPNT_KeywordChange(int nextCode);
void CMPNT_Reset();
// After the whole file: the cross-checks of each component against the rest of the file. So
// far: the package model each component names is looked up, in the file and then in the .pkg
// files beside it.
void CMPNT_CheckAll(CMPNT* components, CIRCUIT* circuits, MDL* models);
