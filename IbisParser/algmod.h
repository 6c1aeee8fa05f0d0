// The [Algorithmic Model] keyword of models and the checks of the files it names.
#pragma once

struct MDL;

// After the whole file: the executables and parameter files named by the models exist and the
// parameter files hold what their models need.
void ALGMOD_CheckFiles(MDL* models);
