#include "IbisParser/testdata.h"

#include <cstring>
#include <string_view>
#include <unordered_map>

#include "IbisParser/cmn.h"
#include "IbisParser/difpin.h"
#include "IbisParser/hdr.h"
#include "IbisParser/mdl.h"
#include "IbisParser/parse.h"
#include "IbisParser/section.h"
#include "IbisParser/testload.h"

namespace {

constexpr const char* kModule = "testdata";
constexpr std::size_t kNameLimit = 109;
constexpr std::size_t kTestLoadLimit = 110;

// The golden waveform keywords keep the section open; any other keyword closes it.
constinit SECTION_Records<TESTDATA> testData(
    &IBIS::testData, {.module = kModule,
                      .noFile = {CMN_Bug, 2301},
                      .noMemory = {CMN_Bug, 2300, true},
                      .own = {{KW_RISING_WAVEFORM_NEAR, KW_DIFF_FALLING_WAVEFORM_FAR}}});

enum Field : int {
    FIELD_NONE,
    FIELD_TYPE,
    FIELD_DRIVER_MODEL,
    FIELD_DRIVER_MODEL_INV,
    FIELD_TEST_LOAD,
    FIELD_COUNT,
};
constexpr const char* kFields[FIELD_COUNT] = {"", "Test_data_type", "Driver_model",
                                              "Driver_model_inv", "Test_load"};

// What each waveform keyword fills, in keyword order ([Rising Waveform Near] first): the
// record's waveform and the "Already Defined" message of a repeat. The reader's kinds follow
// the keyword order too.
struct WaveformKeyword {
    int slot;
    int repeatCode;
};
constexpr WaveformKeyword kWaveforms[] = {
    {TESTDATA_RISING_NEAR, 2304},       {TESTDATA_RISING_FAR, 2306},
    {TESTDATA_FALLING_NEAR, 2305},      {TESTDATA_FALLING_FAR, 2307},
    {TESTDATA_DIFF_RISING_NEAR, 2308},  {TESTDATA_DIFF_RISING_FAR, 2310},
    {TESTDATA_DIFF_FALLING_NEAR, 2309}, {TESTDATA_DIFF_FALLING_FAR, 2311}};

bool IsWaveformKeyword(int code) {
    return code >= KW_RISING_WAVEFORM_NEAR && code <= KW_DIFF_FALLING_WAVEFORM_FAR;
}
int KindOf(int code) { return WVFRM_RISING_NEAR + (code - KW_RISING_WAVEFORM_NEAR); }

// The keyword the open test data is under.
int currentKeyword = NOT_KEY;

// Reused for every line, so that splitting allocates nothing once warmed up.
CMN_LINE_ITEMS items;

// The codes of the name line and of the "name value" settings.
constexpr TESTLOAD_Codes kCodes = {"TestData", "Test Data", 2314, 2315, 2316, 2317, 2318,
                                   2319,       2320,        2325, 2326, 2327, 2328, 2329};

TESTLOAD_Names<TESTDATA> names;

// Model names: 20 characters before IBIS 4.0, 40 from 4.0 on.
std::size_t ModelNameLimit() { return HDR_GetVersion() < 4 ? 20 : 40; }

void ReadName(TESTDATA& data, const char* text) {
    names.Read(data, text, kNameLimit, kCodes, kModule, items);
}

void TypeLine(TESTDATA& data, const char* text) {
    const char* name = kFields[FIELD_TYPE];
    if (data.Test_data_type != TESTLOAD_TYPE_NONE) {
        CMN_ErrorLine(2324, name, data.name);
        return;
    }
    const char* value = TESTLOAD_Setting(text, name, kCodes, items);
    if (value != nullptr) data.Test_data_type = TESTLOAD_TypeOf(value, name, kCodes);
}

// Driver_model, Driver_model_inv and Test_load: a name of at most `limit` characters.
void NameLine(TESTDATA& data, std::string& field, const char* text, const char* name,
              std::size_t limit) {
    if (!field.empty()) {
        CMN_ErrorLine(2324, name, data.name);
        return;
    }
    const char* value = TESTLOAD_Setting(text, name, kCodes, items);
    if (value == nullptr) return;
    const std::string_view written(value);
    if (written.size() > limit) {
        CMN_ErrorLine(2330, name, static_cast<int>(limit));
    } else if (!CMN_IsNotReserved(value)) {
        CMN_ErrorLine(2331, name, value);
    }
    field.assign(written.substr(0, limit));
}

int FieldOf(std::string_view name) {
    for (int field = FIELD_TYPE; field < FIELD_COUNT; ++field) {
        if (name == kFields[field]) return field;
    }
    return FIELD_NONE;
}

void SubParameterLine(TESTDATA& data, const char* text) {
    CMN_SplitLine(text, 1, '=', &items);
    const int field = items.stored > 0 ? FieldOf(items.items[0]) : FIELD_NONE;
    const char* name = kFields[field];
    switch (field) {
    case FIELD_TYPE: TypeLine(data, text); break;
    case FIELD_DRIVER_MODEL: NameLine(data, data.Driver_model, text, name, ModelNameLimit()); break;
    case FIELD_DRIVER_MODEL_INV:
        NameLine(data, data.Driver_model_inv, text, name, ModelNameLimit());
        break;
    case FIELD_TEST_LOAD: NameLine(data, data.Test_load, text, name, kTestLoadLimit); break;
    default: CMN_ErrorLine(2322); break;
    }
}

void WaveformKeywordLine(TESTDATA& data, int code, const char* text) {
    const WaveformKeyword& keyword = kWaveforms[code - KW_RISING_WAVEFORM_NEAR];
    WVFRM_LIST& slot = data.waveform[keyword.slot];
    if (slot.head) {
        CMN_ErrorLine(CMN_RuntimeCode(keyword.repeatCode));
        slot.head.reset();
        slot.tail = nullptr;
        slot.count = 0;
    }
    WVFRM_Keyword(text, slot, KindOf(code));
}

// When the sub-parameters end (the first keyword after [Test Data]).
void SubParameterChecks(const TESTDATA& data) {
    const std::string& name = data.name;
    if (data.Test_data_type == TESTLOAD_TYPE_NONE) CMN_Error(2332, name, "Test_data_type");
    if (data.Driver_model.empty()) CMN_Error(2332, name, "Driver_model");
    if (!data.Driver_model_inv.empty() && data.Test_data_type != TESTLOAD_DIFFERENTIAL) {
        CMN_Error(2333, name);
    }
    if (data.Test_load.empty()) CMN_Error(2332, name, "Test_load");
}

// When the section ends.
void WaveformChecks(const TESTDATA& data) {
    bool single = false;
    bool differential = false;
    for (int slot = 0; slot < TESTDATA_WAVEFORM_COUNT; ++slot) {
        if (!data.waveform[slot].head) continue;
        (slot < TESTDATA_DIFF_RISING_NEAR ? single : differential) = true;
    }
    if (!single && !differential) CMN_Error(2334, data.name);
    if (differential && data.Test_data_type != TESTLOAD_DIFFERENTIAL) CMN_Error(2335, data.name);
}

// Input types of models: Input, Input_ECL, Terminator, Series and Series_switch.
bool IsInputType(int type) {
    switch (type) {
    case MDL_INPUT:
    case MDL_INPUT_ECL:
    case MDL_TERMINATOR:
    case MDL_SERIES:
    case MDL_SERIES_SWITCH: return true;
    default: return false;
    }
}

// The model of that name; an absent name finds none.
MDL* ModelNamed(MDL* models, const std::string& name) {
    return name.empty() ? nullptr : MDL_Find(models, name.c_str(), nullptr);
}

void CheckDrivers(IBIS& ibis, const TESTDATA& data) {
    MDL* models = ibis.models.get();
    const MDL* driver = ModelNamed(models, data.Driver_model);
    if (driver == nullptr) {
        CMN_Error(2338, data.Driver_model, data.name);
    } else if (IsInputType(driver->model_type)) {
        CMN_Warning(2339, data.Driver_model, data.name);
    }
    if (data.Driver_model_inv.empty()) return;
    MDL* inverted = ModelNamed(models, data.Driver_model_inv);
    if (inverted == nullptr) {
        CMN_Error(2340, data.Driver_model_inv, data.name);
        return;
    }
    if (IsInputType(inverted->model_type)) CMN_Warning(2339, data.Driver_model_inv, data.name);
    const char* pin = nullptr;
    if (!CMPNT_DiffPinUses(ibis, *inverted, &pin)) {
        CMN_Warning(2341, data.Driver_model_inv, data.name);
    }
}

}  // namespace

