#include "IbisParser/algmod.h"

void ALGMOD_CheckFiles(MDL*) {}

AmiTree* ALGMOD_CheckParameterFile() { return nullptr; }
