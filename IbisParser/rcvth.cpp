#include "IbisParser/rcvth.h"

#include <cstring>
#include <string_view>

#include "IbisParser/cmn.h"
#include "IbisParser/difpin.h"
#include "IbisParser/ibis.h"
#include "IbisParser/mdl.h"

namespace {

constexpr const char* kNames[RCVTH_FIELD_COUNT] = {"Vth",
                                                   "Vth_min",
                                                   "Vth_max",
                                                   "Vinh_ac",
                                                   "Vinh_dc",
                                                   "Vinl_ac",
                                                   "Vinl_dc",
                                                   "Threshold_sensitivity",
                                                   "Reference_supply",
                                                   "Vcross_low",
                                                   "Vcross_high",
                                                   "Vdiff_ac",
                                                   "Vdiff_dc",
                                                   "Tslew_ac",
                                                   "Tdiffslew_ac"};

constexpr const char* kSupplies[] = {"Power_clamp_ref", "Gnd_clamp_ref", "Pullup_ref",
                                     "Pulldown_ref", "Ext_ref"};

// What a differential and a single-ended receiver should give, in report order, with codes.
struct Wanted {
    int field;
    int code;
};
constexpr Wanted kDifferential[] = {{RCVTH_VCROSS_LOW, 3206},
                                    {RCVTH_VCROSS_HIGH, 3207},
                                    {RCVTH_VDIFF_AC, 3208},
                                    {RCVTH_VDIFF_DC, 3209},
                                    {RCVTH_TDIFFSLEW_AC, 3210}};
constexpr Wanted kSingleEnded[] = {{RCVTH_VTH, 3219},     {RCVTH_VINH_AC, 3220},
                                   {RCVTH_VINL_AC, 3221}, {RCVTH_VINH_DC, 3222},
                                   {RCVTH_VINL_DC, 3223}, {RCVTH_TSLEW_AC, 3224}};

// Reused for every line, so that splitting allocates nothing once warmed up.
CMN_LINE_ITEMS items;

int FieldOf(std::string_view name) {
    for (int field = 0; field < RCVTH_FIELD_COUNT; ++field) {
        if (name == kNames[field]) return field;
    }
    return -1;
}

// name = value
void NumericLine(const char* text, RCVTH& record, int field) {
    const char* name = kNames[field];
    record.present[field] = true;
    record.value[field] = 0.0;
    CMN_ReadNameValue(text, name, {3232, 3204, 3233}, items, &record.value[field]);
}

// Reference_supply name, without "="
void SupplyLine(const char* text, RCVTH& record) {
    const char* name = kNames[RCVTH_REFERENCE_SUPPLY];
    CMN_SplitLine(text, 2, '=', &items);
    if (items.count == 1) {
        CMN_ErrorLine(3232, name);
        return;
    }
    if (items.count == 3) {
        if (items.items[1] == "=") {
            CMN_ErrorLine(3232, name);
        } else {
            CMN_ErrorLine(3204, 3, name, 2);
        }
        return;
    }
    if (items.count > 3) CMN_ErrorLine(3204, items.count, name, 2);
    const std::string& supply = items.items[1];
    for (const char* known : kSupplies) {
        if (supply == known) {
            record.present[RCVTH_REFERENCE_SUPPLY] = true;
            record.reference_supply = supply;
            return;
        }
    }
    CMN_ErrorLine(3234, supply);
}

}  // namespace

void RCVTH_Keyword(const char* text, std::unique_ptr<RCVTH>& record) {
    if (record) CMN_ErrorLine(3200);
    record.reset(new (std::nothrow) RCVTH{});
    if (!record) {
        CMN_BugLine(3201, "rcvth", __LINE__);
        return;
    }
    const char* rest = text;
    CMN_SkipPastBracket(&rest);
    CMN_SplitWords(rest, 1, &items);
    if (items.count > 0) CMN_ErrorLine(3204, items.count + 1, "Receiver Threshold", 1);
}

void RCVTH_Line(const char* text, RCVTH& record) {
    CMN_SplitLine(text, 1, '=', &items);
    const int field = items.stored > 0 ? FieldOf(items.items[0]) : -1;
    if (field < 0) {
        CMN_ErrorLine(3230);
        return;
    }
    if (record.present[field]) {
        CMN_ErrorLine(3231, kNames[field]);
        return;
    }
    if (field == RCVTH_REFERENCE_SUPPLY) {
        SupplyLine(text, record);
    } else {
        NumericLine(text, record, field);
    }
}

void RCVTH_Close(const MDL& model) {
    const RCVTH* record = model.thresholds.get();
    if (record != nullptr && record->present[RCVTH_THRESHOLD_SENSITIVITY] &&
        !record->present[RCVTH_REFERENCE_SUPPLY]) {
        CMN_Error(3205, model.name);
    }
}

void RCVTH_CheckAll(MDL* models) {
    IBIS* ibis = nullptr;
    if (!IBIS_GetCurrent(&ibis)) return;
    for (MDL* model = models; model != nullptr; model = model->next.get()) {
        // Asking the query marks the models that a [Diff Pin] row uses; the model selectors'
        // check, which runs later, reads those marks.
        const char* pin = nullptr;
        const bool differential = CMPNT_DiffPinUses(*ibis, *model, &pin);
        const RCVTH* record = model->thresholds.get();
        if (record == nullptr) continue;
        if (differential) {
            for (const Wanted& wanted : kDifferential) {
                if (!record->present[wanted.field]) {
                    CMN_Warning(CMN_RuntimeCode(wanted.code), model->name,
                                pin != nullptr ? pin : "");
                }
            }
        } else {
            for (const Wanted& wanted : kSingleEnded) {
                if (!record->present[wanted.field])
                    CMN_Warning(CMN_RuntimeCode(wanted.code), model->name);
            }
        }
    }
}
