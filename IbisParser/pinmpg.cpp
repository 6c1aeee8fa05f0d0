#include "IbisParser/pinmpg.h"

#include <new>
#include <unordered_set>
#include <vector>

#include "IbisParser/cmn.h"
#include "IbisParser/cmpnt.h"
#include "IbisParser/hdr.h"
#include "IbisParser/ibis.h"
#include "IbisParser/pin.h"

namespace {

constexpr const char* kLabel = "Pin_Mappings";  // the keyword as the header messages name it
constexpr unsigned kPinNameLimit = 5;
constexpr unsigned kBusLabelLimit = 15;
constexpr int kMaxColumns = 6;

constexpr const char* kHeaders[5] = {"pulldown_ref", "pullup_ref", "gnd_clamp_ref",
                                     "power_clamp_ref", "ext_ref"};

// Reused for every line, so that splitting a row allocates nothing once warmed up.
CMN_LINE_ITEMS lineItems;

bool LongForms() { return HDR_GetVersion() >= 4; }

bool IsNC(const std::string& label) { return CMN_StrEqualNoCase(label.c_str(), "NC") != 0; }
bool IsEmptyOrNC(const std::string& label) { return label.empty() || IsNC(label); }
bool IsConnected(const std::string& label) { return !IsEmptyOrNC(label); }

bool IsGnd(const PIN& pin) { return CMN_StrEqualNoCase(pin.model_name.c_str(), "GND") != 0; }
bool IsNCModel(const PIN& pin) { return CMN_StrEqualNoCase(pin.model_name.c_str(), "NC") != 0; }

// A [Pin Mapping] row with its pin, looked up once for all the checks.
struct RowPin {
    const PINMPG* row;
    const PIN* pin;   // nullptr: not in [Pin]
    bool powerOrGnd;  // the pin is a POWER or GND pin
};

// A pin of [Pin] with its row, looked up once for all the checks.
struct PinRow {
    const PIN* pin;
    const PINMPG* row;  // nullptr: the pin has no row
};

// The first row of each label whose pin is a POWER or GND pin: that row's pin.
using LabelMap = std::unordered_map<std::string_view, const PIN*>;

// A label's search over the rows of one column (or two): the first row in row order whose
// label matches and whose pin is a POWER or GND pin. Built once per component, so each row's
// search is one lookup. A searching row whose own pin is POWER or GND never searches, so the
// row a search finds is never the searching row itself: the map's answer is the search over
// the other rows.
struct LabelSearch {
    LabelMap pulldown;
    LabelMap pullup;
    LabelMap either;  // pullup_ref or pulldown_ref, for ext_ref

    explicit LabelSearch(const std::vector<RowPin>& rows) {
        for (const RowPin& entry : rows) {
            if (!entry.powerOrGnd) continue;
            const PINMPG& row = *entry.row;
            if (!row.pulldown_ref.empty()) {
                pulldown.try_emplace(row.pulldown_ref, entry.pin);
                either.try_emplace(row.pulldown_ref, entry.pin);
            }
            if (!row.pullup_ref.empty()) {
                pullup.try_emplace(row.pullup_ref, entry.pin);
                either.try_emplace(row.pullup_ref, entry.pin);
            }
        }
    }

