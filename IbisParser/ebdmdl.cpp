#include "IbisParser/ebdmdl.h"

#include "IbisParser/cmn.h"
#include "IbisParser/parse.h"
#include "IbisParser/section.h"

namespace {

// Begin failures pass silently here.
constinit SECTION_Records<EBDMDL> boardDescriptions(
    &IBIS::boardDescriptions, {.module = "ebdmdl",
                               .noFile = {},
                               .noMemory = {},
                               .own = {{KW_BEGIN_BOARD_DESCRIPTION, KW_END_BOARD_DESCRIPTION}}});

}  // namespace

void EBDMDL_Init() { boardDescriptions.Begin(__LINE__); }

// Every keyword line up to [End Board Description] and every data line is kept as text; the
// first item after "]" of [Begin Board Description] is the name. [End Board Description] closes
// the description, so lines after it, and lines with no open description, are passed over.
void EBDMDL_Line(int lineKind, int code, char* text) {
    EBDMDL* description = boardDescriptions.Open();
    if (description == nullptr) return;
    if (lineKind == LINE_KEYWORD && code == KW_END_BOARD_DESCRIPTION) {
        description->ended = true;
        boardDescriptions.Reset();  // closes it: the section keeps no list end
        return;
    }
    KEPT_Line(description->keywords, lineKind, code, text);
    if (lineKind == LINE_KEYWORD && code == KW_BEGIN_BOARD_DESCRIPTION) {
        const char* name = text;
        CMN_SkipPastBracket(&name);
        name = CMN_SkipSpace(name);
        description->name.assign(name, CMN_TokenLength(name, '\0'));
    }
}

void EBDMDL_EndKeyword(int nextCode) { boardDescriptions.KeywordChange(nextCode); }

void EBDMDL_Reset() { boardDescriptions.Reset(); }

void EBDMDL_CheckAll(EBDMDL*, int) {}
