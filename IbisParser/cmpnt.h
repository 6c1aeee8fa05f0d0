// The [Component] section of an .ibs file: one CMPNT per [Component], kept in file order.
// Lines routed here are accepted without findings.
#pragma once

#include <memory>

struct CIRCUIT;
struct MDL;

struct CMPNT {
    std::unique_ptr<CMPNT> next;

    ~CMPNT();
};

// Begin action of the opening keyword: a new record in the current file, now the open one.
void CMPNT_Begin();
// Every keyword line (LINE_KEYWORD) and data line (LINE_DATA) routed to the section.
void CMPNT_Line(int lineKind, int code, char* text);
// The keyword-change notice: closes the open record when nextCode is not the section's own.
void CMPNT_KeywordChange(int nextCode);
// Forgets the open record (start of a file, release of a file record).
void CMPNT_Reset();
// After the whole file: the cross-checks of each component against the rest of the file.
void CMPNT_CheckAll(CMPNT* components, CIRCUIT* circuits, MDL* models);
