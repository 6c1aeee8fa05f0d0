#include "IbisParser/rcvth.h"

void RCVTH_CheckAll(MDL*) {}
