#include "IbisParser/sinfo.h"

#include <cstring>
#include <new>

#include "IbisParser/cmn.h"

namespace {

constexpr const char* kModule = "sinfo";

// Nothing may follow the keyword on its line.
void CheckKeywordLine(const char* text, const char* name) {
    const char* rest = text;
    if (!CMN_SkipPastBracket(&rest)) {
        CMN_BugLine(2902, kModule, __LINE__);
        return;
    }
    CMN_LINE_ITEMS items{};
    if (!CMN_SplitWords(rest, 1, &items)) {
        CMN_Bug(2903, name, kModule, __LINE__);
        return;
    }
    if (items.count > 0) {
        CMN_ErrorLine(2904, items.count + 1, name, 1);
    }
    CMN_FreeLineItems(&items);
}

}  // namespace

int SINFO_Begin(std::unique_ptr<SINFO>& holder, const char* text, const char* name) {
    if (holder) {
        CMN_ErrorLine(2900, name);
        holder.reset();
    }
    holder.reset(new (std::nothrow) SINFO{});
    if (!holder) {
        CMN_Bug(2901, kModule, __LINE__);
        return 0;
    }
    CheckKeywordLine(text, name);
    return 1;
}

void SINFO_Check(const SINFO& set, const char* modelName, const char* stateName) {
    if (!set.R_series && !set.L_series && !set.C_series && !set.seriesCurrent &&
        !set.seriesMosfets) {
        CMN_Error(2905, modelName, stateName);
    }
    if (std::strcmp(stateName, "[Off]") == 0 && set.seriesMosfets) {
        CMN_Error(2906, modelName);
    }
    if (set.Rl_series && !set.L_series) {
        CMN_Error(2907, modelName, stateName);
    }
    if (set.Rc_series && !set.C_series) {
        CMN_Error(2908, modelName, stateName);
    }
    if (set.Lc_series && !set.C_series) {
        CMN_Error(2909, modelName, stateName);
    }
    if (set.seriesMosfets && set.checkMosfets) {
        set.checkMosfets(set.seriesMosfets.get(), modelName, stateName);
    }
}

void SINFO_Free(std::unique_ptr<SINFO>& set) { set.reset(); }
