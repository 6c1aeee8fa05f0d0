// The keyword tables of the four IBIS versions and the lookup of a bracketed keyword.
#include "IbisParser/parse_keywords.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string_view>

#include "IbisParser/parse.h"

namespace {

struct KeywordEntry {
    const char* name;  // upper case, blanks written as '_'; empty for NOT_KEY, which never matches
    int since;         // the first IBIS version whose table holds the code
};

// Indexed by keyword code.
constexpr KeywordEntry kKeywords[PARSE_KEYWORD_COUNT] = {
    {"IBIS_VER", 2},
    {"COMMENT_CHAR", 2},
    {"FILE_NAME", 2},
    {"FILE_REV", 2},
    {"DATE", 2},
    {"SOURCE", 2},
    {"NOTES", 2},
    {"DISCLAIMER", 2},
    {"COPYRIGHT", 2},
    {"COMPONENT", 2},
    {"MANUFACTURER", 2},
    {"PACKAGE", 2},
    {"PIN", 2},
    {"PACKAGE_MODEL", 2},
    {"PIN_MAPPING", 2},
    {"DIFF_PIN", 2},
    {"SERIES_SWITCH_GROUPS", 3},
    {"SERIES_PIN_MAPPING", 3},
    {"ALTERNATE_PACKAGE_MODELS", 4},
    {"END_ALTERNATE_PACKAGE_MODELS", 4},
    {"NODE_DECLARATIONS", 4},
    {"END_NODE_DECLARATIONS", 4},
    {"CIRCUIT_CALL", 4},
    {"END_CIRCUIT_CALL", 4},
    {"EXTERNAL_CIRCUIT", 4},
    {"END_EXTERNAL_CIRCUIT", 4},
    {"BEGIN_EMI_COMPONENT", 5},
    {"END_EMI_COMPONENT", 5},
    {"PIN_EMI", 5},
    {"PIN_DOMAIN_EMI", 5},
    {"EXTERNAL_MODEL", 4},
    {"END_EXTERNAL_MODEL", 4},
    {"MODEL", 2},
    {"TEMPERATURE_RANGE", 2},
    {"VOLTAGE_RANGE", 2},
    {"PULLUP_REFERENCE", 2},
    {"PULLDOWN_REFERENCE", 2},
    {"POWER_CLAMP_REFERENCE", 2},
    {"GND_CLAMP_REFERENCE", 2},
    {"EXTERNAL_REFERENCE", 3},
    {"PULLDOWN", 2},
    {"PULLUP", 2},
    {"GND_CLAMP", 2},
    {"POWER_CLAMP", 2},
    {"RGND", 2},
    {"RPOWER", 2},
    {"RAC", 2},
    {"CAC", 2},
    {"RAMP", 2},
    {"RISING_WAVEFORM", 2},
    {"FALLING_WAVEFORM", 2},
    {"TTGND", 3},
    {"TTPOWER", 3},
    {"MODEL_SPEC", 3},
    {"RECEIVER_THRESHOLDS", 4},
    {"DRIVER_SCHEDULE", 3},
    {"ON", 3},
    {"OFF", 3},
    {"R_SERIES", 3},
    {"L_SERIES", 3},
    {"RL_SERIES", 3},
    {"C_SERIES", 3},
    {"LC_SERIES", 3},
    {"RC_SERIES", 3},
    {"SERIES_CURRENT", 3},
    {"SERIES_MOSFET", 3},
    {"ADD_SUBMODEL", 3},
    {"ALGORITHMIC_MODEL", 5},
    {"END_ALGORITHMIC_MODEL", 5},
    {"ISSO_PD", 5},
    {"ISSO_PU", 5},
    {"COMPOSITE_CURRENT", 5},
    {"BEGIN_EMI_MODEL", 5},
    {"END_EMI_MODEL", 5},
    {"DEFINE_PACKAGE_MODEL", 2},
    {"MANUFACTURER", 2},
    {"OEM", 2},
    {"DESCRIPTION", 2},
    {"NUMBER_OF_PINS", 2},
    {"PIN_NUMBERS", 2},
    {"MODEL_DATA", 2},
    {"RESISTANCE_MATRIX", 2},
    {"INDUCTANCE_MATRIX", 2},
    {"CAPACITANCE_MATRIX", 2},
    {"BANDWIDTH", 2},
    {"ROW", 2},
    {"END_MODEL_DATA", 2},
    {"END_PACKAGE_MODEL", 2},
    {"NUMBER_OF_SECTIONS", 3},
    {"BEGIN_BOARD_DESCRIPTION", 3},
    {"MANUFACTURER", 3},
    {"NUMBER_OF_PINS", 3},
    {"PIN_LIST", 3},
    {"PATH_DESCRIPTION", 3},
    {"REFERENCE_DESIGNATOR_MAP", 3},
    {"END_BOARD_DESCRIPTION", 3},
    {"MODEL_SELECTOR", 3},
    {"SUBMODEL", 3},
    {"SUBMODEL_SPEC", 3},
    {"GND_PULSE_TABLE", 3},
    {"POWER_PULSE_TABLE", 3},
    {"PULLDOWN", 3},
    {"PULLUP", 3},
    {"GND_CLAMP", 3},
    {"POWER_CLAMP", 3},
    {"RAMP", 3},
    {"RISING_WAVEFORM", 3},
    {"FALLING_WAVEFORM", 3},
    {"TEST_DATA", 4},
    {"RISING_WAVEFORM_NEAR", 4},
    {"RISING_WAVEFORM_FAR", 4},
    {"FALLING_WAVEFORM_NEAR", 4},
    {"FALLING_WAVEFORM_FAR", 4},
    {"DIFF_RISING_WAVEFORM_NEAR", 4},
    {"DIFF_RISING_WAVEFORM_FAR", 4},
    {"DIFF_FALLING_WAVEFORM_NEAR", 4},
    {"DIFF_FALLING_WAVEFORM_FAR", 4},
    {"TEST_LOAD", 4},
    {"END", 2},
    {"", 2},
};

struct NameCode {
    std::string_view name;
    int code;
};

constexpr bool SeenBelow(int code) {
    for (int earlier = 0; earlier < code; ++earlier) {
        if (std::string_view(kKeywords[earlier].name) == kKeywords[code].name) return true;
    }
    return false;
}

constexpr std::size_t CountDistinctNames() {
    std::size_t count = 0;
    for (int code = 0; code < PARSE_KEYWORD_COUNT; ++code) {
        if (kKeywords[code].name[0] != '\0' && !SeenBelow(code)) ++count;
    }
    return count;
}

// Every distinct name once, with its lowest code, sorted by name for binary search. A code's
// table version never exceeds that of the lowest code of its name, so the lowest code is the
// one that every version finds. Built when the program is compiled.
constexpr auto kSortedNames = [] {
    std::array<NameCode, CountDistinctNames()> list{};
    std::size_t count = 0;
    for (int code = 0; code < PARSE_KEYWORD_COUNT; ++code) {
        if (kKeywords[code].name[0] != '\0' && !SeenBelow(code)) {
            list[count++] = {kKeywords[code].name, code};
        }
    }
    std::sort(list.begin(), list.end(),
              [](const NameCode& a, const NameCode& b) { return a.name < b.name; });
    return list;
}();

}  // namespace

