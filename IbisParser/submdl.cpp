#include "IbisParser/submdl.h"

#include <string_view>
#include <unordered_set>

#include "IbisParser/cmn.h"
#include "IbisParser/mdl.h"
#include "IbisParser/parse.h"
#include "IbisParser/section.h"

namespace {

// Begin failures pass silently here.
constinit SECTION_Records<SUBMDL> submodels(&IBIS::submodels,
                                            {.module = "submdl",
                                             .noFile = {},
                                             .noMemory = {},
                                             .own = {{KW_SUBMODEL, KW_SUB_FALLING_WAVEFORM}}});

// Reused for every keyword line, so that splitting allocates nothing once warmed up.
CMN_LINE_ITEMS items;

}  // namespace

void SUBMDL_Init() { submodels.Begin(__LINE__); }

// Every keyword and data line of the open submodel is kept as text; the [Submodel] line also
// gives the name (its first item). Lines with no open submodel are passed over.
void SUBMDL_Line(int lineKind, int code, char* text) {
    SUBMDL* submodel = submodels.Open();
    if (submodel == nullptr) return;
    KEPT_Line(submodel->keywords, lineKind, code, text);
    if (lineKind != LINE_KEYWORD || code != KW_SUBMODEL) return;
    const char* rest = text;
    CMN_SkipPastBracket(&rest);
    CMN_SplitWords(rest, 1, &items);
    if (items.stored > 0) submodel->name = items.items[0];
}

void SUBMDL_EndKeyword(int nextCode) { submodels.KeywordChange(nextCode); }

void SUBMDL_Reset() { submodels.Reset(); }

// A submodel without a name cannot be named by [Add Submodel], so it is not reported.
void SUBMDL_CheckUnused(SUBMDL* list, MDL* models) {
    std::unordered_set<std::string_view> added;
    for (const MDL* model = models; model != nullptr; model = model->next.get()) {
        for (const std::string& name : model->addSubmodels) added.insert(name);
    }
    for (const SUBMDL* submodel = list; submodel != nullptr; submodel = submodel->next.get()) {
        if (!submodel->name.empty() && !added.contains(submodel->name)) {
            CMN_Warning(220, submodel->name.c_str());
        }
    }
}
