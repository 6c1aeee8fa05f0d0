// The [Test Data] section of .ibs files: one TESTDATA per section, newest first. Lines routed
// here are accepted without findings.
#pragma once

#include <memory>

struct TESTDATA {
    std::unique_ptr<TESTDATA> next;

    ~TESTDATA();
};

// Begin action of the opening keyword: a new record in the current file, now the open one.
void TESTDATA_Init();
// Every keyword line (LINE_KEYWORD) and data line (LINE_DATA) routed to the section.
void TESTDATA_Line(int lineKind, int code, char* text);
// The keyword-change notice: closes the open record when nextCode is not the section's own.
void TESTDATA_EndKeyword(int nextCode);
// Forgets the open record (start of a file, release of a file record).
void TESTDATA_Reset();
// After the whole file: the driver models and the test load of each test data.
void TESTDATA_CheckAll(TESTDATA* testData);
