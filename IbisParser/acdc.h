// Model consistency checks (I-V tables against waveforms and related) and value-range checks of
// components, models and submodels, run by the file driver after the whole file has been read,
// each group only while its setting is on.
#pragma once

struct CMPNT;
struct MDL;
struct SUBMDL;

// Both on by default.
void ACDC_SetModelChecks(bool on);
void ACDC_SetRangeChecks(bool on);
bool ACDC_GetModelChecks();
bool ACDC_GetRangeChecks();

void ACDC_CheckModels(MDL* models);
void ACDC_CheckModelRanges(MDL* models);
void ACDC_CheckComponentRanges(CMPNT* components);
void ACDC_CheckSubmodelRanges(SUBMDL* submodels);
void ACDC_CheckSubmodels(SUBMDL* submodels);
