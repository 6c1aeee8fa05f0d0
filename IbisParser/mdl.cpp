#include "IbisParser/mdl.h"

#include <new>

#include "IbisParser/cmn.h"
#include "IbisParser/ibis.h"
#include "IbisParser/parse.h"

namespace {

MDL* openModel = nullptr;

bool OwnKeyword(int code) {
    return code >= KW_EXTERNAL_MODEL && code <= KW_END_EMI_MODEL;
}

}  // namespace

MDL::~MDL() { IBIS_FreeChain(next); }

void MDL_Begin() {
    IBIS* ibis = nullptr;
    if (!IBIS_GetCurrent(&ibis)) {
        CMN_BugLine(101);
        return;
    }
    std::unique_ptr<MDL> record(new (std::nothrow) MDL());
    if (!record) {
        CMN_BugLine(100, "mdl", __LINE__);
        return;
    }
    openModel = record.get();
    IBIS_PushFront(ibis->models, std::move(record));
}

void MDL_Line(int, int, char*) {}

void MDL_KeywordChange(int nextCode) {
    if (!OwnKeyword(nextCode)) openModel = nullptr;
}

void MDL_Reset() { openModel = nullptr; }

void MDL_CheckAll(MDL*) {}

void MDL_CheckAddedSubmodels(MDL*, SUBMDL*) {}
