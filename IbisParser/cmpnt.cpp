#include "IbisParser/cmpnt.h"

#include <string_view>
#include <unordered_map>

#include "IbisParser/hdr.h"
#include "IbisParser/ibis.h"
#include "IbisParser/mdl.h"
#include "IbisParser/parse.h"
#include "IbisParser/pkgmdl.h"
#include "IbisParser/section.h"

namespace {

constexpr const char* kModule = "cmpnt";
constexpr unsigned kNameLimit = 40;

// A component stays open while its own keywords follow: [Manufacturer] to [End Circuit Call]
// and the EMI component keywords. Any other keyword, another [Component] included, closes it.
constinit SECTION_Records<CMPNT> components(&IBIS::components,
                                            {.module = kModule,
                                             .noFile = {CMN_BugLine, 515, true},
                                             .noMemory = {CMN_ErrorLine, 512},
                                             .own = {{KW_MANUFACTURER, KW_END_CIRCUIT_CALL},
                                                     {KW_BEGIN_EMI_COMPONENT, KW_PIN_DOMAIN_EMI}},
                                             .fileOrder = true});

struct ComponentState {
    // The component keyword whose section the data lines belong to.
    int keyword = NOT_KEY;
    bool manufacturerGiven = false;
};
ComponentState state;

CMN_LINE_ITEMS items;

bool OwnKeyword(int code) {
    return (code >= KW_MANUFACTURER && code <= KW_END_CIRCUIT_CALL) ||
           (code >= KW_BEGIN_EMI_COMPONENT && code <= KW_PIN_DOMAIN_EMI);
}

// A package model known to the run: read in the file, or found in the .pkg files beside it.
bool PackageModelKnown(const std::string& name) {
    IBIS* ibis = nullptr;
    PKGMDL* found = nullptr;
    if (!IBIS_GetCurrent(&ibis)) return false;
    if (PKGMDL_Find(ibis->packageModels.get(), name.c_str(), &found)) return true;
    if (!PKGMDL_FindInPkgFiles(name.c_str())) return false;
    return PKGMDL_Find(ibis->packageModels.get(), name.c_str(), &found) != 0;
}

void NameKeyword(CMPNT& component, const char* value) {
    CMN_SetOnce(component.name, value, kNameLimit, "Component");
    if (component.name.find_first_of(" \t") != std::string::npos) {
        CMN_WarningLine(513, component.name);
    }
    CMN_CheckReserved(component.name.c_str());
}

void PackageModelKeyword(CMPNT& component, const char* value) {
    // A repeat keeps the first name; the reserved-word check still looks at the one given.
    CMN_SetOnce(component.package_model, value, kNameLimit, "Package_Model");
    CMN_CheckReserved(component.package_model.c_str());
}

// Si_location and Timing_location, and the location values.
struct SubParameter {
    const char* name;
    int CMPNT::*field;
};
constexpr SubParameter kSubParameters[] = {
    {"Si_location", &CMPNT::si_location},
    {"Timing_location", &CMPNT::timing_location},
};
struct LocationValue {
    const char* name;
    int code;
};
constexpr LocationValue kLocations[] = {
    {"Pin", CMPNT_LOCATION_PIN},
    {"Die", CMPNT_LOCATION_DIE},
};

// A data line under [Component] from IBIS 3.0 on: "Si_location Pin" or "Timing_location Die".
void SubParameterLine(CMPNT& component, const char* text) {
    CMN_SplitWords(text, 2, &items);
    const char* first = items.item(0);
    const SubParameter* found = nullptr;
    for (const SubParameter& candidate : kSubParameters) {
        if (first != nullptr && std::string_view(first) == candidate.name) found = &candidate;
    }
    if (found == nullptr) {
        CMN_ErrorLine(535);
        return;
    }
    int& field = component.*(found->field);
    if (field != CMPNT_LOCATION_UNSET) CMN_ErrorLine(537, found->name, component.name);
    field = CMPNT_LOCATION_INVALID;
    if (items.count == 1) {
        CMN_ErrorLine(538, found->name);
        return;
    }
    if (items.count != 2) {
        CMN_ErrorLine(539, items.count, found->name, 2);
        return;
    }
    const char* value = items.item(1);
    for (const LocationValue& location : kLocations) {
        if (std::string_view(value) == location.name) {
            field = location.code;
            return;
        }
    }
    for (const LocationValue& location : kLocations) {
        if (CMN_StrEqualNoCase(value, location.name)) {
            CMN_ErrorLine(540, found->name, value, location.name);
            return;
        }
    }
    CMN_ErrorLine(541, found->name, value);
}

bool IsEmiKeyword(int code) { return code >= KW_BEGIN_EMI_COMPONENT && code <= KW_PIN_DOMAIN_EMI; }

// Calls the reader of a component keyword with what follows its "]".
void KeywordLine(CMPNT& component, int code, const char* value) {
    switch (code) {
    case KW_COMPONENT: NameKeyword(component, value); break;
    case KW_MANUFACTURER:
        CMN_SetOnce(component.manufacturer, value, kNameLimit, "Manufacturer");
        state.manufacturerGiven = true;
        break;
    case KW_PACKAGE: PKG_Keyword(component, value); break;
    case KW_PIN: PIN_Header(component, value); break;
    case KW_PACKAGE_MODEL: PackageModelKeyword(component, value); break;
    case KW_PIN_MAPPING: PINMPG_Header(component, value); break;
    case KW_DIFF_PIN: DIFPIN_Header(component, value); break;
    case KW_SERIES_SWITCH_GROUPS: SSWCH_Header(component, value); break;
    case KW_SERIES_PIN_MAPPING: SPINMPG_Header(component, value); break;
    case KW_ALTERNATE_PACKAGE_MODELS: APKG_Keyword(component, value); break;
    case KW_END_ALTERNATE_PACKAGE_MODELS: APKG_End(component, value); break;
    default:
        if (IsEmiKeyword(code)) {
            CMPNTEMI_Line(LINE_KEYWORD, code, value, component.emi);
        } else if (NODE_Reads(code, false)) {
            NODE_Keyword(code, value, component.circuits);
        } else {
            CMN_BugLine(505, kModule, __LINE__);
        }
        break;
    }
}

// Hands a data line (the whole line) to the reader of the current component keyword.
void DataLine(CMPNT& component, const char* text) {
    switch (state.keyword) {
    case KW_COMPONENT:
        if (HDR_GetVersion() < 3) {
            CMN_ErrorLine(506);
        } else {
            SubParameterLine(component, text);
        }
        break;
    case KW_MANUFACTURER: CMN_ErrorLine(507); break;
    case KW_PACKAGE_MODEL: CMN_ErrorLine(508); break;
    case KW_PACKAGE: PKG_Line(component, text); break;
    case KW_PIN: PIN_Line(component, text); break;
    case KW_PIN_MAPPING: PINMPG_Line(component, text); break;
    case KW_DIFF_PIN: DIFPIN_Line(component, text); break;
    case KW_SERIES_SWITCH_GROUPS: SSWCH_Line(component, text); break;
    case KW_SERIES_PIN_MAPPING: SPINMPG_Line(component, text); break;
    case KW_ALTERNATE_PACKAGE_MODELS: APKG_Line(component, text); break;
    default:
        if (IsEmiKeyword(state.keyword)) {
            CMPNTEMI_Line(LINE_DATA, state.keyword, text, component.emi);
        } else if (NODE_Reads(state.keyword, true)) {
            NODE_Line(state.keyword, text, component.circuits);
        } else {
            CMN_BugLine(509, kModule, __LINE__);
        }
        break;
    }
}

void RoutedKeyword(CMPNT& component, int code, const char* text) {
    if (code == KW_END_ALTERNATE_PACKAGE_MODELS && state.keyword != KW_ALTERNATE_PACKAGE_MODELS) {
        CMN_ErrorLine(503);
    } else if (code != KW_END_ALTERNATE_PACKAGE_MODELS &&
               state.keyword == KW_ALTERNATE_PACKAGE_MODELS) {
        CMN_ErrorLine(504);
    }
    if (CMPNTEMI_IsOpen() && code != KW_END_EMI_COMPONENT && code != KW_PIN_EMI &&
        code != KW_PIN_DOMAIN_EMI) {
        CMN_ErrorLine(553);
    }
    const char* value = text;
    CMN_SkipPastBracket(&value);
    state.keyword = code;
    KeywordLine(component, code, value);
}

// The closing checks of a component that a keyword not its own ends.
void Close(const CMPNT& component, int nextCode) {
    if (state.keyword == KW_ALTERNATE_PACKAGE_MODELS) CMN_ErrorLine(504);
    if (CMPNTEMI_IsOpen()) CMPNTEMI_End(nextCode);
    if (!state.manufacturerGiven) CMN_Error(514, component.name);
    PKG_CheckClosing(component);
    state = ComponentState{};
}

// Duplicate names: one report for each pair of components with the same name, in the order of
// the pair's first component, found by counting each name's components instead of comparing
// every pair.
void CheckDuplicateNames(const CMPNT* list) {
    std::unordered_map<std::string_view, int> later;
    for (const CMPNT* component = list; component; component = component->next.get()) {
        ++later[component->name];
    }
    for (const CMPNT* component = list; component; component = component->next.get()) {
        int& remaining = later[component->name];
        --remaining;
        for (int pair = 0; pair < remaining; ++pair) CMN_Error(511, component->name);
    }
}

bool IsDiffType(int type) {
    return type == MDL_IO_DIFF || type == MDL_OUTPUT_DIFF || type == MDL_3_STATE_DIFF ||
           type == MDL_INPUT_DIFF;
}

// Pins whose model is a differential type: the model needs [External Model], and the pin a
// [Diff Pin] row.
void CheckDiffModelPins(const CMPNT& component, MDL* models) {
    if (models == nullptr) return;
    for (const PIN* pin = component.pins.rows.First(); pin; pin = pin->next.get()) {
        const MDL* model = MDL_Find(models, pin->model_name.c_str(), nullptr);
        if (model == nullptr || !IsDiffType(model->model_type)) continue;
        if (!model->given.test(KW_EXTERNAL_MODEL)) CMN_Error(544);
        if (!DIFPIN_HasPin(component, pin->pin)) {
            CMN_Error(545, component.name, pin->pin, pin->model_name,
                      MDL_TypeName(model->model_type));
        }
    }
}

void CheckComponent(CMPNT& component, IBIS& ibis, MDL* models) {
    if (!component.package_model.empty() && !PackageModelKnown(component.package_model)) {
        CMN_Error(516, component.package_model, component.name);
    }
    if (component.pins.rows.Empty()) {
        CMN_Error(524, component.name);
    } else {
        PIN_CheckAll(component, ibis);
    }
    if (component.pin_mappings.headerRead || !component.pin_mappings.rows.Empty()) {
        PINMPG_CheckAll(component, ibis);
    }
    if (component.diff_pins.headerRead || !component.diff_pins.rows.Empty()) {
        DIFPIN_CheckAll(component, ibis);
    }
    if (component.series_pin_mappings.headerRead || !component.series_pin_mappings.rows.Empty()) {
        SPINMPG_CheckAll(component, ibis);
    }
    if (component.series_switch_groups.keywordSeen ||
        !component.series_switch_groups.groups.Empty()) {
        SSWCH_CheckAll(component, ibis);
    }
    CheckDiffModelPins(component, models);
    for (const APKG* alternate = component.alternate_packages.get(); alternate;
         alternate = alternate->next.get()) {
        if (!PackageModelKnown(alternate->name)) {
            CMN_Error(516, alternate->name, component.name);
        }
    }
    if (component.emi) CMPNTEMI_Check(component, *component.emi);
}

}  // namespace

