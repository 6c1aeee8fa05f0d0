// The [Begin Board Description] section of .ebd files: one EBDMDL per board description,
// newest first. The description keeps its name and each of its keywords with their lines as
// text; lines routed here are accepted without findings.
#pragma once

#include <string>
#include <vector>

#include "IbisParser/kept_keyword.h"
#include "IbisParser/linked.h"

struct EBDMDL : IBIS_Linked<EBDMDL> {
    // The first item after "]" of [Begin Board Description]; empty when none is given.
    std::string name;
    // Every keyword from [Begin Board Description] (first) up to, not including, [End Board
    // Description], in file order.
    std::vector<KEPT_KEYWORD> keywords;
    // [End Board Description] was read; it closes the description.
    bool ended = false;
};

// The section operations that section.h describes.
void EBDMDL_Init();
void EBDMDL_Line(int lineKind, int code, char* text);
void EBDMDL_EndKeyword(int nextCode);
void EBDMDL_Reset();
// After the whole file: duplicate descriptions, paths, referenced components and files.
void EBDMDL_CheckAll(EBDMDL* boardDescriptions, int flag);
