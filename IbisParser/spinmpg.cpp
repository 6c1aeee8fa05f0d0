// [Series Pin Mapping]: the column header, one Series_Pin_Mapping per row, and the after-file
// checks of the rows against the pins, the models or selectors and the switch groups.
#include "IbisParser/spinmpg.h"

#include <algorithm>
#include <new>
#include <string_view>
#include <unordered_set>

#include "IbisParser/cmn.h"
#include "IbisParser/cmpnt.h"
#include "IbisParser/hdr.h"
#include "IbisParser/ibis.h"
#include "IbisParser/mdl.h"
#include "IbisParser/msel.h"
#include "IbisParser/pin.h"

namespace {

constexpr const char* kLabel = "Series_Pin_Mappings";  // the keyword as header messages name it
constexpr unsigned kPinNameLimit = 5;
constexpr unsigned kGroupNameLimit = 20;
constexpr int kMaxColumns = 4;
constexpr int kHeaderCount = 3;
constexpr int kRequiredHeaders = 2;

constexpr const char* kHeaders[kHeaderCount] = {"pin_2", "model_name", "function_table_group"};

// Reused for every line, so that splitting a row allocates nothing once warmed up.
CMN_LINE_ITEMS lineItems;

unsigned ModelNameLimit() { return HDR_GetVersion() >= 4 ? 40 : 20; }

// Group names of the component's [Series Switch Groups].
std::unordered_set<std::string_view> GroupNames(const CMPNT& component) {
    std::unordered_set<std::string_view> names;
    for (const SSWCH* group = component.series_switch_groups.groups.First(); group != nullptr;
         group = group->next.get()) {
        for (const std::string& name : group->names) names.insert(name);
    }
    return names;
}

// The type checks of one model that a row uses, directly (selector null) or as a model listed
// by the selector the row names; each finding takes the selector form for a listed model.
void CheckModelType(const CMPNT& component, const Series_Pin_Mapping& row, const MDL& model,
                    const MSEL* selector, const std::unordered_set<std::string_view>& groupNames) {
    const std::string& group = row.function_table_group;
    const bool hasGroup = !group.empty();
    const std::string& name = model.name;
    const int type = MDL_TypeCode(&model);
    if (type == MDL_TYPE_NONE || type == MDL_TYPE_INVALID) {
        if (selector) {
            CMN_Error(2630, component.name, selector->name, name);
        } else {
            CMN_Error(2631, component.name, name);
        }
    } else if (type != MDL_SERIES && type != MDL_SERIES_SWITCH) {
        if (hasGroup) {
            if (selector) {
                CMN_Error(2620, component.name, selector->name, name);
            } else {
                CMN_Error(2621, component.name, name);
            }
        } else if (selector) {
            CMN_Error(2622, component.name, selector->name, name);
        } else {
            CMN_Error(2623, component.name, name);
        }
    } else if (type == MDL_SERIES) {
        if (!hasGroup) return;
        if (selector) {
            CMN_Warning(2624, component.name, selector->name, name, group);
        } else {
            CMN_Warning(2625, component.name, name, group);
        }
    } else if (!hasGroup) {
        if (selector) {
            CMN_Error(2626, component.name, selector->name, name);
        } else {
            CMN_Error(2627, component.name, name);
        }
    } else if (!groupNames.contains(group)) {
        if (selector) {
            CMN_Error(2628, component.name, selector->name, name, group);
        } else {
            CMN_Error(2629, component.name, name, group);
        }
    }
}

// The one [Model] of that name, or nullptr when there is none or more than one.
MDL* UniqueModel(IBIS& ibis, const std::string& name) {
    int count = 0;
    MDL* model = MDL_Find(ibis.models.get(), name.c_str(), &count);
    return count == 1 ? model : nullptr;
}

void CheckModel(const CMPNT& component, const Series_Pin_Mapping& row, IBIS& ibis,
                const std::unordered_set<std::string_view>& groupNames) {
    if (const MDL* model = UniqueModel(ibis, row.model_name)) {
        CheckModelType(component, row, *model, nullptr, groupNames);
        return;
    }
    const MSEL* selector = MSEL_Find(row.model_name.c_str(), ibis.modelSelectors.get());
    if (selector == nullptr) {
        CMN_Error(2617, component.name, row.model_name);
        return;
    }
    // A listed model that is not defined is the selector's own finding.
    for (const MSEL_MODEL* listed = selector->models.get(); listed != nullptr;
         listed = listed->next.get()) {
        if (const MDL* model = UniqueModel(ibis, listed->name)) {
            CheckModelType(component, row, *model, selector, groupNames);
        }
    }
}

}  // namespace

