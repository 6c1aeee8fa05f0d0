#include "IbisParser/mdl.h"

#include "IbisParser/parse.h"
#include "IbisParser/section.h"

namespace {

constinit SECTION_Records<MDL> models(&IBIS::models,
                                      {.module = "mdl",
                                       .noFile = {CMN_BugLine, 101},
                                       .noMemory = {CMN_BugLine, 100, true},
                                       .own = {{KW_EXTERNAL_MODEL, KW_END_EMI_MODEL}}});

// The model keyword most recently routed here.
int modelKeyword = NOT_KEY;

// The model's name: the first item after the keyword.
void StoreName(const char* text, MDL* model) {
    CMN_SkipPastBracket(&text);
    model->name.assign(text, CMN_TokenLength(text, '\0'));
}

}  // namespace

void MDL_Begin() { models.Begin(__LINE__); }

void MDL_Line(int lineKind, int code, char* text) {
    MDL* open = models.Open();
    if (lineKind == LINE_KEYWORD) modelKeyword = code;
    if (open == nullptr) return;
    if (code == KW_MODEL && lineKind == LINE_KEYWORD) StoreName(text, open);
    if (code != KW_ALGORITHMIC_MODEL) return;
    if (lineKind == LINE_KEYWORD) {
        ALGMOD_Keyword(text, open);
    } else {
        ALGMOD_DataLine(text, open);
    }
}

void MDL_KeywordChange(int nextCode) {
    if (modelKeyword == KW_ALGORITHMIC_MODEL && models.Open() != nullptr) {
        ALGMOD_Close(models.Open());
    }
    modelKeyword = NOT_KEY;
    models.KeywordChange(nextCode);
}

void MDL_Reset() {
    modelKeyword = NOT_KEY;
    models.Reset();
}

void MDL_CheckAll(MDL*) {}

void MDL_CheckAddedSubmodels(MDL*, SUBMDL*) {}
