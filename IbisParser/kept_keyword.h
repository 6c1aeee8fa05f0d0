// Keywords kept as given, for sections whose lines are read but not checked: each keyword's
// code, the text after "]" on its keyword line and its data lines, in file order. Only the kept
// strings are allocated.
#pragma once

#include <string>
#include <vector>

#include "IbisParser/cmn.h"
#include "IbisParser/parse.h"

struct KEPT_KEYWORD {
    int code = 0;
    std::string text;                // after "]", without the blanks around it; empty when none
    std::vector<std::string> lines;  // the data lines as given
};

// A keyword line starts a new kept keyword; a data line joins the last one (a data line with no
// keyword before it is passed over). Other line kinds are passed over.
inline void KEPT_Line(std::vector<KEPT_KEYWORD>& kept, int lineKind, int code, const char* text) {
    if (lineKind == LINE_KEYWORD) {
        const char* rest = text;
        CMN_SkipPastBracket(&rest);
        rest = CMN_SkipSpace(rest);
        KEPT_KEYWORD& keyword = kept.emplace_back();
        keyword.code = code;
        if (*rest != '\0') {
            keyword.text = rest;
            CMN_TrimRight(keyword.text);
        }
    } else if (lineKind == LINE_DATA && !kept.empty()) {
        kept.back().lines.emplace_back(text);
    }
}