int PARSE_TableVersion(int versionInForce) { return std::clamp(versionInForce, 2, 5); }

bool PARSE_KeywordInVersion(int code, int tableVersion) {
    return code >= 0 && code < PARSE_KEYWORD_COUNT && kKeywords[code].since <= tableVersion;
}

int PARSE_TableSize(int tableVersion) {
    int size = 0;
    for (const KeywordEntry& entry : kKeywords) size += entry.since <= tableVersion ? 1 : 0;
    return size;
}

const char* PARSE_KeywordName(int code) {
    return code >= 0 && code < PARSE_KEYWORD_COUNT ? kKeywords[code].name : "";
}

int PARSE_FindKeyword(std::string_view normalizedName, int tableVersion) {
    const auto& names = kSortedNames;
    auto found = std::lower_bound(
        names.begin(), names.end(), normalizedName,
        [](const NameCode& entry, std::string_view name) { return entry.name < name; });
    if (found == names.end() || found->name != normalizedName) return NOT_KEY;
    return PARSE_KeywordInVersion(found->code, tableVersion) ? found->code : NOT_KEY;
}

int PARSE_ApplyContextRules(int code, int currentKeyword, int fileKind, bool inSubmodel,
                            int tableVersion) {
    int chosen = code;
    switch (code) {
    case KW_MANUFACTURER:
        if (currentKeyword >= KW_DEFINE_PACKAGE_MODEL && currentKeyword <= KW_DESCRIPTION) {
            chosen = KW_PKG_MANUFACTURER;
        } else if (currentKeyword == KW_BEGIN_BOARD_DESCRIPTION ||
                   currentKeyword == KW_EBD_MANUFACTURER) {
            chosen = KW_EBD_MANUFACTURER;
        }
        break;
    case KW_NUMBER_OF_PINS:
        if (fileKind == FILE_KIND_EBD) chosen = KW_EBD_NUMBER_OF_PINS;
        break;
    case KW_PULLDOWN:
    case KW_PULLUP:
    case KW_GND_CLAMP:
    case KW_POWER_CLAMP:
        if (inSubmodel) chosen = KW_SUB_PULLDOWN + (code - KW_PULLDOWN);
        break;
    case KW_RAMP:
    case KW_RISING_WAVEFORM:
    case KW_FALLING_WAVEFORM:
        if (inSubmodel) chosen = KW_SUB_RAMP + (code - KW_RAMP);
        break;
    default: break;
    }
    return PARSE_KeywordInVersion(chosen, tableVersion) ? chosen : code;
}
