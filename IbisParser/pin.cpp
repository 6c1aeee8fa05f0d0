#include "IbisParser/pin.h"

#include <new>

#include "IbisParser/cmn.h"
#include "IbisParser/cmpnt.h"
#include "IbisParser/hdr.h"
#include "IbisParser/ibis.h"
#include "IbisParser/mdl.h"
#include "IbisParser/msel.h"
#include "IbisParser/pkgmdl.h"

namespace {

constexpr const char* kLabel = "Pin";  // the keyword as the header messages name it
constexpr unsigned kPinNameLimit = 5;
constexpr int kMaxHeaderColumns = 7;

// Reused for every line, so that splitting a row allocates nothing once warmed up.
CMN_LINE_ITEMS lineItems;

unsigned NameLimit() { return HDR_GetVersion() >= 4 ? 40u : 20u; }

// The last three header places: which of R_pin, L_pin, C_pin the item names, or -1.
int ValueHeader(const char* item) {
    if (CMN_StrEqualNoCase(item, "R_pin")) return 0;
    if (CMN_StrEqualNoCase(item, "L_pin")) return 1;
    if (CMN_StrEqualNoCase(item, "C_pin")) return 2;
    return -1;
}

// The value columns of a row: the header's places, and for a value the header does not place
// (a header of 3 columns, or a short one), the first free place in R, L, C order.
void ValuePlaces(const PIN_TABLE& table, int places[3]) {
    places[0] = table.R_position;
    places[1] = table.L_position;
    places[2] = table.C_position;
    bool taken[3] = {false, false, false};
    for (int i = 0; i < 3; ++i) {
        if (places[i] >= 0) taken[places[i]] = true;
    }
    for (int i = 0; i < 3; ++i) {
        if (places[i] >= 0) continue;
        for (int place = 0; place < 3; ++place) {
            if (!taken[place]) {
                places[i] = place;
                taken[place] = true;
                break;
            }
        }
    }
}

// Above the bound by more than rounding: a value written as the bound with a scale letter
// ("1000n" is 1000 times 1e-9) may come out one unit in the last place above it.
bool AboveBound(double value, double bound) { return value > bound * (1.0 + 1e-12); }

bool IsSkippedModel(const std::string& model) {
    const char* name = model.c_str();
    return CMN_StrEqualNoCase(name, "POWER") || CMN_StrEqualNoCase(name, "GND") ||
           CMN_StrEqualNoCase(name, "CIRCUITCALL") || CMN_StrEqualNoCase(name, "NC");
}

// The model checks of one pin from IBIS 3.0 on: a model of that name, else a selector.
void CheckPinModel(const CMPNT& component, const PIN& pin, IBIS& ibis) {
    const char* modelName = pin.model_name.c_str();
    int count = 0;
    MDL* model = MDL_Find(ibis.models.get(), modelName, &count);
    if (count == 1 && model != nullptr) {
        const int type = MDL_TypeCode(model);
        if (type == MDL_SERIES || type == MDL_SERIES_SWITCH) {
            CMN_Error(610, component.name, pin.pin, pin.model_name);
        }
        if (model->differential && !DIFPIN_HasPin(component, pin.pin)) {
            CMN_Caution(611, pin.pin, pin.model_name);
        }
        return;
    }
    if (const MSEL* selector = MSEL_Find(modelName, ibis.modelSelectors.get())) {
        if (selector->differential == 0 && !DIFPIN_HasPin(component, pin.pin)) {
            CMN_Caution(609, pin.pin, selector->name);
        }
        return;
    }
    CMN_Error(608, component.name, pin.model_name, pin.pin);
}

}  // namespace

void PIN_Header(CMPNT& component, const char* text) {
    PIN_TABLE& table = component.pins;
    if (table.headerRead) {
        CMN_ErrorLine(523);
        return;
    }
    table.headerRead = true;
    CMN_SplitWords(text, kMaxHeaderColumns - 1, &lineItems);
    if (lineItems.count == 0) {
        CMN_ErrorLine(528, kLabel);
    } else {
        if (!CMN_StrEqualNoCase(lineItems.item(0), "signal_name")) {
            CMN_ErrorLine(529, "signal_name");
        }
        if (lineItems.count < 2 || !CMN_StrEqualNoCase(lineItems.item(1), "model_name")) {
            CMN_ErrorLine(529, "model_name");
        }
        int* positions[3] = {&table.R_position, &table.L_position, &table.C_position};
        for (int place = 0; place < 3 && place + 2 < lineItems.stored; ++place) {
            const char* item = lineItems.item(place + 2);
            const int which = ValueHeader(item);
            if (which < 0) {
                CMN_ErrorLine(530, item);
            } else if (*positions[which] >= 0) {
                CMN_ErrorLine(531, item);
            } else {
                *positions[which] = place;
            }
        }
    }
    const int columns = 1 + lineItems.count;
    table.headerColumns = columns < kMaxHeaderColumns ? columns : kMaxHeaderColumns;
    if (table.headerColumns != 3 && table.headerColumns != 6) {
        CMN_ErrorLine(532, kLabel, 3, 6, table.headerColumns);
    }
}

