// The [Model Selector] section of .ibs files: one MSEL per selector, newest first. Every
// keyword after [Model Selector] closes the selector. Lines routed here are accepted without
// findings.
#pragma once

#include <memory>

struct MSEL {
    std::unique_ptr<MSEL> next;

    ~MSEL();
};

// Begin action of the opening keyword: a new record in the current file, now the open one.
void MSEL_Init();
// Every keyword line (LINE_KEYWORD) and data line (LINE_DATA) routed to the section.
void MSEL_Line(int lineKind, int code, char* text);
// The keyword-change notice: closes the open record when nextCode is not the section's own.
void MSEL_EndKeyword(int nextCode);
// Forgets the open record (start of a file, release of a file record).
void MSEL_Reset();
// After the whole file: a name used for both a model and a selector, models not defined.
void MSEL_CheckAll(MSEL* modelSelectors);
