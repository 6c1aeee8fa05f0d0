#include "IbisParser/pkgmdl.h"

#include <new>

#include "IbisParser/cmn.h"
#include "IbisParser/ibis.h"
#include "IbisParser/parse.h"

namespace {

PKGMDL* openPackageModel = nullptr;

bool OwnKeyword(int code) {
    return code >= KW_DEFINE_PACKAGE_MODEL && code <= KW_NUMBER_OF_SECTIONS;
}

}  // namespace

PKGMDL::~PKGMDL() { IBIS_FreeChain(next); }

void PKGMDL_Init() {
    IBIS* ibis = nullptr;
    if (!IBIS_GetCurrent(&ibis)) {
        CMN_BugLine(3400, "pkgmdl", __LINE__);
        return;
    }
    std::unique_ptr<PKGMDL> record(new (std::nothrow) PKGMDL());
    if (!record) {
        CMN_ErrorLine(3416);
        return;
    }
    openPackageModel = record.get();
    IBIS_PushFront(ibis->packageModels, std::move(record));
}

void PKGMDL_Line(int, int, char*) {}

void PKGMDL_EndKeyword(int nextCode) {
    if (!OwnKeyword(nextCode)) openPackageModel = nullptr;
}

void PKGMDL_Reset() { openPackageModel = nullptr; }

void PKGMDL_CheckDuplicates(PKGMDL*) {}
