// Receiver thresholds of models ([Receiver Thresholds]).
#pragma once

struct MDL;

// After the whole file: the thresholds of differential receivers.
void RCVTH_CheckAll(MDL* models);
