// The [Begin Board Description] section of .ebd files: one EBDMDL per board description,
// newest first. Lines routed here are accepted without findings.
#pragma once

#include <memory>

struct EBDMDL {
    std::unique_ptr<EBDMDL> next;

    ~EBDMDL();
};

// Begin action of the opening keyword: a new record in the current file, now the open one.
void EBDMDL_Init();
// Every keyword line (LINE_KEYWORD) and data line (LINE_DATA) routed to the section.
void EBDMDL_Line(int lineKind, int code, char* text);
// The keyword-change notice: closes the open record when nextCode is not the section's own.
void EBDMDL_EndKeyword(int nextCode);
// Forgets the open record (start of a file, release of a file record).
void EBDMDL_Reset();
// After the whole file: duplicate descriptions, paths, referenced components and files.
void EBDMDL_CheckAll(EBDMDL* boardDescriptions, int flag);
