#include "IbisParser/algmod.h"

#include "amitree/AmiTree.h"

ALGMOD::~ALGMOD() { FreeAmiTree(&parameter_tree); }

void ALGMOD_Keyword(char*, MDL*) {}

void ALGMOD_DataLine(char*, MDL*) {}

void ALGMOD_Close(MDL*) {}

void ALGMOD_CheckFiles(MDL*) {}

AmiTree* ALGMOD_CheckParameterFile() { return nullptr; }

void ALGMOD_Free(std::unique_ptr<ALGMOD_LIST>& list) { list.reset(); }
