#include "IbisParser/parse_sections.h"

#include <array>

#include "IbisParser/circuit.h"
#include "IbisParser/cmn.h"
#include "IbisParser/cmpnt.h"
#include "IbisParser/ebdmdl.h"
#include "IbisParser/hdr.h"
#include "IbisParser/mdl.h"
#include "IbisParser/msel.h"
#include "IbisParser/parse.h"
#include "IbisParser/pkgmdl.h"
#include "IbisParser/submdl.h"
#include "IbisParser/testdata.h"
#include "IbisParser/testload.h"

namespace {

enum Section : unsigned char {
    SECTION_NONE,
    SECTION_HEADER,
    SECTION_COMPONENT,
    SECTION_CIRCUIT,
    SECTION_MODEL,
    SECTION_PACKAGE_MODEL,
    SECTION_BOARD_DESCRIPTION,
    SECTION_MODEL_SELECTOR,
    SECTION_SUBMODEL,
    SECTION_TEST_DATA,
    SECTION_TEST_LOAD,
    SECTION_COUNT,
};

constexpr unsigned KindBit(int kind) { return 1u << kind; }
constexpr unsigned IBS = KindBit(FILE_KIND_IBS);
constexpr unsigned PKG = KindBit(FILE_KIND_PKG);
constexpr unsigned EBD = KindBit(FILE_KIND_EBD);
constexpr unsigned ALL_KINDS = IBS | PKG | EBD;

struct SectionOps {
    void (*begin)();
    void (*line)(int lineKind, int code, char* text);
    void (*keywordChange)(int nextCode);  // nullptr: the section is not told
    void (*reset)();
    unsigned beginKinds;  // the file kinds in which its opening keyword begins it
};

constexpr SectionOps kSections[SECTION_COUNT] = {
    {nullptr, nullptr, nullptr, nullptr, 0},
    {HDR_Begin, HDR_Line, HDR_End, HDR_Reset, ALL_KINDS},
    {CMPNT_Begin, CMPNT_Line, CMPNT_KeywordChange, CMPNT_Reset, IBS},
    {CIRCUIT_Init, CIRCUIT_Line, nullptr, CIRCUIT_Reset, IBS},
    {MDL_Begin, MDL_Line, MDL_KeywordChange, MDL_Reset, IBS},
    {PKGMDL_Init, PKGMDL_Line, PKGMDL_EndKeyword, PKGMDL_Reset, IBS | PKG},
    {EBDMDL_Init, EBDMDL_Line, EBDMDL_EndKeyword, EBDMDL_Reset, EBD},
    {MSEL_Init, MSEL_Line, MSEL_EndKeyword, MSEL_Reset, IBS},
    {SUBMDL_Init, SUBMDL_Line, SUBMDL_EndKeyword, SUBMDL_Reset, IBS},
    {TESTDATA_Init, TESTDATA_Line, TESTDATA_EndKeyword, TESTDATA_Reset, IBS},
    {TESTLOAD_Init, TESTLOAD_Line, TESTLOAD_EndKeyword, TESTLOAD_Reset, IBS},
};

struct RouteRule {
    int first;
    int last;
    Section section;
    unsigned kinds;
    int fromVersion;
    int toVersion;
};

// Where the lines of each keyword go, by IBIS version and file kind.
constexpr RouteRule kRouteRules[] = {
    {KW_IBIS_VER, KW_IBIS_VER, SECTION_HEADER, ALL_KINDS, 2, 5},
    {KW_FILE_NAME, KW_COPYRIGHT, SECTION_HEADER, ALL_KINDS, 2, 5},
    {KW_COMPONENT, KW_DIFF_PIN, SECTION_COMPONENT, IBS, 2, 5},
    {KW_SERIES_SWITCH_GROUPS, KW_SERIES_PIN_MAPPING, SECTION_COMPONENT, IBS, 3, 5},
    {KW_ALTERNATE_PACKAGE_MODELS, KW_END_CIRCUIT_CALL, SECTION_COMPONENT, IBS, 4, 5},
    {KW_BEGIN_EMI_COMPONENT, KW_PIN_DOMAIN_EMI, SECTION_COMPONENT, IBS, 5, 5},
    {KW_EXTERNAL_CIRCUIT, KW_END_EXTERNAL_CIRCUIT, SECTION_CIRCUIT, IBS, 4, 5},
    {KW_MODEL, KW_GND_CLAMP_REFERENCE, SECTION_MODEL, IBS, 2, 5},
    {KW_PULLDOWN, KW_FALLING_WAVEFORM, SECTION_MODEL, IBS, 2, 5},
    {KW_EXTERNAL_REFERENCE, KW_EXTERNAL_REFERENCE, SECTION_MODEL, IBS, 3, 5},
    {KW_TTGND, KW_MODEL_SPEC, SECTION_MODEL, IBS, 3, 5},
    {KW_DRIVER_SCHEDULE, KW_ADD_SUBMODEL, SECTION_MODEL, IBS, 3, 5},
    {KW_EXTERNAL_MODEL, KW_END_EXTERNAL_MODEL, SECTION_MODEL, IBS, 4, 5},
    {KW_RECEIVER_THRESHOLDS, KW_RECEIVER_THRESHOLDS, SECTION_MODEL, IBS, 4, 5},
    {KW_ALGORITHMIC_MODEL, KW_END_EMI_MODEL, SECTION_MODEL, IBS, 5, 5},
    {KW_DEFINE_PACKAGE_MODEL, KW_END_PACKAGE_MODEL, SECTION_PACKAGE_MODEL, ALL_KINDS, 2, 2},
    {KW_DEFINE_PACKAGE_MODEL, KW_END_PACKAGE_MODEL, SECTION_PACKAGE_MODEL, IBS | PKG, 3, 5},
    {KW_NUMBER_OF_SECTIONS, KW_NUMBER_OF_SECTIONS, SECTION_PACKAGE_MODEL, IBS | PKG, 3, 5},
    {KW_BEGIN_BOARD_DESCRIPTION, KW_END_BOARD_DESCRIPTION, SECTION_BOARD_DESCRIPTION, EBD, 3, 5},
    {KW_MODEL_SELECTOR, KW_MODEL_SELECTOR, SECTION_MODEL_SELECTOR, IBS, 3, 5},
    {KW_SUBMODEL, KW_SUB_FALLING_WAVEFORM, SECTION_SUBMODEL, IBS, 3, 5},
    {KW_TEST_DATA, KW_DIFF_FALLING_WAVEFORM_FAR, SECTION_TEST_DATA, IBS, 4, 5},
    {KW_TEST_LOAD, KW_TEST_LOAD, SECTION_TEST_LOAD, IBS, 4, 5},
};

struct Route {
    Section section = SECTION_NONE;
    unsigned kinds = 0;
};

using RouteTable = std::array<std::array<Route, PARSE_KEYWORD_COUNT>, 4>;

// One row of routes per table version (2 to 5), so that routing a line is one lookup; built
// when the program is compiled.
constexpr RouteTable kRoutes = [] {
    RouteTable routes{};
    for (const RouteRule& rule : kRouteRules) {
        for (int version = rule.fromVersion; version <= rule.toVersion; ++version) {
            for (int code = rule.first; code <= rule.last; ++code) {
                routes[version - 2][code] = {rule.section, rule.kinds};
            }
        }
    }
    return routes;
}();

const Route& RouteOf(int code, int tableVersion) {
    CMN_ASSERT(code >= 0 && code < PARSE_KEYWORD_COUNT);
    CMN_ASSERT(tableVersion >= 2 && tableVersion <= 5);
    return kRoutes[tableVersion - 2][code];
}

Section OpenedBy(int code) {
    switch (code) {
    case KW_IBIS_VER: return SECTION_HEADER;
    case KW_COMPONENT: return SECTION_COMPONENT;
    case KW_EXTERNAL_CIRCUIT: return SECTION_CIRCUIT;
    case KW_MODEL: return SECTION_MODEL;
    case KW_DEFINE_PACKAGE_MODEL: return SECTION_PACKAGE_MODEL;
    case KW_BEGIN_BOARD_DESCRIPTION: return SECTION_BOARD_DESCRIPTION;
    case KW_MODEL_SELECTOR: return SECTION_MODEL_SELECTOR;
    case KW_SUBMODEL: return SECTION_SUBMODEL;
    case KW_TEST_DATA: return SECTION_TEST_DATA;
    case KW_TEST_LOAD: return SECTION_TEST_LOAD;
    default: return SECTION_NONE;
    }
}

void IllegalForKind(int fileKind) {
    switch (fileKind) {
    case FILE_KIND_PKG: CMN_ErrorLine(911); break;
    case FILE_KIND_EBD: CMN_ErrorLine(912); break;
    default: CMN_ErrorLine(913); break;
    }
}

}  // namespace