void TESTDATA_Init() { testData.Begin(__LINE__); }

void TESTDATA_Line(int lineKind, int code, char* text) {
    TESTDATA* data = testData.Open();
    if (lineKind == LINE_KEYWORD) {
        if (data == nullptr) {
            CMN_ErrorLine(2302);
            return;
        }
        currentKeyword = code;
        if (code == KW_TEST_DATA) {
            ReadName(*data, text);
        } else if (IsWaveformKeyword(code)) {
            WaveformKeywordLine(*data, code, text);
        } else {
            CMN_BugLine(2312, kModule, __LINE__);
        }
    } else if (lineKind == LINE_DATA) {
        if (data == nullptr) {
            CMN_ErrorLine(2303);
        } else if (currentKeyword == KW_TEST_DATA) {
            SubParameterLine(*data, text);
        } else if (IsWaveformKeyword(currentKeyword)) {
            WVFRM_Line(text, KindOf(currentKeyword));
        } else {
            CMN_ErrorLine(2313);
        }
    }
}

void TESTDATA_EndKeyword(int nextCode) {
    const TESTDATA* data = testData.Open();
    if (data == nullptr) return;
    if (currentKeyword == KW_TEST_DATA) {
        SubParameterChecks(*data);
    } else if (IsWaveformKeyword(currentKeyword)) {
        WVFRM_End(KindOf(currentKeyword));
    }
    currentKeyword = NOT_KEY;
    if (IsWaveformKeyword(nextCode)) return;
    WaveformChecks(*data);
    testData.KeywordChange(nextCode);
}

void TESTDATA_Reset() {
    testData.Reset();
    currentKeyword = NOT_KEY;
    names.Reset();
}

void TESTDATA_CheckAll(TESTDATA* list) {
    IBIS* ibis = nullptr;
    if (!IBIS_GetCurrent(&ibis)) {
        CMN_Bug(2336, kModule, __LINE__);
        return;
    }
    // Each name maps to the newest test load that has it.
    std::unordered_map<std::string_view, const TESTLOAD*> loads;
    for (const TESTLOAD* load = ibis->testLoads.get(); load != nullptr; load = load->next.get()) {
        loads.emplace(load->name, load);
    }
    for (const TESTDATA* data = list; data != nullptr; data = data->next.get()) {
        if (!ibis->models) {
            CMN_Error(2337, data->name);
        } else {
            CheckDrivers(*ibis, *data);
        }
        if (!ibis->testLoads) {
            CMN_Error(2342, data->name);
            continue;
        }
        if (data->Test_load.empty()) continue;
        const auto found = loads.find(data->Test_load);
        if (found == loads.end()) {
            CMN_Error(2343, data->Test_load, data->name);
        } else if (found->second->Test_load_type != data->Test_data_type) {
            CMN_Error(2344, data->name, data->Test_load);
        }
    }
}
