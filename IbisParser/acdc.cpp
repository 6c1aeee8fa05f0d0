#include "IbisParser/acdc.h"

namespace {

bool modelChecks = true;
bool rangeChecks = true;

}  // namespace

void ACDC_SetModelChecks(bool on) { modelChecks = on; }
void ACDC_SetRangeChecks(bool on) { rangeChecks = on; }
bool ACDC_GetModelChecks() { return modelChecks; }
bool ACDC_GetRangeChecks() { return rangeChecks; }

void ACDC_CheckModels(MDL*) {}
void ACDC_CheckModelRanges(MDL*) {}
void ACDC_CheckComponentRanges(CMPNT*) {}
void ACDC_CheckSubmodelRanges(SUBMDL*) {}
void ACDC_CheckSubmodels(SUBMDL*) {}