void SPINMPG_Header(CMPNT& component, const char* text) {
    SPINMPG_TABLE& table = component.series_pin_mappings;
    if (table.headerRead) {
        CMN_ErrorLine(542);
        table.rows.Clear();
    }
    table.headerRead = true;
    CMN_SplitWords(text, kMaxColumns, &lineItems);
    if (lineItems.count == 0) {
        CMN_ErrorLine(528, kLabel);
    } else {
        for (int place = 0; place < lineItems.count; ++place) {
            const char* item = lineItems.item(place);
            if (item == nullptr || place >= kHeaderCount) {
                CMN_ErrorLine(543);
            } else if (!CMN_StrEqualNoCase(item, kHeaders[place])) {
                CMPNT_ReportHeader(lineItems, place, kHeaders, kRequiredHeaders);
            }
        }
        for (int place = lineItems.count; place < kRequiredHeaders; ++place) {
            CMN_ErrorLine(529, kHeaders[place]);
        }
    }
    const int columns = 1 + lineItems.count;
    table.headerColumns = columns;
    if (columns != 3 && columns != 4) CMN_ErrorLine(532, kLabel, 3, 4, columns);
}

void SPINMPG_Line(CMPNT& component, const char* text) {
    SPINMPG_TABLE& table = component.series_pin_mappings;
    CMN_SplitWords(text, kMaxColumns, &lineItems);
    if (lineItems.count > kMaxColumns) CMN_ErrorLine(2600);
    const int read = lineItems.stored;
    if (read < 1) {
        CMN_ErrorLine(2601);
        CMN_ErrorLine(2602);
    } else if (read < 2) {
        CMN_ErrorLine(2602);
    } else if (read < 3) {
        CMN_ErrorLine(2603);
    }

    std::unique_ptr<Series_Pin_Mapping> row(new (std::nothrow) Series_Pin_Mapping{});
    if (!row) {
        CMN_ErrorLine(2619);
        return;
    }
    row->columns = read;
    if (read >= 1) CMN_CopyLimited(row->pin_1, lineItems.item(0), kPinNameLimit, "Pin1");
    if (read >= 2) CMN_CopyLimited(row->pin_2, lineItems.item(1), kPinNameLimit, "Pin2");
    if (read >= 3) {
        CMN_CopyLimited(row->model_name, lineItems.item(2), ModelNameLimit(), "Model");
        CMN_CheckReserved(lineItems.item(2));
    }
    if (read >= 4) {
        CMN_CopyLimited(row->function_table_group, lineItems.item(3), kGroupNameLimit,
                        "Function group Name");
        CMN_CheckReserved(lineItems.item(3));
    }

    if (read != 3 && read != 4) {
        CMN_ErrorLine(2604);
    } else if (read == 4 && table.headerColumns == 3) {
        CMN_ErrorLine(2605);
    }
    table.rows.Append(std::move(row));
}

void SPINMPG_CheckAll(CMPNT& component, IBIS& ibis) {
    const SPINMPG_TABLE& table = component.series_pin_mappings;
    if (component.pins.rows.Empty()) {
        CMN_Error(2618, component.name);
        return;
    }
    const std::unordered_set<std::string_view> groupNames = GroupNames(component);
    for (const Series_Pin_Mapping* row = table.rows.First(); row != nullptr;
         row = row->next.get()) {
        if (PIN_Find(component, row->pin_1) == nullptr) {
            CMN_Error(2607, component.name, row->pin_1);
        }
        if (PIN_Find(component, row->pin_2) == nullptr) {
            CMN_Error(2611, component.name, row->pin_2);
        }
        CheckModel(component, *row, ibis, groupNames);
    }
}