void CMPNT_ReportHeader(const CMN_LINE_ITEMS& items, int place, const char* const* headers,
                        int required) {
    const char* item = items.item(place);
    for (int earlier = 0; earlier < place; ++earlier) {
        if (CMN_StrEqualNoCase(item, items.item(earlier))) {
            CMN_ErrorLine(531, item);
            return;
        }
    }
    if (place < required) {
        CMN_ErrorLine(529, headers[place]);
    } else {
        CMN_ErrorLine(530, item);
    }
}

void CMPNT_Begin() {
    components.Begin(__LINE__);
    state = ComponentState{};
}

void CMPNT_Line(int lineKind, int code, char* text) {
    CMPNT* component = components.Open();
    if (component == nullptr) {
        // A [Component] that could not begin has already been reported.
        if (code == KW_COMPONENT) return;
        if (lineKind == LINE_KEYWORD) {
            CMN_ErrorLine(501);
        } else {
            CMN_ErrorLine(502);
        }
        return;
    }
    if (lineKind == LINE_KEYWORD) {
        RoutedKeyword(*component, code, text);
    } else if (lineKind == LINE_DATA) {
        DataLine(*component, text);
    } else {
        CMN_BugLine(510, kModule, __LINE__);
    }
}

void CMPNT_KeywordChange(int nextCode) {
    CMPNT* component = components.Open();
    if (component == nullptr || OwnKeyword(nextCode)) return;
    Close(*component, nextCode);
    components.KeywordChange(nextCode);
}

void CMPNT_Reset() {
    components.Reset();
    state = ComponentState{};
    SSWCH_Reset();
    CMPNTEMI_Reset();
}

void CMPNT_CheckAll(CMPNT* list, CIRCUIT*, MDL* models) {
    IBIS* ibis = nullptr;
    if (!IBIS_GetCurrent(&ibis)) {
        CMN_Bug(515, kModule, __LINE__);
        return;
    }
    CheckDuplicateNames(list);
    for (CMPNT* component = list; component; component = component->next.get()) {
        CheckComponent(*component, *ibis, models);
    }
}
