#include "IbisParser/cmpnt.h"

#include "IbisParser/ibis.h"
#include "IbisParser/parse.h"
#include "IbisParser/pkgmdl.h"
#include "IbisParser/section.h"

namespace {

constinit SECTION_Records<CMPNT> components(&IBIS::components,
                                            {.module = "cmpnt",
                                             .noFile = {CMN_BugLine, 515, true},
                                             .noMemory = {CMN_ErrorLine, 512},
                                             .own = {{KW_COMPONENT, KW_END_CIRCUIT_CALL},
                                                     {KW_BEGIN_EMI_COMPONENT, KW_PIN_DOMAIN_EMI}},
                                             .fileOrder = true});

// A package model known to the run: read in the file, or found in the .pkg files beside it.
bool PackageModelKnown(const std::string& name) {
    IBIS* ibis = nullptr;
    PKGMDL* found = nullptr;
    if (!IBIS_GetCurrent(&ibis)) return false;
    if (PKGMDL_Find(ibis->packageModels.get(), name.c_str(), &found)) return true;
    if (!PKGMDL_FindInPkgFiles(name.c_str())) return false;
    return PKGMDL_Find(ibis->packageModels.get(), name.c_str(), &found) != 0;
}

}  // namespace

void CMPNT_Begin() { components.Begin(__LINE__); }

void CMPNT_Line(int lineKind, int code, char* text) {
    CMPNT* component = components.Open();
    if (component == nullptr || lineKind != LINE_KEYWORD) return;
    const char* value = text;
    CMN_SkipPastBracket(&value);
    if (code == KW_COMPONENT) component->name = value;
    if (code == KW_PACKAGE_MODEL) component->package_model = value;
}

void CMPNT_KeywordChange(int nextCode) { components.KeywordChange(nextCode); }

void CMPNT_Reset() { components.Reset(); }

void CMPNT_CheckAll(CMPNT* components, CIRCUIT*, MDL*) {
    for (CMPNT* component = components; component != nullptr; component = component->next.get()) {
        const std::string& packageModel = component->package_model;
        if (!packageModel.empty() && !PackageModelKnown(packageModel)) {
            CMN_Error(516, packageModel.c_str(), component->name.c_str());
        }
    }
}
