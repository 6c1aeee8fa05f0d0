// The EMI block of a component: [Begin EMI Component] with its Domain, Cpd and heatsink
// sub-parameters, [Pin EMI] rows, [Pin Domain EMI] percentages and [End EMI Component]. The
// component router hands these keywords and their data lines here, closes an open block when
// the component ends, and runs the block's checks against the component's pins after the file.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>

#include "IbisParser/linked.h"
#include "IbisParser/pinemi.h"

struct CMPNT;

// Domain values of the block.
enum CMPNTEMI_DOMAIN : int {
    CMPNTEMI_DOMAIN_NONE = 0,
    CMPNTEMI_ANALOG = 1,
    CMPNTEMI_DIGITAL = 2,
    CMPNTEMI_DIGITAL_ANALOG = 3,
};

// One [Pin Domain EMI] row.
struct EMIDOMAIN : IBIS_Linked<EMIDOMAIN> {
    std::string domain_name;  // at most 20 characters
    double percentage = 0.0;
};

// The [Pin Domain EMI] rows in file order, with their names for repeats.
struct EMIDOMAIN_LIST {
    IBIS_List<EMIDOMAIN> rows;
    std::unordered_set<std::string_view> names;
};

struct CMPNTEMI {
    int domain = CMPNTEMI_DOMAIN_NONE;
    // Farads; absent until the line is read.
    std::optional<double> cpd, c_heatsink_gnd, c_heatsink_float;
    PINEMI_LIST pin_emi;
    // Absent until [Pin Domain EMI].
    std::unique_ptr<EMIDOMAIN_LIST> pin_domains;
};

// A keyword line of one of the four EMI keywords (text: what follows the keyword) or a data
// line under one of them (text: the whole line).
void CMPNTEMI_Line(int lineKind, int code, const char* text, std::unique_ptr<CMPNTEMI>& record);
// 1 while a block is open.
int CMPNTEMI_IsOpen();
// Closes the open block on the arriving keyword.
void CMPNTEMI_End(int code);
// After the whole file: the block's domains and pins against the component's [Pin] table.
void CMPNTEMI_Check(const CMPNT& component, const CMPNTEMI& record);
// Forgets the open block (a new file).
void CMPNTEMI_Reset();
