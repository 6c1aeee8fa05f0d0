// The [Test Load] section of .ibs files: one TESTLOAD per test load, newest first. Every
// keyword after [Test Load] closes it. Lines routed here are accepted without findings.
#pragma once

#include <memory>

struct TESTLOAD {
    std::unique_ptr<TESTLOAD> next;

    ~TESTLOAD();
};

// Begin action of the opening keyword: a new record in the current file, now the open one.
void TESTLOAD_Init();
// Every keyword line (LINE_KEYWORD) and data line (LINE_DATA) routed to the section.
void TESTLOAD_Line(int lineKind, int code, char* text);
// The keyword-change notice: closes the open record when nextCode is not the section's own.
void TESTLOAD_EndKeyword(int nextCode);
// Forgets the open record (start of a file, release of a file record).
void TESTLOAD_Reset();
// After the whole file: the receiver models of each test load.
void TESTLOAD_CheckAll(TESTLOAD* testLoads);
