// Driver schedules of models ([Driver Schedule]): the models that a model drives, each with its
// delays; the check when the model leaves the keyword and the whole-file check of the models
// named there.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <unordered_set>

#include "IbisParser/dly.h"
#include "IbisParser/linked.h"

struct MDL;

// One scheduled model.
struct DRVSH_MODEL : IBIS_Linked<DRVSH_MODEL> {
    std::string name;
    std::unique_ptr<DLY> delays;  // absent when the line gave no name
};

// The [Driver Schedule] of one model.
struct DRVSH {
    std::unique_ptr<DRVSH_MODEL> first;  // newest first
    unsigned long line = 0;              // the line of the keyword
    int count = 0;
    // The names of the entries, for the repeat check (views of the entries' own names).
    std::unordered_set<std::string_view> names;
};

// The keyword line; the model's record is made, or replaced when it has one.
void DRVSH_Keyword(const char* text, std::unique_ptr<DRVSH>& record);
// One data line: a model name and its delays, in the model named `modelName`.
void DRVSH_Line(const char* text, DRVSH& record, const char* modelName);
// When the model leaves the keyword.
void DRVSH_Close(const DRVSH& record, const char* modelName);
// After the whole file: models named in a schedule must exist, have no schedule of their own
// and be outputs. Marks the models it finds as referenced.
void DRVSH_CheckAll(MDL* models);
void DRVSH_Free(std::unique_ptr<DRVSH>& record);
