#include "IbisParser/testdata.h"

#include <new>

#include "IbisParser/cmn.h"
#include "IbisParser/ibis.h"
#include "IbisParser/parse.h"

namespace {

TESTDATA* openTestData = nullptr;

bool OwnKeyword(int code) {
    return code >= KW_TEST_DATA && code <= KW_DIFF_FALLING_WAVEFORM_FAR;
}

}  // namespace

TESTDATA::~TESTDATA() { IBIS_FreeChain(next); }

void TESTDATA_Init() {
    IBIS* ibis = nullptr;
    if (!IBIS_GetCurrent(&ibis)) {
        CMN_Bug(2301);
        return;
    }
    std::unique_ptr<TESTDATA> record(new (std::nothrow) TESTDATA());
    if (!record) {
        CMN_Bug(2300, "testdata", __LINE__);
        return;
    }
    openTestData = record.get();
    IBIS_PushFront(ibis->testData, std::move(record));
}

void TESTDATA_Line(int, int, char*) {}

void TESTDATA_EndKeyword(int nextCode) {
    if (!OwnKeyword(nextCode)) openTestData = nullptr;
}

void TESTDATA_Reset() { openTestData = nullptr; }

void TESTDATA_CheckAll(TESTDATA*) {}
