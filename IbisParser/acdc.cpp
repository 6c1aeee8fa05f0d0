#include "IbisParser/acdc.h"

#include <cmath>

#include "IbisParser/cmn.h"
#include "IbisParser/cmpnt.h"
#include "IbisParser/mdl.h"

namespace {

constexpr const char* kColumnTags[3] = {"TYP", "MIN", "MAX"};
constexpr double kClampVoltage = -1.5;
constexpr double kExtremeCurrent = 10.0;
constexpr double kLongestRampTime = 0.001;  // seconds
constexpr double kLargestCComp = 1e-9;      // farads

void CheckClamp(const MDL& model, const CRV* table, const char* name) {
    if (table == nullptr) return;
    for (int column = 0; column < 3; ++column) {
        double current = 0.0;
        if (!CRV_Evaluate(*table, column, kClampVoltage, &current)) continue;
        if (std::fabs(current) > kExtremeCurrent) {
            CMN_Warning(1506, model.name.c_str(), kColumnTags[column], name, current,
                        kClampVoltage);
        }
    }
}

void CheckRampTimes(const char* ownerKind, const char* ownerName, const RAMP_EDGE& edge,
                    const char* edgeName) {
    const RAMP_RATIO* ratios[3] = {&edge.typ, &edge.min, &edge.max};
    for (int column = 0; column < 3; ++column) {
        if (ratios[column]->state != 1 || ratios[column]->dT <= kLongestRampTime) continue;
        CMN_Warning(1703, ownerKind, ownerName, kColumnTags[column], edgeName,
                    ratios[column]->dT * 1e9, kLongestRampTime * 1e9);
    }
}

void ReportCComp(int index, const char* name, const char* column, double picofarads, double limit) {
    switch (index) {
    case MDL_C_COMP: CMN_Warning(1716, name, column, picofarads, 0.0, limit); break;
    case MDL_C_COMP_PULLUP: CMN_Warning(1717, name, column, picofarads, 0.0, limit); break;
    case MDL_C_COMP_PULLDOWN: CMN_Warning(1718, name, column, picofarads, 0.0, limit); break;
    case MDL_C_COMP_POWER_CLAMP: CMN_Warning(1719, name, column, picofarads, 0.0, limit); break;
    default: CMN_Warning(1720, name, column, picofarads, 0.0, limit); break;
    }
}

void CheckCComp(const MDL& model) {
    for (int index = 0; index < MDL_CCOMP_COUNT; ++index) {
        const RNG* value = model.C_comp[index].get();
        if (value == nullptr) continue;
        const double values[3] = {value->typ, value->min, value->max};
        const int states[3] = {value->typState, value->minState, value->maxState};
        for (int column = 0; column < 3; ++column) {
            if (states[column] != 1) continue;
            if (values[column] >= 0 && values[column] <= kLargestCComp) continue;
            ReportCComp(index, model.name.c_str(), kColumnTags[column], values[column] * 1e12,
                        kLargestCComp * 1e12);
        }
    }
}

bool modelChecks = true;
bool rangeChecks = true;

}  // namespace

void ACDC_SetModelChecks(bool on) { modelChecks = on; }
void ACDC_SetRangeChecks(bool on) { rangeChecks = on; }
bool ACDC_GetModelChecks() { return modelChecks; }
bool ACDC_GetRangeChecks() { return rangeChecks; }

// Only the clamp currents are checked; I-V tables against waveforms report nothing yet.
void ACDC_CheckModels(MDL* models) {
    for (const MDL* model = models; model; model = model->next.get()) {
        CheckClamp(*model, model->GND_Clamp.get(), "GND_Clamp");
        CheckClamp(*model, model->POWER_Clamp.get(), "POWER_Clamp");
    }
}

void ACDC_CheckModelRanges(MDL* models) {
    for (const MDL* model = models; model; model = model->next.get()) {
        if (model->ramp) {
            CheckRampTimes("Model", model->name.c_str(), model->ramp->dVdt_r, "Rising");
            CheckRampTimes("Model", model->name.c_str(), model->ramp->dVdt_f, "Falling");
        }
        CheckCComp(*model);
    }
}

void ACDC_CheckComponentRanges(CMPNT* components) {
    for (const CMPNT* component = components; component; component = component->next.get()) {
        PKG_CheckRanges(*component);
        PIN_CheckRanges(*component);
    }
}

void ACDC_CheckSubmodelRanges(SUBMDL*) {}
void ACDC_CheckSubmodels(SUBMDL*) {}
