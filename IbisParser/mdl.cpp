#include "IbisParser/mdl.h"

#include <cstring>
#include <new>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

#include "IbisParser/cmn.h"
#include "IbisParser/hdr.h"
#include "IbisParser/section.h"
#include "IbisParser/smos.h"
#include "IbisParser/submdl.h"

namespace {

constexpr const char* kModule = "mdl";

constinit SECTION_Records<MDL> models(&IBIS::models,
                                      {.module = kModule,
                                       .noFile = {CMN_BugLine, 101},
                                       .noMemory = {CMN_BugLine, 100, true},
                                       .own = {{KW_EXTERNAL_MODEL, KW_END_EMI_MODEL}}});

struct TypeName {
    const char* name;
    int fromVersion;
};

constexpr TypeName kTypes[MDL_TYPE_COUNT] = {
    {"", 9},
    {"", 9},
    {"Input", 2},
    {"Output", 2},
    {"I/O", 2},
    {"3-state", 2},
    {"Open_drain", 2},
    {"I/O_open_drain", 2},
    {"Open_sink", 2},
    {"I/O_open_sink", 2},
    {"Open_source", 2},
    {"I/O_open_source", 2},
    {"Input_ECL", 2},
    {"Output_ECL", 2},
    {"I/O_ECL", 2},
    {"Terminator", 2},
    {"Series", 3},
    {"Series_switch", 3},
    {"3-state_ECL", 3},
    {"I/O_diff", 4},
    {"Output_diff", 4},
    {"3-state_diff", 4},
    {"Input_diff", 4},
};

enum SubParameter : int {
    SUB_NONE,
    SUB_MODEL_TYPE,
    SUB_POLARITY,
    SUB_ENABLE,
    SUB_VINL,
    SUB_VINH,
    SUB_VMEAS,
    SUB_CREF,
    SUB_RREF,
    SUB_VREF,
    SUB_RREF_DIFF,
    SUB_CREF_DIFF,
    SUB_C_COMP,
    SUB_C_COMP_PULLUP,
    SUB_C_COMP_PULLDOWN,
    SUB_C_COMP_POWER_CLAMP,
    SUB_C_COMP_GND_CLAMP,
    SUB_COUNT,
};

constexpr const char* kSubParameters[SUB_COUNT] = {"",
                                                   "Model_type",
                                                   "Polarity",
                                                   "Enable",
                                                   "Vinl",
                                                   "Vinh",
                                                   "Vmeas",
                                                   "Cref",
                                                   "Rref",
                                                   "Vref",
                                                   "Rref_diff",
                                                   "Cref_diff",
                                                   "C_comp",
                                                   "C_comp_pullup",
                                                   "C_comp_pulldown",
                                                   "C_comp_power_clamp",
                                                   "C_comp_gnd_clamp"};

struct Choice {
    const char* name;
    int code;
};
constexpr Choice kPolarities[] = {{"Non-Inverting", 2}, {"Inverting", 3}};
constexpr Choice kEnables[] = {{"Active-High", 2}, {"Active-Low", 3}};
constexpr Choice kSubmodelModes[] = {{"Driving", 0}, {"Non-Driving", 1}, {"All", 2}};

// The name of a model keyword as messages show it.
const char* KeywordName(int code) {
    switch (code) {
    case KW_TEMPERATURE_RANGE: return "Temperature Range";
    case KW_VOLTAGE_RANGE: return "Voltage Range";
    case KW_PULLUP_REFERENCE: return "Pullup Reference";
    case KW_PULLDOWN_REFERENCE: return "Pulldown Reference";
    case KW_POWER_CLAMP_REFERENCE: return "POWER Clamp Reference";
    case KW_GND_CLAMP_REFERENCE: return "GND Clamp Reference";
    case KW_EXTERNAL_REFERENCE: return "External Reference";
    case KW_PULLDOWN: return "Pulldown";
    case KW_PULLUP: return "Pullup";
    case KW_GND_CLAMP: return "GND_Clamp";
    case KW_POWER_CLAMP: return "POWER_Clamp";
    case KW_RGND: return "Rgnd";
    case KW_RPOWER: return "Rpower";
    case KW_RAC: return "Rac";
    case KW_CAC: return "Cac";
    case KW_RISING_WAVEFORM: return "Rising Waveform";
    case KW_FALLING_WAVEFORM: return "Falling Waveform";
    case KW_TTGND: return "TTgnd";
    case KW_TTPOWER: return "TTpower";
    case KW_MODEL_SPEC: return "Model Spec";
    case KW_DRIVER_SCHEDULE: return "Driver Schedule";
    case KW_R_SERIES: return "R Series";
    case KW_L_SERIES: return "L Series";
    case KW_RL_SERIES: return "Rl Series";
    case KW_C_SERIES: return "C Series";
    case KW_LC_SERIES: return "Lc Series";
    case KW_RC_SERIES: return "Rc Series";
    case KW_SERIES_CURRENT: return "Series_Current";
    case KW_ISSO_PD: return "ISSO_PD";
    case KW_ISSO_PU: return "ISSO_PU";
    default: return "";
    }
}

bool IsTripleKeyword(int code) {
    return (code >= KW_TEMPERATURE_RANGE && code <= KW_EXTERNAL_REFERENCE) ||
           (code >= KW_RGND && code <= KW_CAC) || code == KW_TTGND || code == KW_TTPOWER;
}
bool IsSeriesElement(int code) { return code >= KW_R_SERIES && code <= KW_RC_SERIES; }
bool IsIVTable(int code) {
    return (code >= KW_PULLDOWN && code <= KW_POWER_CLAMP) || code == KW_ISSO_PD ||
           code == KW_ISSO_PU || code == KW_SERIES_CURRENT;
}
bool IsModelKeyword(int code) { return code >= KW_EXTERNAL_MODEL && code <= KW_END_EMI_MODEL; }
// Keywords under which no data line may stand.
bool TakesNoData(int code) {
    return IsTripleKeyword(code) || IsSeriesElement(code) || code == KW_ON || code == KW_OFF;
}

bool IsReceiver(int type) {
    switch (type) {
    case MDL_INPUT:
    case MDL_IO:
    case MDL_IO_OPEN_DRAIN:
    case MDL_IO_OPEN_SINK:
    case MDL_IO_OPEN_SOURCE:
    case MDL_INPUT_ECL:
    case MDL_IO_ECL: return true;
    default: return false;
    }
}
bool IsInputOnly(int type) {
    switch (type) {
    case MDL_INPUT:
    case MDL_INPUT_DIFF:
    case MDL_INPUT_ECL:
    case MDL_TERMINATOR:
    case MDL_SERIES:
    case MDL_SERIES_SWITCH: return true;
    default: return false;
    }
}
bool IsOutputOnly(int type) {
    switch (type) {
    case MDL_OUTPUT:
    case MDL_OPEN_DRAIN:
    case MDL_OPEN_SINK:
    case MDL_OPEN_SOURCE:
    case MDL_OUTPUT_ECL: return true;
    default: return false;
    }
}
bool TakesDiffLoad(int type) {
    switch (type) {
    case MDL_OUTPUT:
    case MDL_IO:
    case MDL_3_STATE:
    case MDL_OPEN_DRAIN:
    case MDL_IO_OPEN_DRAIN:
    case MDL_OPEN_SINK:
    case MDL_IO_OPEN_SINK:
    case MDL_OPEN_SOURCE:
    case MDL_IO_OPEN_SOURCE:
    case MDL_OUTPUT_ECL:
    case MDL_IO_ECL:
    case MDL_3_STATE_ECL:
    case MDL_IO_DIFF:
    case MDL_OUTPUT_DIFF:
    case MDL_3_STATE_DIFF: return true;
    default: return false;
    }
}
bool IsSeriesType(int type) { return type == MDL_SERIES || type == MDL_SERIES_SWITCH; }
bool IsKnownType(int type) { return type >= MDL_INPUT && type < MDL_TYPE_COUNT; }

int FileVersion() { return HDR_GetVersion(); }
bool Before4() { return FileVersion() < 4; }

// What the module remembers while a model is open.
struct ModelState {
    int keyword = NOT_KEY;          // the model keyword whose lines arrive now
    int left = NOT_KEY;             // the model keyword most recently left
    SINFO* seriesSet = nullptr;     // the series set that series keywords fill
    WVFRM* lastWaveform = nullptr;  // what a [Composite Current] attaches to
    bool composite = false;         // the current [Composite Current] is being read
    std::unique_ptr<CRV> seriesCurrent;
    // The [Series MOSFET] table being read; while no series section can take it yet (a
    // Series_switch model before [On] or [Off], or a model of another type) it waits in
    // `pendingMosfets` for the first data line to find one.
    bool mosfetOpen = false;
    bool mosfetPending = false;
    SINFO_Owned<SMOS_LIST> pendingMosfets{nullptr, nullptr};
};

ModelState state;
CMN_LINE_ITEMS items;

// Model names of the current file, for the repeat check and the lookups.
struct NameEntry {
    MDL* newest = nullptr;
    int count = 0;
};
std::unordered_map<std::string_view, NameEntry> names;
const MDL* indexedHead = nullptr;

const char* Rest(const char* text) {
    const char* rest = text;
    CMN_SkipPastBracket(&rest);
    return rest;
}

// ---- [Model] line ----

void ModelName(MDL* model, const char* text) {
    CMN_SplitWords(Rest(text), 1, &items);
    if (items.count == 0) {
        CMN_ErrorLine(128, 0, "Model", 1);
        return;
    }
    if (items.count > 1) CMN_ErrorLine(128, items.count, "Model", 1);
    const std::string& name = items.items[0];
    const std::size_t limit = Before4() ? 20 : 40;
    if (name.size() > limit) {
        CMN_ErrorLine(129, static_cast<int>(limit));
        model->name.assign(name, 0, limit);
    } else {
        if (!CMN_IsNotReserved(name.c_str())) CMN_ErrorLine(130, name.c_str());
        if (names.contains(name)) CMN_ErrorLine(131, name.c_str());
        model->name = name;
    }
    NameEntry& entry = names[model->name];
    entry.newest = model;
    ++entry.count;
}

// ---- sub-parameters ----

// Compares value with the choices: exact, or differing only in case (136 with the choice).
// Returns the code, or -1 after 158.
int MatchChoice(const char* label, const char* value, const Choice* choices, int count) {
    for (int i = 0; i < count; ++i) {
        if (std::strcmp(choices[i].name, value) == 0) return choices[i].code;
    }
    for (int i = 0; i < count; ++i) {
        if (CMN_StrEqualNoCase(choices[i].name, value)) {
            CMN_ErrorLine(136, label, value, choices[i].name);
            return choices[i].code;
        }
    }
    CMN_ErrorLine(158, label, value);
    return -1;
}

int MatchType(const char* value) {
    const int version = FileVersion() >= 2 && FileVersion() <= 5 ? FileVersion() : 2;
    Choice accepted[MDL_TYPE_COUNT];
    int count = 0;
    for (int code = MDL_INPUT; code < MDL_TYPE_COUNT; ++code) {
        if (kTypes[code].fromVersion <= version) accepted[count++] = {kTypes[code].name, code};
    }
    return MatchChoice("Model_type", value, accepted, count);
}

// Model_type, Polarity, Enable: the name, then the setting.
void NamedSetting(MDL* model, int sub, const char* line) {
    const char* label = kSubParameters[sub];
    int& field = sub == SUB_MODEL_TYPE ? model->model_type
                 : sub == SUB_POLARITY ? model->polarity
                                       : model->enable;
    if (field != 0) {
        CMN_ErrorLine(119, label, model->name.c_str());
        return;
    }
    CMN_SplitLine(line, 3, '=', &items);
    if (items.count == 1) {
        CMN_ErrorLine(175, label);
        return;
    }
    if (std::strcmp(items.item(1), "=") == 0) {
        CMN_ErrorLine(176, label);
        return;
    }
    if (items.count != 2) {
        CMN_ErrorLine(137, items.count, label, 2);
        return;
    }
    const char* value = items.item(1);
    int code = -1;
    if (sub == SUB_MODEL_TYPE) {
        code = MatchType(value);
    } else if (sub == SUB_POLARITY) {
        code = MatchChoice(label, value, kPolarities, 2);
    } else {
        code = MatchChoice(label, value, kEnables, 2);
    }
    field = code < 0 ? 1 : code;
}

std::optional<double>& SingleField(MDL* model, int sub) {
    switch (sub) {
    case SUB_VINL: return model->Vinl;
    case SUB_VINH: return model->Vinh;
    case SUB_VMEAS: return model->Vmeas;
    case SUB_CREF: return model->Cref;
    case SUB_RREF: return model->Rref;
    case SUB_VREF: return model->Vref;
    case SUB_RREF_DIFF: return model->Rref_diff;
    default: return model->Cref_diff;
    }
}

// A single value: the name, "=" and a number.
void SingleValue(MDL* model, int sub, const char* line) {
    const char* label = kSubParameters[sub];
    std::optional<double>& field = SingleField(model, sub);
    if (field) {
        CMN_ErrorLine(119, label, model->name.c_str());
        return;
    }
    CMN_SplitLine(line, 3, '=', &items);
    if (items.count < 3) {
        CMN_ErrorLine(176, label);
        return;
    }
    if (items.count > 3) {
        CMN_ErrorLine(137, items.count, label, 3);
        return;
    }
    if (std::strcmp(items.item(1), "=") != 0) {
        CMN_ErrorLine(176, label);
        return;
    }
    double value = 0.0;
    if (CMN_GetValue(items.item(2), &value) == 0) {
        CMN_ErrorLine(149, label, items.item(2));
        return;
    }
    field = value;
}

// Whether a single value may be given for the model's type; warns when it may not.
bool SingleAllowed(const MDL* model, int sub) {
    const int type = model->model_type;
    const char* typeName = MDL_TypeName(type);
    switch (sub) {
    case SUB_VINL:
    case SUB_VINH:
        if (!IsKnownType(type)) return false;
        if (IsReceiver(type)) return true;
        if (sub == SUB_VINL) {
            CMN_WarningLine(159, typeName);
        } else {
            CMN_WarningLine(161, typeName);
        }
        return false;
    case SUB_VMEAS:
    case SUB_CREF:
    case SUB_RREF:
    case SUB_VREF:
        if (!IsInputOnly(type)) return true;
        switch (sub) {
        case SUB_VMEAS: CMN_WarningLine(166, typeName); break;
        case SUB_CREF: CMN_WarningLine(167, typeName); break;
        case SUB_RREF: CMN_WarningLine(168, typeName); break;
        default: CMN_WarningLine(169, typeName); break;
        }
        return false;
    default:
        if (Before4()) {
            if (sub == SUB_RREF_DIFF) {
                CMN_ErrorLine(164);
            } else {
                CMN_ErrorLine(162);
            }
            return false;
        }
        if (TakesDiffLoad(type)) return true;
        if (!IsKnownType(type)) return false;
        if (sub == SUB_RREF_DIFF) {
            CMN_WarningLine(165, typeName);
        } else {
            CMN_WarningLine(163, typeName);
        }
        return false;
    }
}

void CComp(MDL* model, int sub, const char* line) {
    const char* label = kSubParameters[sub];
    const int index = sub - SUB_C_COMP;
    if (index > 0 && Before4()) {
        switch (sub) {
        case SUB_C_COMP_PULLUP: CMN_ErrorLine(170); break;
        case SUB_C_COMP_PULLDOWN: CMN_ErrorLine(171); break;
        case SUB_C_COMP_POWER_CLAMP: CMN_ErrorLine(172); break;
        default: CMN_ErrorLine(173); break;
        }
        return;
    }
    std::unique_ptr<RNG>& field = model->C_comp[index];
    if (field) {
        CMN_ErrorLine(119, label, model->name.c_str());
        return;
    }
    RNG_Parse(CMN_SkipToSpace(line), label, field);
    if (!field) return;
    const RNG& value = *field;
    if (value.typState == RNG_NA) CMN_ErrorLine(178);
    const bool typ = value.typState == RNG_NUMBER;
    const bool min = value.minState == RNG_NUMBER;
    const bool max = value.maxState == RNG_NUMBER;
    if (min && ((typ && value.min > value.typ) || (max && value.min > value.max))) {
        CMN_WarningLine(177, model->name.c_str(), label);
    }
    if (max && ((typ && value.max < value.typ) || (min && value.max < value.min))) {
        CMN_WarningLine(179, model->name.c_str(), label);
    }
}

void SubParameterLine(MDL* model, const char* line) {
    const char* start = CMN_SkipSpace(line);
    const std::size_t length = static_cast<std::size_t>(CMN_SkipToSpace(start) - start);
    std::string_view first(start, length);
    // "Vinl=0.8V": the name ends at the equals sign.
    if (std::size_t equals = first.find('='); equals != std::string_view::npos) {
        first = first.substr(0, equals);
    }
    int sub = SUB_NONE;
    for (int i = SUB_MODEL_TYPE; i < SUB_COUNT; ++i) {
        if (first == kSubParameters[i]) sub = i;
    }
    switch (sub) {
    case SUB_NONE: CMN_ErrorLine(174); return;
    case SUB_MODEL_TYPE:
    case SUB_POLARITY:
    case SUB_ENABLE: NamedSetting(model, sub, start); return;
    case SUB_C_COMP:
    case SUB_C_COMP_PULLUP:
    case SUB_C_COMP_PULLDOWN:
    case SUB_C_COMP_POWER_CLAMP:
    case SUB_C_COMP_GND_CLAMP: CComp(model, sub, start); return;
    default:
        if (SingleAllowed(model, sub)) SingleValue(model, sub, start);
        return;
    }
}

void EndOfSubParameters(const MDL* model) {
    if (model->model_type == MDL_TYPE_NONE) CMN_Error(180, model->name.c_str(), "Model_type");
    switch (model->model_type) {
    case MDL_IO:
    case MDL_IO_OPEN_DRAIN:
    case MDL_IO_OPEN_SINK:
    case MDL_IO_OPEN_SOURCE:
    case MDL_IO_ECL:
        if (!model->Vmeas) break;
        if (model->Vinl && *model->Vinl >= *model->Vmeas) {
            CMN_Caution(182, model->name.c_str());
        }
        if (model->Vinh && *model->Vmeas >= *model->Vinh) {
            CMN_Caution(183, model->name.c_str());
        }
        break;
    default: break;
    }
}

// ---- model keywords ----

// The keywords after which [Model Spec] and [Receiver Thresholds] come too late.
bool AnyGiven(const MDL* model, bool forThresholds) {
    static constexpr int kLater[] = {KW_TEMPERATURE_RANGE,
                                     KW_VOLTAGE_RANGE,
                                     KW_PULLUP_REFERENCE,
                                     KW_PULLDOWN_REFERENCE,
                                     KW_POWER_CLAMP_REFERENCE,
                                     KW_GND_CLAMP_REFERENCE,
                                     KW_TTGND,
                                     KW_TTPOWER,
                                     KW_DRIVER_SCHEDULE,
                                     KW_PULLDOWN,
                                     KW_PULLUP,
                                     KW_GND_CLAMP,
                                     KW_POWER_CLAMP,
                                     KW_RGND,
                                     KW_RPOWER,
                                     KW_RAC,
                                     KW_CAC,
                                     KW_RAMP,
                                     KW_RISING_WAVEFORM,
                                     KW_FALLING_WAVEFORM,
                                     KW_ADD_SUBMODEL};
    for (int code : kLater) {
        if (model->given[code]) return true;
    }
    if (forThresholds) return false;
    return model->given[KW_RECEIVER_THRESHOLDS] || model->given[KW_ISSO_PD] ||
           model->given[KW_ISSO_PU];
}

void TripleKeyword(MDL* model, int code, const char* text) {
    const char* name = KeywordName(code);
    const bool beforeStates = code == KW_VOLTAGE_RANGE || code == KW_TEMPERATURE_RANGE ||
                              (code >= KW_PULLUP_REFERENCE && code <= KW_GND_CLAMP_REFERENCE);
    if (beforeStates && model->model_type == MDL_SERIES_SWITCH &&
        (model->given[KW_ON] || model->given[KW_OFF])) {
        CMN_ErrorLine(204, model->name.c_str(), name);
    }
    std::unique_ptr<RNG>& field = model->keywordValues[code];
    if (field) {
        CMN_ErrorLine(119, name, model->name.c_str());
        return;
    }
    RNG_Parse(Rest(text), name, field);
    if (!field) return;
    const RNG& value = *field;
    if (value.typState == RNG_NA) CMN_ErrorLine(178);
    const bool negativeTyp = value.typState == RNG_NUMBER && value.typ < 0;
    const bool negativeMin = value.minState == RNG_NUMBER && value.min < 0;
    const bool negativeMax = value.maxState == RNG_NUMBER && value.max < 0;
    if (code == KW_TTGND) {
        if (negativeTyp) CMN_ErrorLine(108);
        if (negativeMin) CMN_ErrorLine(109);
        if (negativeMax) CMN_ErrorLine(110);
    } else if (code == KW_TTPOWER) {
        if (negativeTyp) CMN_ErrorLine(112);
        if (negativeMin) CMN_ErrorLine(113);
        if (negativeMax) CMN_ErrorLine(114);
    }
}

// The series set that series keywords and tables fill, opening [On] in a Series_switch model
// that has neither [On] nor [Off] yet. Null (after 206) in other models.
SINFO* SeriesSet(MDL* model, const char* keywordLine) {
    if (!IsSeriesType(model->model_type)) {
        CMN_ErrorLine(206);
        return nullptr;
    }
    if (state.seriesSet != nullptr) return state.seriesSet;
    if (model->model_type == MDL_SERIES) {
        if (!model->series) model->series.reset(new (std::nothrow) SINFO{});
        if (!model->series) CMN_BugLine(100, kModule, __LINE__);
        return state.seriesSet = model->series.get();
    }
    CMN_ErrorLine(207);
    model->given.set(KW_ON);
    SINFO_Begin(model->on, keywordLine, "[On]");
    return state.seriesSet = model->on.get();
}

void TakeMosfets(SINFO& set, SINFO_Owned<SMOS_LIST> list) {
    set.seriesMosfets = std::move(list);
    set.checkMosfets = SMOS_CheckDuplicates;
}

void MosfetKeyword(MDL* model, const char* text) {
    // A Series model's section needs no keyword of its own; a Series_switch model's needs
    // [On] or [Off], which the first data line assumes when they are missing.
    const int type = model->model_type;
    SINFO* set = nullptr;
    if (type == MDL_SERIES || (type == MDL_SERIES_SWITCH && state.seriesSet != nullptr)) {
        set = SeriesSet(model, "[On]");
    }
    state.pendingMosfets.reset();
    state.mosfetPending = set == nullptr;
    if (set != nullptr && set->seriesMosfets) {
        state.mosfetOpen = SMOS_Keyword(text, set->seriesMosfets) != nullptr;
    } else {
        SINFO_Owned<SMOS_LIST> list{nullptr, nullptr};
        state.mosfetOpen = SMOS_Keyword(text, list) != nullptr;
        if (set != nullptr) {
            TakeMosfets(*set, std::move(list));
        } else {
            state.pendingMosfets = std::move(list);
        }
    }
}

void MosfetLine(MDL* model, const char* text) {
    SINFO* set = SeriesSet(model, "[On]");
    if (set == nullptr) return;
    if (state.mosfetPending) {
        state.mosfetPending = false;
        if (!set->seriesMosfets && state.pendingMosfets) {
            TakeMosfets(*set, std::move(state.pendingMosfets));
        } else {
            state.pendingMosfets.reset();
            SMOS_Abandon();
            state.mosfetOpen = false;
        }
    }
    if (state.mosfetOpen) SMOS_Line(text);
}

void CloseMosfet(const MDL* model) {
    if (state.mosfetOpen && !state.mosfetPending) {
        SMOS_Close(model->name.c_str(), model->model_type);
    } else {
        SMOS_Abandon();
    }
    state.pendingMosfets.reset();
    state.mosfetOpen = state.mosfetPending = false;
}

std::unique_ptr<RNG>& SeriesField(SINFO& set, int code) {
    switch (code) {
    case KW_R_SERIES: return set.R_series;
    case KW_L_SERIES: return set.L_series;
    case KW_RL_SERIES: return set.Rl_series;
    case KW_C_SERIES: return set.C_series;
    case KW_LC_SERIES: return set.Lc_series;
    default: return set.Rc_series;
    }
}

void SeriesElement(MDL* model, int code, const char* text) {
    SINFO* set = SeriesSet(model, "[On]");
    if (set == nullptr) return;
    const char* name = KeywordName(code);
    std::unique_ptr<RNG>& field = SeriesField(*set, code);
    if (field) {
        CMN_ErrorLine(119, name, model->name.c_str());
        return;
    }
    RNG_Parse(Rest(text), name, field);
    if (field && field->typState == RNG_NA) CMN_ErrorLine(178);
}

void SwitchState(MDL* model, int code, const char* text) {
    if (model->model_type != MDL_SERIES_SWITCH) {
        CMN_ErrorLine(205);
        return;
    }
    const bool isOn = code == KW_ON;
    std::unique_ptr<SINFO>& holder = isOn ? model->on : model->off;
    if (SINFO_Begin(holder, text, isOn ? "[On]" : "[Off]")) {
        state.seriesSet = holder.get();
    }
}

void AddSubmodelKeyword(MDL* model, const char* text) {
    if (model->given[KW_ADD_SUBMODEL]) CMN_ErrorLine(208);
    CMN_SplitWords(Rest(text), 1, &items);
    if (items.count > 0) CMN_ErrorLine(137, items.count + 1, "Add Submodel", 1);
    if (IsSeriesType(model->model_type)) CMN_ErrorLine(209);
}

void AddSubmodelLine(MDL* model, const char* line) {
    CMN_SplitWords(line, 3, &items);
    if (items.count == 0) {
        CMN_ErrorLine(211);
        return;
    }
    if (items.count > 2) CMN_ErrorLine(210);
    const std::string& name = items.items[0];
    if (name.size() > 20) CMN_ErrorLine(212, 20);
    if (!CMN_IsNotReserved(name.c_str())) CMN_ErrorLine(213, name.c_str());
    model->addSubmodels.push_back(name);
    if (items.count == 1) {
        CMN_ErrorLine(215);
        return;
    }
    const int mode = MatchChoice("Add Submodel Mode", items.item(1), kSubmodelModes, 3);
    const int type = model->model_type;
    if (mode == 0 && (type == MDL_INPUT || type == MDL_INPUT_ECL || type == MDL_TERMINATOR)) {
        CMN_ErrorLine(216);
    } else if (mode == 1 && IsOutputOnly(type)) {
        CMN_ErrorLine(217);
    }
}

// The [Model Spec] values the timing test load checks need: Vmeas, Vref, Rref.
void ModelSpecLine(MDL* model, const char* line) {
    CMN_SplitWords(line, 2, &items);
    if (items.count < 2) return;
    double value = 0.0;
    if (CMN_GetValue(items.item(1), &value) == 0) return;
    const std::string& name = items.items[0];
    if (name == "Vmeas") model->specVmeas = value;
    if (name == "Vref") model->specVref = value;
    if (name == "Rref") model->specRref = value;
}

std::unique_ptr<CRV>& TableOf(MDL* model, int code) {
    switch (code) {
    case KW_PULLDOWN: return model->Pulldown;
    case KW_PULLUP: return model->Pullup;
    case KW_GND_CLAMP: return model->GND_Clamp;
    case KW_POWER_CLAMP: return model->POWER_Clamp;
    case KW_ISSO_PD: return model->ISSO_PD;
    case KW_ISSO_PU: return model->ISSO_PU;
    default: return state.seriesCurrent;
    }
}

void KeywordLine(MDL* model, int code, char* text) {
    switch (code) {
    case KW_MODEL: ModelName(model, text); break;
    case KW_MODEL_SPEC:
        if (AnyGiven(model, false)) CMN_ErrorLine(116);
        break;
    case KW_RECEIVER_THRESHOLDS:
        if (AnyGiven(model, true)) CMN_ErrorLine(120);
        if (IsKnownType(model->model_type) && !IsReceiver(model->model_type)) {
            CMN_WarningLine(117, MDL_TypeName(model->model_type));
        }
        RCVTH_Keyword(text, model->thresholds);
        break;
    case KW_ON:
    case KW_OFF: SwitchState(model, code, text); break;
    case KW_DRIVER_SCHEDULE: DRVSH_Keyword(text, model->schedule); break;
    case KW_SERIES_MOSFET: MosfetKeyword(model, text); break;
    case KW_ADD_SUBMODEL: AddSubmodelKeyword(model, text); break;
    case KW_RAMP: RAMP_Keyword(text, model); break;
    case KW_RISING_WAVEFORM:
        state.lastWaveform = WVFRM_Keyword(text, model->rising, WVFRM_RISING);
        break;
    case KW_FALLING_WAVEFORM:
        state.lastWaveform = WVFRM_Keyword(text, model->falling, WVFRM_FALLING);
        break;
    case KW_COMPOSITE_CURRENT:
        // A waveform takes one [Composite Current]; a second one has nothing to attach to.
        if (state.lastWaveform == nullptr || state.lastWaveform->composite.count > 0) {
            CMN_ErrorLine(257);
            state.composite = false;
        } else {
            WVFRM_Keyword(text, state.lastWaveform->composite, WVFRM_COMPOSITE_CURRENT);
            state.composite = true;
        }
        break;
    case KW_ALGORITHMIC_MODEL: ALGMOD_Keyword(text, model); break;
    case KW_END_ALGORITHMIC_MODEL:
        if (state.left != KW_ALGORITHMIC_MODEL) CMN_ErrorLine(261);
        break;
    case KW_BEGIN_EMI_MODEL: MDLEMI_Keyword(text, model->emi); break;
    case KW_END_EMI_MODEL:
        if (state.left != KW_BEGIN_EMI_MODEL) CMN_ErrorLine(262);
        break;
    default:
        if (IsTripleKeyword(code)) {
            TripleKeyword(model, code, text);
        } else if (IsSeriesElement(code)) {
            SeriesElement(model, code, text);
        } else if (IsIVTable(code)) {
            CRV_Keyword(text, KeywordName(code), TableOf(model, code));
        }
        break;
    }
    model->given.set(code);
}

void DataLine(MDL* model, int code, char* text) {
    switch (code) {
    case KW_MODEL: SubParameterLine(model, text); return;
    case KW_RAMP: RAMP_Line(text, model); return;
    case KW_RISING_WAVEFORM: WVFRM_Line(text, WVFRM_RISING); return;
    case KW_FALLING_WAVEFORM: WVFRM_Line(text, WVFRM_FALLING); return;
    case KW_COMPOSITE_CURRENT:
        if (state.composite) WVFRM_Line(text, WVFRM_COMPOSITE_CURRENT);
        return;
    case KW_ALGORITHMIC_MODEL: ALGMOD_DataLine(text, model); return;
    case KW_ADD_SUBMODEL: AddSubmodelLine(model, text); return;
    case KW_EXTERNAL_MODEL: model->externalModel.emplace_back(text); return;
    case KW_MODEL_SPEC: ModelSpecLine(model, text); return;
    case KW_BEGIN_EMI_MODEL:
        if (model->emi) MDLEMI_Line(text, *model->emi);
        return;
    case KW_RECEIVER_THRESHOLDS:
        if (model->thresholds) RCVTH_Line(text, *model->thresholds);
        return;
    case KW_SERIES_CURRENT:
        if (SeriesSet(model, "[On]") != nullptr && state.seriesCurrent) {
            CRV_Row(text, model->model_type, code, *state.seriesCurrent);
        }
        return;
    case KW_SERIES_MOSFET: MosfetLine(model, text); return;
    case KW_DRIVER_SCHEDULE:
        if (model->schedule) DRVSH_Line(text, *model->schedule, model->name.c_str());
        return;
    default: break;
    }
    if (TakesNoData(code)) {
        CMN_ErrorLine(121);
    } else if (IsIVTable(code)) {
        if (std::unique_ptr<CRV>& table = TableOf(model, code)) {
            CRV_Row(text, model->model_type, code, *table);
        }
    }
}

// Ends the section of the model keyword being left.
void CloseKeyword(MDL* model, int nextCode) {
    const int code = state.keyword;
    state.keyword = NOT_KEY;
    state.left = code;
    switch (code) {
    case KW_MODEL: EndOfSubParameters(model); return;
    case KW_RAMP:
        if (model->ramp) RAMP_End(*model->ramp);
        return;
    case KW_RISING_WAVEFORM: WVFRM_End(WVFRM_RISING); return;
    case KW_FALLING_WAVEFORM: WVFRM_End(WVFRM_FALLING); return;
    case KW_COMPOSITE_CURRENT:
        if (state.composite) WVFRM_End(WVFRM_COMPOSITE_CURRENT);
        state.composite = false;
        return;
    case KW_ALGORITHMIC_MODEL:
        if (nextCode != KW_END_ALGORITHMIC_MODEL) CMN_ErrorLine(259);
        ALGMOD_Close(model);
        return;
    case KW_BEGIN_EMI_MODEL:
        if (nextCode != KW_END_EMI_MODEL) CMN_ErrorLine(260);
        return;
    case KW_RECEIVER_THRESHOLDS: RCVTH_Close(*model); return;
    case KW_DRIVER_SCHEDULE:
        if (model->schedule) DRVSH_Close(*model->schedule, model->name.c_str());
        return;
    case KW_SERIES_MOSFET: CloseMosfet(model); return;
    case KW_SERIES_CURRENT:
        if (state.seriesCurrent && IsSeriesType(model->model_type)) {
            CRV_End(model->name.c_str(), model->model_type, code, *state.seriesCurrent,
                    KeywordName(code), "Model");
            if (state.seriesSet != nullptr && !state.seriesSet->seriesCurrent) {
                state.seriesSet->seriesCurrent =
                    SINFO_Owned<CRV>(state.seriesCurrent.release(), CRV_Free);
            }
            state.seriesCurrent.reset();
        }
        return;
    default:
        if (IsIVTable(code)) {
            if (const std::unique_ptr<CRV>& table = TableOf(model, code)) {
                CRV_End(model->name.c_str(), model->model_type, code, *table, KeywordName(code),
                        "Model");
            }
        }
        return;
    }
}

void CheckTimingLoad(const MDL& model) {
    const char* name = model.name.c_str();
    const bool vmeas = model.Vmeas || model.specVmeas;
    const bool vref = model.Vref || model.specVref;
    const bool rref = model.Rref || model.specRref;
    switch (model.model_type) {
    case MDL_OUTPUT:
    case MDL_IO:
    case MDL_3_STATE:
        if (!vmeas) CMN_Warning(201, name);
        break;
    case MDL_OPEN_DRAIN:
    case MDL_IO_OPEN_DRAIN:
    case MDL_OPEN_SINK:
    case MDL_IO_OPEN_SINK:
    case MDL_OPEN_SOURCE:
    case MDL_IO_OPEN_SOURCE:
    case MDL_OUTPUT_ECL:
    case MDL_IO_ECL:
    case MDL_3_STATE_ECL:
        if (!vmeas || !vref || !rref) CMN_Warning(200, name);
        break;
    case MDL_IO_DIFF:
    case MDL_OUTPUT_DIFF:
    case MDL_3_STATE_DIFF:
        if (!model.Rref_diff && !model.Cref_diff) CMN_Warning(202, name);
        break;
    default: break;
    }
}

void CheckSeriesKeywords(const MDL& model) {
    const bool series = model.model_type == MDL_SERIES;
    const char* name = model.name.c_str();
    static constexpr int kNotAllowed[] = {KW_PULLUP,    KW_PULLDOWN,        KW_POWER_CLAMP,
                                          KW_GND_CLAMP, KW_RISING_WAVEFORM, KW_FALLING_WAVEFORM,
                                          KW_TTGND,     KW_TTPOWER,         KW_DRIVER_SCHEDULE};
    for (int keyword : kNotAllowed) {
        if (!model.given[keyword]) continue;
        if (series) {
            CMN_Error(191, name, KeywordName(keyword));
        } else {
            CMN_Error(192, name, KeywordName(keyword));
        }
    }
    if (!model.given[KW_MODEL_SPEC]) return;
    if (series) {
        CMN_Warning(191, name, "Model Spec");
    } else {
        CMN_Warning(192, name, "Model Spec");
    }
}

void CheckThresholdReference(const MDL& model) {
    if (!model.thresholds) return;
    const std::string& supply = model.thresholds->reference_supply;
    const char* name = model.name.c_str();
    if (supply == "Power_clamp_ref" && !model.given[KW_POWER_CLAMP_REFERENCE]) {
        CMN_Error(195, name);
    } else if (supply == "Gnd_clamp_ref" && !model.given[KW_GND_CLAMP_REFERENCE]) {
        CMN_Error(196, name);
    } else if (supply == "Pullup_ref" && !model.given[KW_PULLUP_REFERENCE]) {
        CMN_Error(197, name);
    } else if (supply == "Pulldown_ref" && !model.given[KW_PULLDOWN_REFERENCE]) {
        CMN_Error(198, name);
    } else if (supply == "Ext_ref" && !model.given[KW_EXTERNAL_REFERENCE]) {
        CMN_Error(199, name);
    }
}

void EndOfModel(MDL* model) {
    const char* name = model->name.c_str();
    const int type = model->model_type;
    bool anyCComp = false;
    for (const auto& value : model->C_comp) anyCComp = anyCComp || value != nullptr;
    if (!anyCComp && !model->given[KW_EXTERNAL_MODEL]) CMN_Error(181, name);
    if (IsReceiver(type) && !model->given[KW_RECEIVER_THRESHOLDS]) {
        if (!model->Vinl) CMN_Warning(184, name, MDL_TypeName(type), "Vinl");
        if (!model->Vinh) CMN_Warning(184, name, MDL_TypeName(type), "Vinh");
    }
    if (type != MDL_TERMINATOR) {
        for (int code : {KW_RGND, KW_RPOWER, KW_RAC, KW_CAC}) {
            if (model->given[code]) CMN_Error(185, name, KeywordName(code));
        }
    }
    if (model->given[KW_RAC] && !model->given[KW_CAC]) CMN_Error(187, name);
    if (model->given[KW_CAC] && !model->given[KW_RAC]) CMN_Error(186, name);
    if (!model->given[KW_VOLTAGE_RANGE]) {
        for (int code = KW_PULLUP_REFERENCE; code <= KW_GND_CLAMP_REFERENCE; ++code) {
            if (!model->given[code]) CMN_Error(188, name, KeywordName(code));
        }
    }
    if (IsSeriesType(type)) {
        if (model->ramp) CMN_Error(189, name);
    } else if (type != MDL_INPUT && type != MDL_INPUT_ECL && type != MDL_TERMINATOR &&
               type != MDL_INPUT_DIFF && !model->ramp) {
        CMN_Error(190, name);
    }
    if (IsSeriesType(type)) CheckSeriesKeywords(*model);
    if (type == MDL_SERIES) {
        const SINFO empty;
        SINFO_Check(model->series ? *model->series : empty, name, "Series");
    } else if (type == MDL_SERIES_SWITCH) {
        if (model->on) SINFO_Check(*model->on, name, "[On]");
        if (model->off) SINFO_Check(*model->off, name, "[Off]");
        if (!model->on) CMN_Error(193, name);
        if (!model->off) CMN_Error(194, name);
    }
    if (model->given[KW_RECEIVER_THRESHOLDS]) CheckThresholdReference(*model);
    CheckTimingLoad(*model);
}

void EndModel(MDL* model, int nextCode) {
    if (state.keyword != NOT_KEY) CloseKeyword(model, nextCode);
    EndOfModel(model);
    state = ModelState{};
    models.Reset();
}

}  // namespace