void PIN_Line(CMPNT& component, const char* text) {
    PIN_TABLE& table = component.pins;
    CMN_SplitWords(text, 6, &lineItems);
    const int read = lineItems.stored;
    std::unique_ptr<PIN> row(new (std::nothrow) PIN{});
    if (!row) {
        CMN_ErrorLine(614);
        CMN_ErrorLine(600);
        return;
    }
    row->columns = read;
    if (read < 1) {
        CMN_ErrorLine(601);
        CMN_ErrorLine(602);
    } else if (read < 2) {
        CMN_ErrorLine(602);
    } else if (read < 3) {
        CMN_ErrorLine(603);
    }
    const unsigned nameLimit = NameLimit();
    if (read >= 1) CMN_CopyLimited(row->pin, lineItems.item(0), kPinNameLimit, "Pin");
    if (read >= 2) CMN_CopyLimited(row->signal_name, lineItems.item(1), nameLimit, "Signal name");
    if (read >= 3) CMN_CopyLimited(row->model_name, lineItems.item(2), nameLimit, "Model name");

    int places[3];
    ValuePlaces(table, places);
    static constexpr const char* kColumns[3] = {"R_pin", "L_pin", "C_pin"};
    double* values[3] = {&row->R_pin, &row->L_pin, &row->C_pin};
    int* states[3] = {&row->R_pin_state, &row->L_pin_state, &row->C_pin_state};
    for (int i = 0; i < 3; ++i) {
        CMN_CheckValue(lineItems.item(3 + places[i]), row->pin.c_str(), kColumns[i], values[i],
                       states[i]);
    }

    if (read != 3 && read != 6) {
        CMN_ErrorLine(604);
    } else if (read == 6 && table.headerColumns == 3) {
        CMN_ErrorLine(605);
    }

    PIN* added = table.rows.Append(std::move(row));
    if (!table.index.try_emplace(added->pin, added).second) {
        CMN_ErrorLine(606, added->pin);
    }
}

void PIN_CheckAll(CMPNT& component, IBIS& ibis) {
    const int version = HDR_GetVersion();
    const bool hasPinMapping = component.pin_mappings.headerRead;
    for (const PIN* pin = component.pins.rows.First(); pin != nullptr; pin = pin->next.get()) {
        if (!IsSkippedModel(pin->model_name)) {
            if (version >= 3) {
                CheckPinModel(component, *pin, ibis);
            } else {
                int count = 0;
                MDL_Find(ibis.models.get(), pin->model_name.c_str(), &count);
                if (count != 1) CMN_Error(608, component.name, pin->model_name, pin->pin);
            }
        }
        if (hasPinMapping && PINMPG_Find(component, pin->pin) == nullptr) {
            CMN_Error(612, component.name, pin->pin);
        }
    }
    if (component.package_model.empty()) return;
    const char* pinName = nullptr;
    for (int more =
             PKGMDL_NextPin(ibis.packageModels.get(), component.package_model.c_str(), 1, &pinName);
         more; more = PKGMDL_NextPin(ibis.packageModels.get(), component.package_model.c_str(), 0,
                                     &pinName)) {
        if (PIN_Find(component, pinName) == nullptr) {
            CMN_Error(613, pinName, component.package_model, component.name);
        }
    }
}

void PIN_CheckRanges(const CMPNT& component) {
    for (const PIN* pin = component.pins.rows.First(); pin != nullptr; pin = pin->next.get()) {
        if (pin->R_pin_state == 1 && AboveBound(pin->R_pin, 50.0)) {
            CMN_Warning(1700, component.name, pin->pin, pin->R_pin, 50.0);
        }
        if (pin->L_pin_state == 1 && AboveBound(pin->L_pin, 1e-6)) {
            CMN_Warning(1701, component.name, pin->pin, pin->L_pin * 1e9, 1000.0);
        }
        if (pin->C_pin_state == 1 && AboveBound(pin->C_pin, 1e-9)) {
            CMN_Warning(1702, component.name, pin->pin, pin->C_pin * 1e12, 1000.0);
        }
    }
}

const PIN* PIN_Find(const CMPNT& component, std::string_view name) {
    auto found = component.pins.index.find(name);
    return found == component.pins.index.end() ? nullptr : found->second;
}

bool PIN_IsPower(const PIN& pin) {
    return CMN_StrEqualNoCase(pin.model_name.c_str(), "POWER") != 0;
}

bool PIN_IsPowerOrGnd(const PIN& pin) {
    return PIN_IsPower(pin) || CMN_StrEqualNoCase(pin.model_name.c_str(), "GND") != 0;
}
