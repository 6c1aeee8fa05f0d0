#include "IbisParser/testdata.h"

#include "IbisParser/parse.h"
#include "IbisParser/section.h"

namespace {

constinit SECTION_Records<TESTDATA> testData(
    &IBIS::testData, {.module = "testdata",
                      .noFile = {CMN_Bug, 2301},
                      .noMemory = {CMN_Bug, 2300, true},
                      .own = {{KW_TEST_DATA, KW_DIFF_FALLING_WAVEFORM_FAR}}});

}  // namespace

void TESTDATA_Init() { testData.Begin(__LINE__); }

void TESTDATA_Line(int, int, char*) {}

void TESTDATA_EndKeyword(int nextCode) { testData.KeywordChange(nextCode); }

void TESTDATA_Reset() { testData.Reset(); }

void TESTDATA_CheckAll(TESTDATA*) {}
