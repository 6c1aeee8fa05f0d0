#include "IbisParser/cmpnt.h"

#include <new>

#include "IbisParser/cmn.h"
#include "IbisParser/ibis.h"
#include "IbisParser/parse.h"

namespace {

CMPNT* openCMPNT = nullptr;
// The last record of the list being built, so that appending in file order stays cheap.
CMPNT* lastCMPNT = nullptr;

bool OwnKeyword(int code) {
    return (code >= KW_COMPONENT && code <= KW_END_CIRCUIT_CALL) ||
           (code >= KW_BEGIN_EMI_COMPONENT && code <= KW_PIN_DOMAIN_EMI);
}

}  // namespace

CMPNT::~CMPNT() { IBIS_FreeChain(next); }

void CMPNT_Begin() {
    IBIS* ibis = nullptr;
    if (!IBIS_GetCurrent(&ibis)) {
        CMN_BugLine(515, "cmpnt", __LINE__);
        return;
    }
    std::unique_ptr<CMPNT> record(new (std::nothrow) CMPNT());
    if (!record) {
        CMN_ErrorLine(512);
        return;
    }
    openCMPNT = record.get();
    if (!ibis->components) {
        ibis->components = std::move(record);
    } else {
        if (lastCMPNT == nullptr) {
            lastCMPNT = ibis->components.get();
            while (lastCMPNT->next) lastCMPNT = lastCMPNT->next.get();
        }
        lastCMPNT->next = std::move(record);
    }
    lastCMPNT = openCMPNT;
}

void CMPNT_Line(int, int, char*) {}

void CMPNT_KeywordChange(int nextCode) {
    if (!OwnKeyword(nextCode)) openCMPNT = nullptr;
}

void CMPNT_Reset() {
    openCMPNT = nullptr;
    lastCMPNT = nullptr;
}

void CMPNT_CheckAll(CMPNT*, CIRCUIT*, MDL*) {}
