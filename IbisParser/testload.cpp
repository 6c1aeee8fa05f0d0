#include "IbisParser/testload.h"

#include <cstring>
#include <iterator>
#include <string_view>
#include <unordered_map>

#include "IbisParser/cmn.h"
#include "IbisParser/difpin.h"
#include "IbisParser/hdr.h"
#include "IbisParser/mdl.h"
#include "IbisParser/parse.h"
#include "IbisParser/section.h"

namespace {

constexpr const char* kModule = "testload";
constexpr std::size_t kNameLimit = 109;

// No keyword of its own: every keyword after [Test Load] closes it.
constinit SECTION_Records<TESTLOAD> testLoads(&IBIS::testLoads, {.module = kModule,
                                                                 .noFile = {CMN_Bug, 2201},
                                                                 .noMemory = {CMN_Bug, 2200, true},
                                                                 .own = {}});

enum Field : int {
    FIELD_TYPE = 1,
    FIELD_FIRST_ELEMENT = 2,  // C1_near; the fourteen elements follow in their order
    FIELD_V_TERM1 = 16,
    FIELD_V_TERM2 = 17,
    FIELD_RECEIVER_MODEL = 18,
    FIELD_RECEIVER_MODEL_INV = 19,
    FIELD_R_DIFF_NEAR = 20,
    FIELD_R_DIFF_FAR = 21,
};

// The sub-parameter names by code; entry 0 is unused.
// clang-format off
constexpr const char* kFields[] = {
    "", "Test_load_type",
    "C1_near", "Rs_near", "Ls_near", "C2_near", "Rp1_near", "Rp2_near", "Td",
    "Zo", "Rp1_far", "Rp2_far", "C2_far", "Ls_far", "Rs_far", "C1_far",
    "V_term1", "V_term2", "Receiver_model", "Receiver_model_inv", "R_diff_near", "R_diff_far"};
// clang-format on
constexpr int kFieldCount = static_cast<int>(std::size(kFields));

struct TypeName {
    const char* name;
    int code;
};
constexpr TypeName kTypes[] = {{"Single_ended", TESTLOAD_SINGLE_ENDED},
                               {"Differential", TESTLOAD_DIFFERENTIAL}};

// Reused for every line, so that splitting allocates nothing once warmed up.
CMN_LINE_ITEMS items;

// The codes of the name line and of the "name value" settings.
constexpr TESTLOAD_Codes kCodes = {"TestLoad", "Test Load", 2206, 2207, 2208, 2209, 2210,
                                   2211,       2212,        2217, 2218, 2219, 2220, 2221};

TESTLOAD_Names<TESTLOAD> names;

// Model names: 20 characters before IBIS 4.0, 40 from 4.0 on.
std::size_t ModelNameLimit() { return HDR_GetVersion() < 4 ? 20 : 40; }

int FieldOf(std::string_view name) {
    for (int field = 1; field < kFieldCount; ++field) {
        if (name == kFields[field]) return field;
    }
    return 0;
}

void ReadName(TESTLOAD& load, const char* text) {
    names.Read(load, text, kNameLimit, kCodes, kModule, items);
}

void TypeLine(TESTLOAD& load, const char* text) {
    const char* name = kFields[FIELD_TYPE];
    if (load.Test_load_type != TESTLOAD_TYPE_NONE) {
        CMN_ErrorLine(2216, name, load.name);
        return;
    }
    const char* value = TESTLOAD_Setting(text, name, kCodes, items);
    if (value != nullptr) load.Test_load_type = TESTLOAD_TypeOf(value, name, kCodes);
}

// name = value
void NumberLine(std::optional<double>& field, const char* text, const char* name) {
    if (field) {
        CMN_ErrorLine(2237, name);
        return;
    }
    field = 0.0;
    CMN_ReadNameValue(text, name, {2218, 2219, 2238}, items, &*field);
}

// name typ min max
void TermLine(TESTLOAD& load, std::unique_ptr<RNG>& term, const char* text, const char* name) {
    if (term) {
        CMN_ErrorLine(2216, name, load.name);
        return;
    }
    // The first item is the name itself, which may end at "=".
    RNG_Parse(CMN_SkipSpace(text) + std::strlen(name), name, term);
    if (term && term->typState == RNG_NA) CMN_ErrorLine(2239);
}

void ModelLine(TESTLOAD& load, std::string& model, const char* text, const char* name) {
    if (!model.empty()) {
        CMN_ErrorLine(2216, name, load.name);
        return;
    }
    const char* value = TESTLOAD_Setting(text, name, kCodes, items);
    if (value == nullptr) return;
    const std::string_view written(value);
    const std::size_t limit = ModelNameLimit();
    if (written.size() > limit) {
        CMN_ErrorLine(2222, name, static_cast<int>(limit));
    } else if (!CMN_IsNotReserved(value)) {
        CMN_ErrorLine(2223, name, value);
    }
    model.assign(written.substr(0, limit));
}

void SubParameterLine(TESTLOAD& load, const char* text) {
    CMN_SplitLine(text, 1, '=', &items);
    const int field = items.stored > 0 ? FieldOf(items.items[0]) : 0;
    if (field == 0) {
        CMN_ErrorLine(2214);
        return;
    }
    const char* name = kFields[field];
    switch (field) {
    case FIELD_TYPE: TypeLine(load, text); break;
    case FIELD_V_TERM1: TermLine(load, load.V_term1, text, name); break;
    case FIELD_V_TERM2: TermLine(load, load.V_term2, text, name); break;
    case FIELD_RECEIVER_MODEL: ModelLine(load, load.Receiver_model, text, name); break;
    case FIELD_RECEIVER_MODEL_INV: ModelLine(load, load.Receiver_model_inv, text, name); break;
    case FIELD_R_DIFF_NEAR: NumberLine(load.R_diff_near, text, name); break;
    case FIELD_R_DIFF_FAR: NumberLine(load.R_diff_far, text, name); break;
    default: NumberLine(load.element[field - FIELD_FIRST_ELEMENT], text, name); break;
    }
}

void CloseChecks(const TESTLOAD& load) {
    const std::string& name = load.name;
    if (load.Test_load_type == TESTLOAD_TYPE_NONE) CMN_Error(2224, name, "Test_load_type");
    if (load.element[TESTLOAD_TD] && !load.element[TESTLOAD_ZO]) CMN_Error(2225, name);
    if ((load.element[TESTLOAD_RP1_NEAR] || load.element[TESTLOAD_RP1_FAR]) && !load.V_term1) {
        CMN_Error(2226, name);
    }
    if ((load.element[TESTLOAD_RP2_NEAR] || load.element[TESTLOAD_RP2_FAR]) && !load.V_term2) {
        CMN_Error(2227, name);
    }
    if (load.Test_load_type != TESTLOAD_DIFFERENTIAL) {
        if (load.R_diff_near) CMN_Warning(2228, name);
        if (load.R_diff_far) CMN_Warning(2229, name);
        if (!load.Receiver_model_inv.empty()) CMN_Warning(2230, name);
    }
}

// Output types of models: Output, 3-state, Open_drain, Open_sink, Open_source, Output_ECL,
// Series, Series_switch and 3-state_ECL.
bool IsOutputType(int type) {
    switch (type) {
    case MDL_OUTPUT:
    case MDL_3_STATE:
    case MDL_OPEN_DRAIN:
    case MDL_OPEN_SINK:
    case MDL_OPEN_SOURCE:
    case MDL_OUTPUT_ECL:
    case MDL_SERIES:
    case MDL_SERIES_SWITCH:
    case MDL_3_STATE_ECL: return true;
    default: return false;
    }
}

// The model of that name; an absent name finds none.
MDL* ModelNamed(MDL* models, const std::string& name) {
    return name.empty() ? nullptr : MDL_Find(models, name.c_str(), nullptr);
}

void CheckReceivers(IBIS& ibis, const TESTLOAD& load) {
    MDL* models = ibis.models.get();
    const MDL* receiver = ModelNamed(models, load.Receiver_model);
    if (receiver == nullptr) {
        CMN_Error(2233, load.Receiver_model, load.name);
    } else if (IsOutputType(receiver->model_type)) {
        CMN_Warning(2234, load.Receiver_model, load.name);
    }
    if (load.Receiver_model_inv.empty()) return;
    MDL* inverted = ModelNamed(models, load.Receiver_model_inv);
    if (inverted == nullptr) {
        CMN_Error(2235, load.Receiver_model_inv, load.name);
    } else if (IsOutputType(inverted->model_type)) {
        CMN_Warning(2234, load.Receiver_model_inv, load.name);
    }
    // Only a defined model can be asked about: an undefined one has had its error.
    const char* pin = nullptr;
    if (inverted != nullptr && !CMPNT_DiffPinUses(ibis, *inverted, &pin)) {
        CMN_Warning(2236, load.Receiver_model_inv, load.name);
    }
}

}  // namespace

