#include "IbisParser/submdl.h"

#include <new>

#include "IbisParser/ibis.h"
#include "IbisParser/parse.h"

namespace {

SUBMDL* openSubmodel = nullptr;

bool OwnKeyword(int code) {
    return code >= KW_SUBMODEL && code <= KW_SUB_FALLING_WAVEFORM;
}

}  // namespace

SUBMDL::~SUBMDL() { IBIS_FreeChain(next); }

void SUBMDL_Init() {
    IBIS* ibis = nullptr;
    if (!IBIS_GetCurrent(&ibis)) return;
    std::unique_ptr<SUBMDL> record(new (std::nothrow) SUBMDL());
    if (!record) return;
    openSubmodel = record.get();
    IBIS_PushFront(ibis->submodels, std::move(record));
}

void SUBMDL_Line(int, int, char*) {}

void SUBMDL_EndKeyword(int nextCode) {
    if (!OwnKeyword(nextCode)) openSubmodel = nullptr;
}

void SUBMDL_Reset() { openSubmodel = nullptr; }

void SUBMDL_CheckUnused(SUBMDL*, MDL*) {}
