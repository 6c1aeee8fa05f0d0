// The [Define Package Model] section of .ibs and .pkg files: one PKGMDL per model, newest
// first, with its pin list, its R/L/C section chains (sections mode) or its coupling matrices,
// the checks when a model closes, duplicate names across a file, and the search of the .pkg
// files beside an .ibs file for a model the .ibs file does not define.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "IbisParser/linked.h"
#include "IbisParser/mtx.h"
#include "IbisParser/sect.h"

// One element of a pin's section chain: a section, or a fork whose own chain is `content`.
// Chains and forks of any length or depth are released without recursion.
struct PKGMDL_NODE {
    PKGMDL_NODE() = default;
    PKGMDL_NODE(const PKGMDL_NODE&) = delete;
    PKGMDL_NODE& operator=(const PKGMDL_NODE&) = delete;
    ~PKGMDL_NODE();

    static constexpr std::uint32_t FORK = 0;
    static constexpr std::uint32_t SECTION = 1;

    std::unique_ptr<PKGMDL_NODE> next;
    std::uint32_t kind = SECTION;
    std::unique_ptr<PKGMDL_NODE> content;  // a fork's first node
    std::unique_ptr<RLC_SECTION> section;  // a section's values
};

struct PKGMDL : IBIS_Linked<PKGMDL> {
    std::string name;          // at most 40 characters
    std::string manufacturer;  // at most 40 characters
    std::string oem;           // at most 40 characters
    std::string description;   // at most 60 characters
    std::uint32_t number_of_pins = 0;
    std::uint32_t number_of_sections = 0;
    // The pin names of [Pin Numbers] in file order, each at most 5 characters. Slots are made
    // as names arrive, so a large [Number Of Pins] costs nothing until its names are read; a
    // slot past the end is an empty one.
    bool pin_numbers_allocated = false;
    std::vector<std::string> pin_numbers;
    // Sections mode: the first node of each pin's section chain, by the pin's index.
    std::vector<std::unique_ptr<PKGMDL_NODE>> pin_sections;
    std::unique_ptr<MTX> resistance_matrix;
    std::unique_ptr<MTX> inductance_matrix;
    std::unique_ptr<MTX> capacitance_matrix;
    // The 1-based index of the first slot holding each pin name.
    std::unordered_map<std::string, std::uint32_t, MTX_NameHash, std::equal_to<>> pin_index;
};

// The section operations that section.h describes.
void PKGMDL_Init();
void PKGMDL_Line(int lineKind, int code, char* text);
void PKGMDL_EndKeyword(int nextCode);
void PKGMDL_Reset();
// After the whole file: a package model defined twice in the file, reported for each pair.
void PKGMDL_CheckDuplicates(PKGMDL* packageModels);

// 1 and the first model of the list with exactly that name, else 0.
int PKGMDL_Find(PKGMDL* list, const char* name, PKGMDL** found);
// Reads every .pkg file of the file directory that defines the model; 1 when one did.
int PKGMDL_FindInPkgFiles(const char* name);
// The 1-based index of the pin name in the open model's pin list; 0 (result 0) when the model,
// its list or the name is missing.
int PKGMDL_PinIndex(const char* pinName, std::uint32_t* index);
// Walks the pin names of the named model: from the first with first set, else one on from the
// previous call. 0 when the model is not found or the names are exhausted.
int PKGMDL_NextPin(PKGMDL* list, const char* modelName, int first, const char** pinName);
// Releases the models with all they own.
void PKGMDL_FreeList(std::unique_ptr<PKGMDL>& list);
