// The [Algorithmic Model] keyword of models and the checks of the files it names.
#pragma once

struct AmiTree;
struct MDL;

// After the whole file: the executables and parameter files named by the models exist and the
// parameter files hold what their models need.
void ALGMOD_CheckFiles(MDL* models);

// Parses the text the line reader took from an .ami file and checks the tree; returns the tree
// (released by the caller with FreeAmiTree) or nullptr.
AmiTree* ALGMOD_CheckParameterFile();
