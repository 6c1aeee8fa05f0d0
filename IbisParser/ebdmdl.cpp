#include "IbisParser/ebdmdl.h"

#include <new>

#include "IbisParser/ibis.h"
#include "IbisParser/parse.h"

namespace {

EBDMDL* openBoardDescription = nullptr;

bool OwnKeyword(int code) {
    return code >= KW_BEGIN_BOARD_DESCRIPTION && code <= KW_END_BOARD_DESCRIPTION;
}

}  // namespace

EBDMDL::~EBDMDL() { IBIS_FreeChain(next); }

void EBDMDL_Init() {
    IBIS* ibis = nullptr;
    if (!IBIS_GetCurrent(&ibis)) return;
    std::unique_ptr<EBDMDL> record(new (std::nothrow) EBDMDL());
    if (!record) return;
    openBoardDescription = record.get();
    IBIS_PushFront(ibis->boardDescriptions, std::move(record));
}

void EBDMDL_Line(int, int, char*) {}

void EBDMDL_EndKeyword(int nextCode) {
    if (!OwnKeyword(nextCode)) openBoardDescription = nullptr;
}

void EBDMDL_Reset() { openBoardDescription = nullptr; }

void EBDMDL_CheckAll(EBDMDL*, int) {}
