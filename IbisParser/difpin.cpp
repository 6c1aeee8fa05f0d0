// [Diff Pin]: the column header, one DIFPIN per row with its values, the after-file checks of
// the rows against the pins and each other, and the query whether a row uses a model.
#include "IbisParser/difpin.h"

#include <algorithm>
#include <new>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "IbisParser/cmn.h"
#include "IbisParser/cmpnt.h"
#include "IbisParser/ibis.h"
#include "IbisParser/mdl.h"
#include "IbisParser/msel.h"
#include "IbisParser/pin.h"

namespace {

constexpr const char* kLabel = "Diff_Pins";  // the keyword as the header messages name it
constexpr unsigned kPinNameLimit = 5;
constexpr int kMaxColumns = 6;
constexpr int kHeaderCount = 5;
constexpr int kRequiredHeaders = 3;

constexpr const char* kHeaders[kHeaderCount] = {"inv_pin", "vdiff", "tdelay_typ", "tdelay_min",
                                                "tdelay_max"};

// Reused for every line, so that splitting a row allocates nothing once warmed up.
CMN_LINE_ITEMS lineItems;

// Reads one value column (vdiff, tdelay_typ, ...): its state and, for a number, its value.
void ReadValue(const char* text, const char* column, double& value, int& state) {
    int isNA = 0;
    switch (CMN_GetValueOrNA(text, &value, &isNA)) {
    case 0:
        CMN_ErrorLine(816, column);
        state = DIFPIN_BAD;
        return;
    case 2: CMN_WarningLine(817, column); break;
    default: break;
    }
    state = isNA != 0 ? DIFPIN_NA : DIFPIN_GIVEN;
}

// "NA" stands for 0, except tdelay_max, which takes tdelay_typ's value.
void ReplaceNA(DIFPIN& row) {
    auto replace = [](double& value, int& state, double by) {
        if (state != DIFPIN_NA) return;
        value = by;
        state = DIFPIN_GIVEN;
    };
    replace(row.vdiff, row.vdiff_state, 0.0);
    replace(row.tdelay_typ, row.tdelay_typ_state, 0.0);
    replace(row.tdelay_min, row.tdelay_min_state, 0.0);
    replace(row.tdelay_max, row.tdelay_max_state, row.tdelay_typ);
}

bool TypOutsideMinMax(const DIFPIN& row) {
    if (row.tdelay_typ_state != DIFPIN_GIVEN || row.tdelay_min_state != DIFPIN_GIVEN ||
        row.tdelay_max_state != DIFPIN_GIVEN) {
        return false;
    }
    const double typ = row.tdelay_typ;
    return (typ < row.tdelay_min && typ < row.tdelay_max) ||
           (typ > row.tdelay_min && typ > row.tdelay_max);
}

// Rows by pin value: the 0-based positions of the rows whose pin (or inv_pin) it is, ascending.
using Positions = std::unordered_map<std::string_view, std::vector<std::size_t>>;

// One pairwise finding: the later row, and which of the four comparisons (in report order).
struct PairFinding {
    std::size_t later;
    int check;
    bool operator<(const PairFinding& other) const {
        return later != other.later ? later < other.later : check < other.check;
    }
};

// Adds the rows after `row` that the positions list of value holds.
void AddLater(const Positions& positions, const std::string& value, std::size_t row, int check,
              std::vector<PairFinding>& findings) {
    auto found = positions.find(value);
    if (found == positions.end()) return;
    const std::vector<std::size_t>& list = found->second;
    for (auto it = std::upper_bound(list.begin(), list.end(), row); it != list.end(); ++it) {
        findings.push_back({*it, check});
    }
}

// For each row and each later row: equal pins (812), earlier pin equal to later inv_pin (813),
// earlier inv_pin equal to later pin (814), equal inv_pins (815), in row-pair order. The pairs
// come from the rows grouped by value, so only matching pairs are visited.
void CheckPairs(const CMPNT& component) {
    std::vector<const DIFPIN*> rows;
    Positions byPin;
    Positions byInvPin;
    for (const DIFPIN* row = component.diff_pins.rows.First(); row != nullptr;
         row = row->next.get()) {
        // A missing inv_pin is kept empty, and two empty ones are equal.
        byPin[row->pin].push_back(rows.size());
        byInvPin[row->inv_pin].push_back(rows.size());
        rows.push_back(row);
    }
    std::vector<PairFinding> findings;
    for (std::size_t index = 0; index < rows.size(); ++index) {
        const DIFPIN& row = *rows[index];
        findings.clear();
        AddLater(byPin, row.pin, index, 812, findings);
        AddLater(byInvPin, row.pin, index, 813, findings);
        AddLater(byPin, row.inv_pin, index, 814, findings);
        AddLater(byInvPin, row.inv_pin, index, 815, findings);
        std::sort(findings.begin(), findings.end());
        for (const PairFinding& finding : findings) {
            switch (finding.check) {
            case 812: CMN_Warning(812, component.name, row.pin); break;
            case 813: CMN_Error(813, component.name, row.pin); break;
            case 814: CMN_Error(814, component.name, row.inv_pin); break;
            default: CMN_Warning(815, component.name, row.inv_pin); break;
            }
        }
    }
}

// For the query: each model name used by a [Diff Pin] row of the file, directly through the
// model of the row's pin or inv_pin, or through a selector that lists it, with the pin of the
// first such row. Built once per file: the key tells whether the file's records changed since.
struct DiffPinUseIndex {
    struct Key {
        const IBIS* ibis = nullptr;
        const CMPNT* components = nullptr;
        const MDL* models = nullptr;
        const MSEL* modelSelectors = nullptr;
        std::size_t componentCount = 0;
        std::size_t diffRows = 0;
        std::size_t pins = 0;
        bool operator==(const Key&) const = default;
    };

