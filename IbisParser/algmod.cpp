#include "IbisParser/algmod.h"

void ALGMOD_CheckFiles(MDL*) {}
