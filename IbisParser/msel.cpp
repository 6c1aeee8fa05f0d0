#include "IbisParser/msel.h"

#include "IbisParser/section.h"

namespace {

// No keyword of its own: every keyword after [Model Selector] closes the selector.
constinit SECTION_Records<MSEL> selectors(&IBIS::modelSelectors,
                                          {.module = "msel",
                                           .noFile = {CMN_BugLine, 4000, true},
                                           .noMemory = {CMN_ErrorLine, 4007},
                                           .own = {}});

}  // namespace

void MSEL_Init() { selectors.Begin(__LINE__); }

void MSEL_Line(int, int, char*) {}

void MSEL_EndKeyword(int nextCode) { selectors.KeywordChange(nextCode); }

void MSEL_Reset() { selectors.Reset(); }

void MSEL_CheckAll(MSEL*) {}

MSEL* MSEL_Find(const char* name, MSEL* list) {
    for (MSEL* selector = list; selector != nullptr; selector = selector->next.get()) {
        if (selector->name == name) return selector;
    }
    return nullptr;
}

int MSEL_Exists(const char* name, MSEL* list) { return MSEL_Find(name, list) != nullptr ? 1 : 0; }
