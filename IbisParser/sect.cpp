// The R/L/C section reader: items up to the closing "/", with their order, sign and
// duplicate rules.
#include "IbisParser/sect.h"

#include <new>

#include "IbisParser/cmn.h"

namespace {

// Stores one item: Len must come first (lenMissing 0 is Len itself), a repeated item
// overwrites the stored value, and no value may be negative. The codes are template arguments,
// which not every compiler takes as constants for the compile-time check: they go through the
// run-time one.
template <int lenMissing, int duplicate, int negative>
void StoreItem(RLC_SECTION& section, std::optional<double>& slot, double value) {
    if constexpr (lenMissing != 0) {
        if (!section.Len) CMN_ErrorLine(CMN_RuntimeCode(lenMissing));
    }
    if (slot) CMN_ErrorLine(CMN_RuntimeCode(duplicate));
    slot = value;
    if (value < 0.0) CMN_ErrorLine(CMN_RuntimeCode(negative));
}

bool Empty(const RLC_SECTION& section) {
    return !section.Len && !section.R && !section.L && !section.C;
}

}  // namespace

int SECT_Read(const char* text, std::unique_ptr<RLC_SECTION>* section, const char** position) {
    CMN_ASSERT(text != nullptr && section != nullptr && position != nullptr);
    section->reset();
    RLC_SECTION read;
    const char* next = text;
    bool first = true;
    for (;;) {
        double value = 0.0;
        const char* stop = next;
        int kind = CMN_GetRLCItem(next, &value, &stop);
        // An item in error may leave reading where it was; move on so that a line always ends.
        next = stop != next || kind == CMN_RLC_PREMATURE ? stop : next + 1;
        *position = next;
        if (kind == CMN_RLC_PREMATURE) {
            if (first || Empty(read)) return 1;
            CMN_ErrorLine(3013);
            return 0;
        }
        first = false;
        switch (kind) {
        case CMN_RLC_LEN: StoreItem<0, 3000, 3001>(read, read.Len, value); break;
        case CMN_RLC_R: StoreItem<3002, 3003, 3004>(read, read.R, value); break;
        case CMN_RLC_L: StoreItem<3005, 3006, 3007>(read, read.L, value); break;
        case CMN_RLC_C: StoreItem<3008, 3009, 3010>(read, read.C, value); break;
        case CMN_RLC_END: {
            if (read.Len && *read.Len != 0.0 && (!read.C || !read.L)) {
                CMN_ErrorLine(3012);
            } else if (Empty(read)) {
                CMN_ErrorLine(3011);
            }
            section->reset(new (std::nothrow) RLC_SECTION(read));
            if (!*section) CMN_Bug(3014, "sect", __LINE__);
            return 1;
        }
        default: break;
        }
    }
}
