#include "IbisParser/drvsh.h"

void DRVSH_CheckAll(MDL*) {}
