#include "IbisParser/drvsh.h"

#include <new>

#include "IbisParser/cmn.h"
#include "IbisParser/hdr.h"
#include "IbisParser/mdl.h"
#include "IbisParser/parse.h"

namespace {

constexpr const char* kModule = "drvsh";

// Reused for every line.
CMN_LINE_ITEMS items;

// Reads the entry's name; false when the line holds none.
bool ReadName(const char* text, DRVSH& record, DRVSH_MODEL& entry, const char* modelName) {
    if (!CMN_SplitWords(text, 1, &items)) {
        CMN_Error(4210);
        return false;
    }
    if (items.count == 0) {
        CMN_ErrorLine(4211);
        return false;
    }
    const std::size_t limit = HDR_GetVersion() < 4 ? 20 : 40;
    entry.name = items.items[0];
    if (entry.name.size() > limit) {
        CMN_ErrorLine(4212, static_cast<int>(limit));
        entry.name.resize(limit);
    }
    const char* name = entry.name.c_str();
    if (entry.name == modelName) {
        CMN_ErrorLine(4213, name);
    } else if (!CMN_IsNotReserved(name)) {
        CMN_ErrorLine(4214, name);
    }
    if (record.names.contains(entry.name)) CMN_ErrorLine(4215, name);
    return true;
}

// The text after the line's first item and the white space after it.
const char* AfterName(const char* text) {
    return CMN_SkipSpace(CMN_SkipToSpace(CMN_SkipSpace(text)));
}

// The types that drive nothing, so a schedule cannot switch them.
bool CannotBeScheduled(int type) {
    return type == MDL_INPUT || type == MDL_INPUT_ECL || type == MDL_TERMINATOR ||
           type == MDL_SERIES || type == MDL_SERIES_SWITCH;
}

}  // namespace

void DRVSH_Keyword(const char* text, std::unique_ptr<DRVSH>& record) {
    if (record) {
        CMN_ErrorLine(4200);
        DRVSH_Free(record);
    }
    record.reset(new (std::nothrow) DRVSH{});
    if (!record) {
        CMN_BugLine(4201, kModule, __LINE__);
        return;
    }
    const char* rest = text;
    CMN_SkipPastBracket(&rest);
    CMN_SplitWords(rest, 1, &items);
    if (items.count > 0) CMN_ErrorLine(4204, items.count + 1, "Driver Schedule", 1);
    record->line = PARSE_GetLineNumber();
}

void DRVSH_Line(const char* text, DRVSH& record, const char* modelName) {
    std::unique_ptr<DRVSH_MODEL> entry(new (std::nothrow) DRVSH_MODEL{});
    if (!entry) {
        CMN_ErrorLine(4216);
        return;
    }
    if (ReadName(text, record, *entry, modelName)) {
        DLY_Parse(AfterName(text), entry->name.c_str(), entry->delays);
    }
    // The entry stays whatever its name or delays drew.
    record.names.insert(entry->name);
    IBIS_PushFront(record.first, std::move(entry));
    ++record.count;
}

void DRVSH_Close(const DRVSH& record, const char* modelName) {
    if (record.count == 0) {
        CMN_Error(4205, modelName);
    } else if (record.count == 1) {
        CMN_Warning(4206, modelName);
    }
}

void DRVSH_CheckAll(MDL* models) {
    for (const MDL* model = models; model != nullptr; model = model->next.get()) {
        if (!model->schedule) continue;
        const char* scheduler = model->name.c_str();
        for (const DRVSH_MODEL* entry = model->schedule->first.get(); entry != nullptr;
             entry = entry->next.get()) {
            const char* name = entry->name.c_str();
            MDL* found = MDL_Find(models, name, nullptr);
            if (found == nullptr) {
                CMN_Error(4207, name, scheduler);
                continue;
            }
            found->referenced = true;
            if (found->schedule) CMN_Error(4208, name, scheduler);
            if (CannotBeScheduled(found->model_type)) CMN_Error(4209, name, scheduler);
        }
    }
}

void DRVSH_Free(std::unique_ptr<DRVSH>& record) { record.reset(); }
