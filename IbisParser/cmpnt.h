// The [Component] section of an .ibs file: one CMPNT per [Component], kept in file order. The
// router hands every component keyword and data line to its reader (the component's own
// keywords, the package values, the alternate package models, the five pin tables, the node
// declarations and circuit calls), the
// closing checks run when a keyword that is not the component's own arrives, and the
// cross-checks against the rest of the file run after the whole file has been read.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <unordered_set>

#include "IbisParser/apkg.h"
#include "IbisParser/cmn.h"
#include "IbisParser/cmpntemi.h"
#include "IbisParser/difpin.h"
#include "IbisParser/linked.h"
#include "IbisParser/node.h"
#include "IbisParser/pin.h"
#include "IbisParser/pinmpg.h"
#include "IbisParser/pkg.h"
#include "IbisParser/spinmpg.h"
#include "IbisParser/sswch.h"

struct CIRCUIT;
struct MDL;

// Si_location and Timing_location values.
enum CMPNT_LOCATION : int {
    CMPNT_LOCATION_UNSET = 0,
    CMPNT_LOCATION_INVALID = 1,
    CMPNT_LOCATION_DIE = 2,
    CMPNT_LOCATION_PIN = 3,
};

struct CMPNT : IBIS_Linked<CMPNT> {
    std::string name;              // at most 40 characters
    std::string manufacturer;      // at most 40 characters
    std::unique_ptr<PKG> package;  // absent until [Package]
    PIN_TABLE pins;                // [Pin], with its header
    std::string package_model;     // at most 40 characters; empty when not given
    int si_location = CMPNT_LOCATION_UNSET;
    int timing_location = CMPNT_LOCATION_UNSET;
    PINMPG_TABLE pin_mappings;                 // [Pin Mapping]
    DIFPIN_TABLE diff_pins;                    // [Diff Pin]
    SPINMPG_TABLE series_pin_mappings;         // [Series Pin Mapping]
    SSWCH_TABLE series_switch_groups;          // [Series Switch Groups]
    std::unique_ptr<APKG> alternate_packages;  // absent until the first name is read
    APKG* lastAlternatePackage = nullptr;
    // The names of the list, for its duplicates.
    std::unordered_set<std::string_view> alternatePackageNames;
    std::unique_ptr<CMPNTEMI> emi;  // the EMI block, absent until [Begin EMI Component]
    NODE_BLOCK circuits;            // [Node Declarations] and [Circuit Call]
};

// The section operations that section.h describes.
void CMPNT_Begin();
void CMPNT_Line(int lineKind, int code, char* text);
void CMPNT_KeywordChange(int nextCode);
void CMPNT_Reset();
// After the whole file: duplicate component names, then each component's package models, pin
// tables, differential pins and alternate package models.
void CMPNT_CheckAll(CMPNT* components, CIRCUIT* circuits, MDL* models);
// A column header of a pin table that is not the expected one at its place: a repeat of an
// item earlier on the line (531), else the header expected at a required place (529), else
// the unknown item (530).
void CMPNT_ReportHeader(const CMN_LINE_ITEMS& items, int place, const char* const* headers,
                        int required);
