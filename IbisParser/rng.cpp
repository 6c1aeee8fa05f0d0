#include "IbisParser/rng.h"

#include <new>

#include "IbisParser/cmn.h"

namespace {

constexpr const char* kModule = "rng";

// Typ must lie between min and max (in either order); equal values pass.
bool TypOutsideRange(const RNG& value) {
    return (value.typ < value.min && value.typ < value.max) ||
           (value.typ > value.min && value.typ > value.max);
}

void ReportItemCount(int count, const char* name) {
    if (count == 1) {
        CMN_ErrorLine(3901, "minimum", name);
        CMN_ErrorLine(3901, "maximum", name);
    } else if (count == 2) {
        CMN_ErrorLine(3901, "maximum", name);
    } else if (count != 3) {
        CMN_ErrorLine(3902, count, name, 3);
    }
}

}  // namespace

int RNG_CheckColumns(const CMN_LINE_ITEMS& items, int firstItem, const char* name, RNG& value) {
    int ok = CMN_CheckValue(items.item(firstItem), name, "Typical", &value.typ, &value.typState);
    ok &= CMN_CheckValue(items.item(firstItem + 1), name, "Minimum", &value.min, &value.minState);
    ok &= CMN_CheckValue(items.item(firstItem + 2), name, "Maximum", &value.max, &value.maxState);
    return ok;
}

int RNG_Parse(const char* text, const char* name, std::unique_ptr<RNG>& result) {
    CMN_LINE_ITEMS items{};
    if (!CMN_SplitWords(text, 3, &items)) {
        CMN_BugLine(3900, name, kModule, __LINE__);
        return 0;
    }
    ReportItemCount(items.count, name);
    result.reset(new (std::nothrow) RNG{});
    if (!result) {
        CMN_Bug(3904, kModule, __LINE__);
        CMN_FreeLineItems(&items);
        return 0;
    }
    RNG& value = *result;
    const int ok = RNG_CheckColumns(items, 0, name, value);
    if (value.typState == RNG_NUMBER && value.minState == RNG_NUMBER &&
        value.maxState == RNG_NUMBER && TypOutsideRange(value)) {
        CMN_WarningLine(3903);
    }
    CMN_FreeLineItems(&items);
    return ok;
}