    static const PIN* Find(const LabelMap& map, const std::string& label) {
        auto found = map.find(label);
        return found == map.end() ? nullptr : found->second;
    }
};

void CheckPowerPins(const CMPNT& component, const std::vector<PinRow>& pins, bool longForms) {
    for (const PinRow& entry : pins) {
        const PINMPG* row = entry.row;
        if (row == nullptr || !PIN_IsPower(*entry.pin)) continue;
        const bool onlyPullup = IsEmptyOrNC(row->pulldown_ref) && IsEmptyOrNC(row->gnd_clamp_ref) &&
                                IsEmptyOrNC(row->power_clamp_ref) && IsConnected(row->pullup_ref);
        if (onlyPullup) continue;
        if (longForms) {
            CMN_Warning(709, component.name, entry.pin->pin);
        } else {
            CMN_Warning(710, entry.pin->pin);
        }
    }
}

void CheckGndPins(const CMPNT& component, const std::vector<PinRow>& pins, bool longForms) {
    for (const PinRow& entry : pins) {
        const PINMPG* row = entry.row;
        if (row == nullptr || !IsGnd(*entry.pin)) continue;
        const bool onlyPulldown = IsEmptyOrNC(row->pullup_ref) && IsEmptyOrNC(row->gnd_clamp_ref) &&
                                  IsEmptyOrNC(row->power_clamp_ref) &&
                                  IsConnected(row->pulldown_ref);
        if (onlyPulldown) continue;
        if (longForms) {
            CMN_Warning(711, component.name, entry.pin->pin);
        } else {
            CMN_Warning(712, entry.pin->pin);
        }
    }
}

void CheckNCPins(const CMPNT& component, const std::vector<PinRow>& pins, bool longForms) {
    for (const PinRow& entry : pins) {
        const PINMPG* row = entry.row;
        if (row == nullptr || !IsNCModel(*entry.pin)) continue;
        const bool unconnected = IsEmptyOrNC(row->pulldown_ref) && IsEmptyOrNC(row->pullup_ref) &&
                                 IsEmptyOrNC(row->gnd_clamp_ref) &&
                                 IsEmptyOrNC(row->power_clamp_ref) && IsEmptyOrNC(row->ext_ref);
        if (unconnected) continue;
        if (longForms) {
            CMN_Warning(713, component.name, entry.pin->pin);
        } else {
            CMN_Warning(714, entry.pin->pin);
        }
    }
}

void CheckPulldownRefs(const CMPNT& component, const std::vector<RowPin>& rows,
                       const LabelSearch& search, bool longForms) {
    // Every pullup_ref label of the table, for the pulldown-also-pullup warning.
    std::unordered_set<std::string_view> pullups;
    for (const RowPin& entry : rows) {
        if (!entry.row->pullup_ref.empty()) pullups.insert(entry.row->pullup_ref);
    }
    for (const RowPin& entry : rows) {
        const std::string& label = entry.row->pulldown_ref;
        if (IsEmptyOrNC(label)) continue;
        if (entry.powerOrGnd) {
            if (pullups.count(label) != 0) {
                if (longForms) {
                    CMN_Warning(718, component.name, label);
                } else {
                    CMN_Warning(719, label);
                }
            }
            continue;
        }
        const PIN* found = LabelSearch::Find(search.pulldown, label);
        if (found == nullptr) {
            CMN_Error(716, component.name, label);
        } else if (!IsGnd(*found)) {
            CMN_Warning(717, component.name, label);
        }
    }
}

// Steps of the same shape: the label of one column searched in the map of another, reporting
// an unconnected label as an error and a label that reaches the wrong kind of pin as a warning.
struct RefStep {
    std::string PINMPG::*column;
    const LabelMap LabelSearch::*map;
    bool expectGnd;  // the usual connection: GND, else POWER
    int unconnectedCode;
    int unusualCode;
};

void CheckRefs(const CMPNT& component, const std::vector<RowPin>& rows, const LabelSearch& search,
               const RefStep& step) {
    for (const RowPin& entry : rows) {
        const std::string& label = entry.row->*step.column;
        if (IsEmptyOrNC(label) || entry.powerOrGnd) continue;
        const PIN* found = LabelSearch::Find(search.*step.map, label);
        if (found == nullptr) {
            CMN_Error(CMN_RuntimeCode(step.unconnectedCode), component.name, label);
        } else if (step.expectGnd ? !IsGnd(*found) : !PIN_IsPower(*found)) {
            CMN_Warning(CMN_RuntimeCode(step.unusualCode), component.name, label);
        }
    }
}

}  // namespace

void PINMPG_Header(CMPNT& component, const char* text) {
    PINMPG_TABLE& table = component.pin_mappings;
    if (table.headerRead) {
        CMN_ErrorLine(525);
        return;
    }
    table.headerRead = true;
    CMN_SplitWords(text, kMaxColumns, &lineItems);
    if (lineItems.count == 0) CMN_ErrorLine(528, kLabel);
    for (int place = 0; place < lineItems.stored; ++place) {
        const char* item = lineItems.item(place);
        if (place >= 5 || !CMN_StrEqualNoCase(item, kHeaders[place]))
            CMPNT_ReportHeader(lineItems, place, kHeaders, 2);
    }
    if (lineItems.count == 1) CMN_ErrorLine(529, kHeaders[1]);
    const int columns = 1 + lineItems.count;
    table.headerColumns = columns;
    if (LongForms()) {
        if (columns != 3 && columns != 5 && columns != 6) {
            CMN_ErrorLine(526, kLabel, 3, 5, 6, columns);
        }
    } else if (columns != 3 && columns != 5) {
        CMN_ErrorLine(532, kLabel, 3, 5, columns);
    }
}

