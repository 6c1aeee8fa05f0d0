// The [Model Selector] section of .ibs files: one MSEL per selector, newest first, with its
// listed models in file order. Every keyword after [Model Selector] closes the selector with
// its closing check; after the whole file the selectors are checked against the models.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "IbisParser/linked.h"

// One listed model.
struct MSEL_MODEL : IBIS_Linked<MSEL_MODEL> {
    std::string name;         // 20 characters before IBIS 4.0, 40 from 4.0 on
    std::string description;  // at most 80 characters minus the length of the name
};

struct MSEL : IBIS_Linked<MSEL> {
    std::unique_ptr<MSEL_MODEL> models;  // in file order
    MSEL_MODEL* lastModel = nullptr;
    std::string name;  // 20 characters before IBIS 4.0, 40 from 4.0 on
    // 2 until the whole-file check; then 0 when the first listed model is differential, else 1.
    std::uint32_t differential = 2;
};

// The section operations that section.h describes.
void MSEL_Init();
void MSEL_Line(int lineKind, int code, char* text);
void MSEL_EndKeyword(int nextCode);
void MSEL_Reset();
// After the whole file: a name used for both a model and a selector, models not defined, and
// selectors mixing differential and single-ended models.
void MSEL_CheckAll(MSEL* modelSelectors);
// The first selector of the list with exactly that name, or nullptr; MSEL_Exists: 1 or 0.
MSEL* MSEL_Find(const char* name, MSEL* list);
int MSEL_Exists(const char* name, MSEL* list);