void PARSE_BeginSection(int code, int fileKind, int tableVersion) {
    Section section = OpenedBy(code);
    if (section == SECTION_NONE) return;
    const SectionOps& ops = kSections[section];
    if (section == SECTION_HEADER) {
        ops.begin();
    } else if (tableVersion == 2) {
        // Version 2 files know only components, models and package models; a package model
        // begins in any kind of file, the others draw the .pkg message outside .ibs files.
        if (section == SECTION_PACKAGE_MODEL || fileKind == FILE_KIND_IBS) {
            ops.begin();
        } else {
            CMN_ErrorLine(911);
        }
    } else if ((ops.beginKinds & KindBit(fileKind)) != 0) {
        ops.begin();
    } else {
        IllegalForKind(fileKind);
    }
}

void PARSE_EndSection(int previousCode, int nextCode, int tableVersion) {
    // After an unknown keyword a model or a component may still be open: each learns of the
    // next keyword too.
    if (previousCode == NOT_KEY) {
        MDL_KeywordChange(nextCode);
        CMPNT_KeywordChange(nextCode);
    }
    if (previousCode < 0 || previousCode >= PARSE_KEYWORD_COUNT) return;
    const SectionOps& ops = kSections[RouteOf(previousCode, tableVersion).section];
    if (ops.keywordChange != nullptr) ops.keywordChange(nextCode);
}

bool PARSE_RouteLine(int currentKeyword, int fileKind, int tableVersion, int lineKind, char* text) {
    const Route& route = RouteOf(currentKeyword, tableVersion);
    if (route.section == SECTION_NONE) return false;
    if ((route.kinds & KindBit(fileKind)) != 0) {
        kSections[route.section].line(lineKind, currentKeyword, text);
    }
    return true;
}

void PARSE_ResetSections() {
    for (const SectionOps& ops : kSections) {
        if (ops.reset != nullptr) ops.reset();
    }
}