void TESTLOAD_Init() { testLoads.Begin(__LINE__); }

void TESTLOAD_Line(int lineKind, int code, char* text) {
    TESTLOAD* load = testLoads.Open();
    if (lineKind == LINE_KEYWORD) {
        if (load == nullptr) {
            CMN_ErrorLine(2202);
        } else if (code != KW_TEST_LOAD) {
            CMN_BugLine(2204, kModule, __LINE__);
        } else {
            ReadName(*load, text);
        }
    } else if (lineKind == LINE_DATA) {
        if (load == nullptr) {
            CMN_ErrorLine(2203);
        } else if (code != KW_TEST_LOAD) {
            CMN_ErrorLine(2205);
        } else {
            SubParameterLine(*load, text);
        }
    }
}

void TESTLOAD_EndKeyword(int nextCode) {
    if (const TESTLOAD* load = testLoads.Open()) CloseChecks(*load);
    testLoads.KeywordChange(nextCode);
}

void TESTLOAD_Reset() {
    testLoads.Reset();
    names.Reset();
}

const char* TESTLOAD_Setting(const char* text, const char* name, const TESTLOAD_Codes& codes,
                             CMN_LINE_ITEMS& lineItems) {
    CMN_SplitLine(text, 2, '=', &lineItems);
    if (lineItems.count == 1) {
        CMN_ErrorLine(CMN_RuntimeCode(codes.settingMissing), name);
        return nullptr;
    }
    if (lineItems.count >= 3) {
        if (lineItems.items[1] == "=") {
            CMN_ErrorLine(CMN_RuntimeCode(codes.settingEquals), name);
        } else {
            CMN_ErrorLine(CMN_RuntimeCode(codes.settingCount), lineItems.count, name, 2);
        }
        return nullptr;
    }
    return lineItems.item(1);
}

int TESTLOAD_TypeOf(const char* value, const char* name, const TESTLOAD_Codes& codes) {
    for (const TypeName& type : kTypes) {
        if (std::strcmp(value, type.name) == 0) return type.code;
    }
    for (const TypeName& type : kTypes) {
        if (CMN_StrEqualNoCase(value, type.name)) {
            CMN_ErrorLine(CMN_RuntimeCode(codes.wrongCase), name, value, type.name);
            return TESTLOAD_TYPE_INVALID;
        }
    }
    CMN_ErrorLine(CMN_RuntimeCode(codes.unknownValue), name, value);
    return TESTLOAD_TYPE_INVALID;
}

void TESTLOAD_CheckAll(TESTLOAD* list) {
    IBIS* ibis = nullptr;
    if (!IBIS_GetCurrent(&ibis)) {
        CMN_Bug(2231, kModule, __LINE__);
        return;
    }
    for (const TESTLOAD* load = list; load != nullptr; load = load->next.get()) {
        if (!ibis->models) {
            CMN_Error(2232, load->name);
            continue;
        }
        CheckReceivers(*ibis, *load);
    }
}
