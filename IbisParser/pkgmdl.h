// The [Define Package Model] section of .ibs and .pkg files: one PKGMDL per model, newest
// first. Lines routed here are accepted without findings.
#pragma once

#include <memory>

struct PKGMDL {
    std::unique_ptr<PKGMDL> next;

    ~PKGMDL();
};

// Begin action of the opening keyword: a new record in the current file, now the open one.
void PKGMDL_Init();
// Every keyword line (LINE_KEYWORD) and data line (LINE_DATA) routed to the section.
void PKGMDL_Line(int lineKind, int code, char* text);
// The keyword-change notice: closes the open record when nextCode is not the section's own.
void PKGMDL_EndKeyword(int nextCode);
// Forgets the open record (start of a file, release of a file record).
void PKGMDL_Reset();
// After the whole file: a package model defined twice in the file.
void PKGMDL_CheckDuplicates(PKGMDL* packageModels);
