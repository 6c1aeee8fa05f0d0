// Driver schedules of models ([Driver Schedule]).
#pragma once

struct MDL;

// After the whole file: models named in a schedule must exist, have no schedule of their own
// and be outputs.
void DRVSH_CheckAll(MDL* models);
