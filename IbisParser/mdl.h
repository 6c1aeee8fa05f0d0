// The [Model] section of an .ibs file: one MDL per [Model], newest first.
// Lines routed here are accepted without findings.
#pragma once

#include <memory>

struct SUBMDL;

struct MDL {
    std::unique_ptr<MDL> next;

    ~MDL();
};

// Begin action of the opening keyword: a new record in the current file, now the open one.
void MDL_Begin();
// Every keyword line (LINE_KEYWORD) and data line (LINE_DATA) routed to the section.
void MDL_Line(int lineKind, int code, char* text);
// The keyword-change notice: closes the open record when nextCode is not the section's own.
void MDL_KeywordChange(int nextCode);
// Forgets the open record (start of a file, release of a file record).
void MDL_Reset();
// After the whole file: models that no [Pin], [Model Selector], [Driver Schedule] or
// [Series Pin Mapping] refers to.
void MDL_CheckAll(MDL* models);
// After the whole file: models that add a submodel that is not defined.
void MDL_CheckAddedSubmodels(MDL* models, SUBMDL* submodels);
