#include "IbisParser/testload.h"

#include <new>

#include "IbisParser/cmn.h"
#include "IbisParser/ibis.h"
#include "IbisParser/parse.h"

namespace {

TESTLOAD* openTestLoad = nullptr;

}  // namespace

TESTLOAD::~TESTLOAD() { IBIS_FreeChain(next); }

void TESTLOAD_Init() {
    IBIS* ibis = nullptr;
    if (!IBIS_GetCurrent(&ibis)) {
        CMN_Bug(2201);
        return;
    }
    std::unique_ptr<TESTLOAD> record(new (std::nothrow) TESTLOAD());
    if (!record) {
        CMN_Bug(2200, "testload", __LINE__);
        return;
    }
    openTestLoad = record.get();
    IBIS_PushFront(ibis->testLoads, std::move(record));
}

void TESTLOAD_Line(int, int, char*) {}

void TESTLOAD_EndKeyword(int) { openTestLoad = nullptr; }

void TESTLOAD_Reset() { openTestLoad = nullptr; }

void TESTLOAD_CheckAll(TESTLOAD*) {}
