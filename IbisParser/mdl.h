// The [Model] section of an .ibs file: one MDL per [Model], newest first.
// Lines routed here are accepted without findings.
#pragma once

#include <memory>
#include <string>

#include "IbisParser/algmod.h"
#include "IbisParser/linked.h"

struct SUBMDL;

struct MDL : IBIS_Linked<MDL> {
    std::string name;
    // Present once the model has an [Algorithmic Model] keyword.
    std::unique_ptr<ALGMOD_LIST> algmod;
};

// The section operations that section.h describes.
void MDL_Begin();
void MDL_Line(int lineKind, int code, char* text);
void MDL_KeywordChange(int nextCode);
void MDL_Reset();
// After the whole file: models that no [Pin], [Model Selector], [Driver Schedule] or
// [Series Pin Mapping] refers to.
void MDL_CheckAll(MDL* models);
// After the whole file: models that add a submodel that is not defined.
void MDL_CheckAddedSubmodels(MDL* models, SUBMDL* submodels);