void PINMPG_Line(CMPNT& component, const char* text) {
    PINMPG_TABLE& table = component.pin_mappings;
    CMN_SplitWords(text, kMaxColumns, &lineItems);
    if (lineItems.count > kMaxColumns) CMN_ErrorLine(700);
    const int read = lineItems.stored;
    if (read < 1) {
        CMN_ErrorLine(701);
        CMN_ErrorLine(702);
    } else if (read < 2) {
        CMN_ErrorLine(702);
    } else if (read < 3) {
        CMN_ErrorLine(703);
    }
    std::unique_ptr<PINMPG> row(new (std::nothrow) PINMPG{});
    if (!row) {
        CMN_ErrorLine(728);
        return;
    }
    row->columns = read;
    if (read >= 1) CMN_CopyLimited(row->pin, lineItems.item(0), kPinNameLimit, "Pin");
    std::string* labels[5] = {&row->pulldown_ref, &row->pullup_ref, &row->gnd_clamp_ref,
                              &row->power_clamp_ref, &row->ext_ref};
    for (int i = 0; i < 5 && i + 1 < read; ++i) {
        const char* item = lineItems.item(i + 1);
        CMN_CopyLimited(*labels[i], item, kBusLabelLimit, kHeaders[i]);
        if (CMN_StrEqualNoCase(item, "NA")) CMN_ErrorLine(729, item);
    }

    const bool longForms = LongForms();
    if (longForms) {
        if (read != 3 && read != 5 && read != 6) CMN_ErrorLine(704);
    } else if (read != 3 && read != 5) {
        CMN_ErrorLine(705);
    }
    if (read == 5 && table.headerColumns == 3) {
        CMN_ErrorLine(706);
    } else if (longForms && read == 6 && table.headerColumns != 6) {
        CMN_ErrorLine(707);
    }

    PINMPG* added = table.rows.Append(std::move(row));
    if (!table.index.try_emplace(added->pin, added).second) CMN_ErrorLine(708);
}

void PINMPG_CheckAll(CMPNT& component, IBIS&) {
    const bool longForms = LongForms();
    std::vector<PinRow> pins;
    for (const PIN* pin = component.pins.rows.First(); pin != nullptr; pin = pin->next.get()) {
        pins.push_back({pin, PINMPG_Find(component, pin->pin)});
    }
    std::vector<RowPin> rows;
    for (const PINMPG* row = component.pin_mappings.rows.First(); row != nullptr;
         row = row->next.get()) {
        const PIN* pin = PIN_Find(component, row->pin);
        rows.push_back({row, pin, pin != nullptr && PIN_IsPowerOrGnd(*pin)});
    }

    CheckPowerPins(component, pins, longForms);
    CheckGndPins(component, pins, longForms);
    CheckNCPins(component, pins, longForms);
    for (const RowPin& entry : rows) {
        if (entry.pin == nullptr) CMN_Error(715, component.name, entry.row->pin);
    }

    const LabelSearch search(rows);
    CheckPulldownRefs(component, rows, search, longForms);
    CheckRefs(component, rows, search,
              {&PINMPG::pullup_ref, &LabelSearch::pullup, false, 720, 721});
    CheckRefs(component, rows, search,
              {&PINMPG::gnd_clamp_ref, &LabelSearch::pulldown, true, 722, 723});
    CheckRefs(component, rows, search,
              {&PINMPG::power_clamp_ref, &LabelSearch::pullup, false, 724, 725});
    if (longForms) {
        CheckRefs(component, rows, search,
                  {&PINMPG::ext_ref, &LabelSearch::either, false, 726, 727});
    }
}

const PINMPG* PINMPG_Find(const CMPNT& component, std::string_view pin) {
    auto found = component.pin_mappings.index.find(pin);
    return found == component.pin_mappings.index.end() ? nullptr : found->second;
}