    bool built = false;
    Key key;
    std::unordered_map<std::string, std::string> firstPin;  // model name -> pin of the row

    static Key KeyOf(const IBIS& ibis) {
        Key key{&ibis, ibis.components.get(), ibis.models.get(), ibis.modelSelectors.get()};
        for (const CMPNT* component = ibis.components.get(); component != nullptr;
             component = component->next.get()) {
            ++key.componentCount;
            key.diffRows += component->diff_pins.rowCount;
            key.pins += component->pins.index.size();
        }
        return key;
    }

    void Use(const CMPNT& component, const std::string& pinName, const std::string& rowPin,
             MSEL* selectors) {
        const PIN* pin = PIN_Find(component, pinName);
        if (pin == nullptr || pin->model_name.empty()) return;
        firstPin.try_emplace(pin->model_name, rowPin);
        const MSEL* selector = MSEL_Find(pin->model_name.c_str(), selectors);
        if (selector == nullptr) return;
        for (const MSEL_MODEL* listed = selector->models.get(); listed != nullptr;
             listed = listed->next.get()) {
            firstPin.try_emplace(listed->name, rowPin);
        }
    }

    void Refresh(const IBIS& ibis) {
        Key current = KeyOf(ibis);
        if (built && current == key) return;
        firstPin.clear();
        for (const CMPNT* component = ibis.components.get(); component != nullptr;
             component = component->next.get()) {
            for (const DIFPIN* row = component->diff_pins.rows.First(); row != nullptr;
                 row = row->next.get()) {
                Use(*component, row->pin, row->pin, ibis.modelSelectors.get());
                Use(*component, row->inv_pin, row->pin, ibis.modelSelectors.get());
            }
        }
        key = current;
        built = true;
    }
};

DiffPinUseIndex diffPinUses;

}  // namespace

