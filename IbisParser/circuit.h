// The [External Circuit] section of .ibs files: one CIRCUIT per external circuit, newest
// first. The line reader does not tell it of keyword changes; a new [External Circuit] or the
// start of a file ends the open one. Lines routed here are accepted without findings.
#pragma once

#include <memory>

struct CIRCUIT {
    std::unique_ptr<CIRCUIT> next;

    ~CIRCUIT();
};

// Begin action of the opening keyword: a new record in the current file, now the open one.
void CIRCUIT_Init();
// Every keyword line (LINE_KEYWORD) and data line (LINE_DATA) routed to the section.
void CIRCUIT_Line(int lineKind, int code, char* text);
// Forgets the open record (start of a file, release of a file record).
void CIRCUIT_Reset();