void MDL_Begin() {
    if (MDL* open = models.Open()) EndModel(open, KW_MODEL);
    IBIS* ibis = nullptr;
    if (IBIS_GetCurrent(&ibis) && ibis->models.get() != indexedHead && indexedHead != nullptr) {
        // Another file's models: its names do not count.
        names.clear();
    }
    models.Begin(__LINE__);
    state = ModelState{};
    if (ibis != nullptr) indexedHead = ibis->models.get();
}

void MDL_Line(int lineKind, int code, char* text) {
    MDL* model = models.Open();
    if (model == nullptr) {
        // A [Model] that could not begin has already been reported.
        if (code == KW_MODEL) return;
        if (lineKind == LINE_KEYWORD) {
            CMN_ErrorLine(102);
        } else {
            CMN_ErrorLine(107);
        }
        return;
    }
    if (lineKind == LINE_KEYWORD) {
        // A keyword the line reader did not know left the previous section open.
        if (state.keyword != NOT_KEY) CloseKeyword(model, code);
        state.keyword = code;
        KeywordLine(model, code, text);
    } else {
        DataLine(model, code, text);
    }
}

void MDL_KeywordChange(int nextCode) {
    MDL* model = models.Open();
    if (model == nullptr) return;
    if (!IsModelKeyword(nextCode) || nextCode == KW_MODEL) {
        EndModel(model, nextCode);
        return;
    }
    if (state.keyword != NOT_KEY) CloseKeyword(model, nextCode);
}