void DIFPIN_Header(CMPNT& component, const char* text) {
    DIFPIN_TABLE& table = component.diff_pins;
    if (table.headerRead) {
        CMN_ErrorLine(527);
        return;
    }
    table.headerRead = true;
    CMN_SplitWords(text, kMaxColumns, &lineItems);
    if (lineItems.count == 0) {
        CMN_ErrorLine(528, kLabel);
    } else {
        for (int place = 0; place < lineItems.stored; ++place) {
            const char* item = lineItems.item(place);
            if (place >= kHeaderCount || !CMN_StrEqualNoCase(item, kHeaders[place])) {
                CMPNT_ReportHeader(lineItems, place, kHeaders, kRequiredHeaders);
            }
        }
        for (int place = lineItems.count; place < kRequiredHeaders; ++place) {
            CMN_ErrorLine(529, kHeaders[place]);
        }
    }
    const int columns = 1 + lineItems.count;
    table.headerColumns = columns;
    if (columns != 4 && columns != 6) CMN_ErrorLine(532, kLabel, 4, 6, columns);
}

void DIFPIN_Line(CMPNT& component, const char* text) {
    DIFPIN_TABLE& table = component.diff_pins;
    CMN_SplitWords(text, kMaxColumns + 1, &lineItems);
    if (lineItems.count > kMaxColumns) CMN_ErrorLine(801);
    const int read = std::min(lineItems.stored, kMaxColumns);

    std::unique_ptr<DIFPIN> row(new (std::nothrow) DIFPIN{});
    if (!row) {
        CMN_ErrorLine(800);
        return;
    }
    row->columns = read;
    if (read >= 1) CMN_CopyLimited(row->pin, lineItems.item(0), kPinNameLimit, "Diff_Pin column");
    if (read >= 2) {
        CMN_CopyLimited(row->inv_pin, lineItems.item(1), kPinNameLimit, "inv_pin column");
    }
    // The first missing item is reported (with the inv_pin when even the pin is missing).
    if (read < 1) {
        CMN_ErrorLine(802);
        CMN_ErrorLine(803);
    } else if (read < 2) {
        CMN_ErrorLine(803);
    } else if (row->pin == row->inv_pin) {
        CMN_ErrorLine(804);
    } else if (read < 3) {
        CMN_ErrorLine(805);
    } else if (read < 4) {
        CMN_ErrorLine(806);
    }

    struct Column {
        double& value;
        int& state;
    };
    Column columns[4] = {{row->vdiff, row->vdiff_state},
                         {row->tdelay_typ, row->tdelay_typ_state},
                         {row->tdelay_min, row->tdelay_min_state},
                         {row->tdelay_max, row->tdelay_max_state}};
    for (int i = 0; i < 4 && i + 2 < read; ++i) {
        ReadValue(lineItems.item(i + 2), kHeaders[i + 1], columns[i].value, columns[i].state);
    }
    ReplaceNA(*row);
    if (TypOutsideMinMax(*row)) CMN_WarningLine(807);

    if (read != 4 && read != 6) {
        CMN_ErrorLine(808);
    } else if (read == 6 && table.headerColumns == 4) {
        CMN_ErrorLine(809);
    }

    DIFPIN* added = table.rows.Append(std::move(row));
    ++table.rowCount;
    if (!added->pin.empty()) table.pins.insert(added->pin);
    if (!added->inv_pin.empty()) table.pins.insert(added->inv_pin);
}

void DIFPIN_CheckAll(CMPNT& component, IBIS&) {
    for (const DIFPIN* row = component.diff_pins.rows.First(); row != nullptr;
         row = row->next.get()) {
        if (PIN_Find(component, row->pin) == nullptr) CMN_Error(810, component.name, row->pin);
        if (PIN_Find(component, row->inv_pin) == nullptr) {
            CMN_Error(811, component.name, row->inv_pin);
        }
    }
    CheckPairs(component);
}

bool DIFPIN_HasPin(const CMPNT& component, std::string_view pin) {
    return component.diff_pins.pins.count(pin) != 0;
}

bool CMPNT_DiffPinUses(IBIS& ibis, MDL& model, const char** pin) {
    diffPinUses.Refresh(ibis);
    auto found = diffPinUses.firstPin.find(model.name);
    if (found == diffPinUses.firstPin.end()) return false;
    model.differential = true;
    if (pin != nullptr) *pin = found->second.c_str();
    return true;
}
