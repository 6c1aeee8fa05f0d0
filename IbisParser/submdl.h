// The [Submodel] section of .ibs files: one SUBMDL per submodel, newest first. Lines routed
// here are accepted without findings.
#pragma once

#include <memory>

struct MDL;

struct SUBMDL {
    std::unique_ptr<SUBMDL> next;

    ~SUBMDL();
};

// Begin action of the opening keyword: a new record in the current file, now the open one.
void SUBMDL_Init();
// Every keyword line (LINE_KEYWORD) and data line (LINE_DATA) routed to the section.
void SUBMDL_Line(int lineKind, int code, char* text);
// The keyword-change notice: closes the open record when nextCode is not the section's own.
void SUBMDL_EndKeyword(int nextCode);
// Forgets the open record (start of a file, release of a file record).
void SUBMDL_Reset();
// After the whole file: submodels that no model adds.
void SUBMDL_CheckUnused(SUBMDL* submodels, MDL* models);
