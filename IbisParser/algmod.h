// The [Algorithmic Model] keyword of models and the checks of the files it names.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "IbisParser/linked.h"

struct AmiTree;
struct MDL;

// One Executable line of an [Algorithmic Model].
struct ALGMOD : IBIS_Linked<ALGMOD> {
    std::string platform;               // at most 44 characters
    std::string compiler;               // at most 44 characters
    std::int32_t bits = -1;             // -1 until read
    std::string file_name;              // the executable, at most 44 characters
    std::string parameter_file;         // the .ami file, at most 44 characters
    AmiTree* parameter_tree = nullptr;  // owned; set by the file checks

    ALGMOD() = default;
    ~ALGMOD();
};

// A model's list of Executable lines, newest first; present (possibly empty) once the model has
// an [Algorithmic Model] keyword.
struct ALGMOD_LIST {
    std::unique_ptr<ALGMOD> head;
};

// The model section's calls: the keyword line, each data line under it, the end of its section.
void ALGMOD_Keyword(char* line, MDL* model);
void ALGMOD_DataLine(char* line, MDL* model);
void ALGMOD_Close(MDL* model);

// After the whole file: the executables and parameter files named by the models exist and the
// parameter files hold what their models need.
void ALGMOD_CheckFiles(MDL* models);

// Parses the text the line reader took from an .ami file and checks the tree; returns the tree
// (released by the caller with FreeAmiTree) or nullptr.
AmiTree* ALGMOD_CheckParameterFile();

// Releases a list holder with all its records.
void ALGMOD_Free(std::unique_ptr<ALGMOD_LIST>& list);
