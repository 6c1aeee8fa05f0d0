#include "IbisParser/msel.h"

#include <new>

#include "IbisParser/cmn.h"
#include "IbisParser/ibis.h"
#include "IbisParser/parse.h"

namespace {

MSEL* openSelector = nullptr;

}  // namespace

MSEL::~MSEL() { IBIS_FreeChain(next); }

void MSEL_Init() {
    IBIS* ibis = nullptr;
    if (!IBIS_GetCurrent(&ibis)) {
        CMN_BugLine(4000, "msel", __LINE__);
        return;
    }
    std::unique_ptr<MSEL> record(new (std::nothrow) MSEL());
    if (!record) {
        CMN_ErrorLine(4007);
        return;
    }
    openSelector = record.get();
    IBIS_PushFront(ibis->modelSelectors, std::move(record));
}

void MSEL_Line(int, int, char*) {}

void MSEL_EndKeyword(int) { openSelector = nullptr; }

void MSEL_Reset() { openSelector = nullptr; }

void MSEL_CheckAll(MSEL*) {}