void MDL_Reset() {
    models.Reset();
    state = ModelState{};
    names.clear();
    indexedHead = nullptr;
}

void MDL_CheckAll(MDL* list) {
    for (const MDL* model = list; model; model = model->next.get()) {
        if (!model->referenced) CMN_Warning(219, model->name.c_str());
    }
}

void MDL_CheckAddedSubmodels(MDL* list, SUBMDL* submodels) {
    std::unordered_set<std::string_view> defined;
    for (const SUBMDL* submodel = submodels; submodel; submodel = submodel->next.get()) {
        defined.insert(submodel->name);
    }
    for (const MDL* model = list; model; model = model->next.get()) {
        for (const std::string& name : model->addSubmodels) {
            if (!defined.contains(name)) CMN_Error(218, name.c_str(), model->name.c_str());
        }
    }
}

MDL* MDL_Find(MDL* list, const char* name, int* count) {
    if (list != nullptr && list == indexedHead) {
        const auto found = names.find(name);
        if (count != nullptr) *count = found == names.end() ? 0 : found->second.count;
        return found == names.end() ? nullptr : found->second.newest;
    }
    MDL* newest = nullptr;
    int seen = 0;
    for (MDL* model = list; model; model = model->next.get()) {
        if (model->name == name) {
            if (newest == nullptr) newest = model;
            ++seen;
        }
    }
    if (count != nullptr) *count = seen;
    return newest;
}

int MDL_TypeCode(const MDL* model) { return model == nullptr ? 0 : model->model_type; }

const char* MDL_TypeName(int code) {
    return code >= 0 && code < MDL_TYPE_COUNT ? kTypes[code].name : "";
}
