// Receiver thresholds of models ([Receiver Thresholds]).
#pragma once

struct MDL;

// After the whole file, first among the model checks: asks the [Diff Pin] query about every
// model (newest first), which marks the differential ones, then the thresholds of receivers.
void RCVTH_CheckAll(MDL* models);
