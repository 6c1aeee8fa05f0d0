#include "IbisParser/cmpnt.h"

#include <new>

#include "IbisParser/cmn.h"
#include "IbisParser/ibis.h"
#include "IbisParser/parse.h"

namespace {

CMPNT* openComponent = nullptr;
// The last record of the list being built, so that appending in file order stays cheap.
CMPNT* lastComponent = nullptr;

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
    openComponent = record.get();
    if (!ibis->components) {
        ibis->components = std::move(record);
    } else {
        if (lastComponent == nullptr) {
            lastComponent = ibis->components.get();
            while (lastComponent->next) lastComponent = lastComponent->next.get();
        }
        lastComponent->next = std::move(record);
    }
    lastComponent = openComponent;
}

void CMPNT_Line(int, int, char*) {}

void CMPNT_KeywordChange(int nextCode) {
    if (!OwnKeyword(nextCode)) openComponent = nullptr;
}

void CMPNT_Reset() {
    openComponent = nullptr;
    lastComponent = nullptr;
}

void CMPNT_CheckAll(CMPNT*, CIRCUIT*, MDL*) {}
