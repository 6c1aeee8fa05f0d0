#include "IbisParser/testload.h"

#include "IbisParser/section.h"

namespace {

// No keyword of its own: every keyword after [Test Load] closes it.
constinit SECTION_Records<TESTLOAD> testLoads(&IBIS::testLoads, {.module = "testload",
                                                                 .noFile = {CMN_Bug, 2201},
                                                                 .noMemory = {CMN_Bug, 2200, true},
                                                                 .own = {}});

}  // namespace

void TESTLOAD_Init() { testLoads.Begin(__LINE__); }

void TESTLOAD_Line(int, int, char*) {}

void TESTLOAD_EndKeyword(int nextCode) { testLoads.KeywordChange(nextCode); }

void TESTLOAD_Reset() { testLoads.Reset(); }

void TESTLOAD_CheckAll(TESTLOAD*) {}
