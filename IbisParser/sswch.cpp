// [Series Switch Groups]: groups that start with "On" or "Off" and list names until "/", over as
// many lines as they need, and the after-file check for names no series pin mapping uses.
#include "IbisParser/sswch.h"

#include <cctype>
#include <new>
#include <string>
#include <string_view>
#include <unordered_set>

#include "IbisParser/cmn.h"
#include "IbisParser/cmpnt.h"
#include "IbisParser/ibis.h"
#include "IbisParser/parse.h"

namespace {

constexpr std::size_t kGroupNameLimit = 20;

// The group still waiting for its "/", its component, and the names it holds so far (for the
// repeat check).
SSWCH* openGroup = nullptr;
const CMPNT* openComponent = nullptr;
std::unordered_set<std::string> openGroupNames;

void CloseGroup() {
    openGroup = nullptr;
    openComponent = nullptr;
    openGroupNames.clear();
}

// The next item of a group line: a run of characters up to white space or "/", or a "/" alone.
std::string_view NextItem(const char*& position) {
    position = CMN_SkipSpace(position);
    const char* start = position;
    if (*position == '/') {
        ++position;
    } else {
        while (*position != '\0' && *position != '/' &&
               !std::isspace(static_cast<unsigned char>(*position))) {
            ++position;
        }
    }
    return std::string_view(start, static_cast<std::size_t>(position - start));
}

void AddName(SSWCH& group, std::string_view written) {
    std::string name(written.substr(0, kGroupNameLimit));
    if (written.size() > kGroupNameLimit) {
        CMN_ErrorLine(2504, written, static_cast<int>(kGroupNameLimit));
    }
    if (name == "On" || name == "Off") CMN_ErrorLine(2505);
    if (!openGroupNames.insert(name).second) CMN_ErrorLine(2506, name);
    CMN_CheckReserved(name.c_str());
    group.names.push_back(std::move(name));
}

// Names from position on, into the open group, until "/" closes it or the line ends.
void ReadNames(const char* position) {
    for (std::string_view item = NextItem(position); !item.empty(); item = NextItem(position)) {
        if (item == "/") {
            CloseGroup();
            PARSE_SetUnterminated(false);
            return;
        }
        AddName(*openGroup, item);
    }
    PARSE_SetUnterminated(true);
}

}  // namespace

void SSWCH_Header(CMPNT& component, const char* text) {
    SSWCH_TABLE& table = component.series_switch_groups;
    CloseGroup();
    if (table.keywordSeen) CMN_ErrorLine(546);
    table.keywordSeen = true;
    int items = 0;
    const char* position = CMN_SkipSpace(text);
    while (*position != '\0') {
        ++items;
        position = CMN_SkipSpace(CMN_SkipToSpace(position));
    }
    if (items > 0) CMN_ErrorLine(539, items + 1, "Series_Switch_Groups", 1);
}

void SSWCH_Line(CMPNT& component, const char* text) {
    if (openGroup != nullptr && openComponent != &component) CloseGroup();
    if (openGroup != nullptr) {
        ReadNames(text);
        return;
    }
    const char* position = text;
    const std::string_view state = NextItem(position);
    if (state != "On" && state != "Off") {
        CMN_ErrorLine(2500, state);
        return;
    }
    std::unique_ptr<SSWCH> group(new (std::nothrow) SSWCH{});
    if (!group) {
        CMN_ErrorLine(2508);
        CMN_ErrorLine(2501);
        return;
    }
    group->state = state;
    SSWCH* added = component.series_switch_groups.groups.Append(std::move(group));
    if (*CMN_SkipSpace(position) == '\0') {
        CMN_ErrorLine(2502);
        return;
    }
    openGroup = added;
    openComponent = &component;
    ReadNames(position);
}

void SSWCH_CheckAll(CMPNT& component, IBIS&) {
    std::unordered_set<std::string_view> used;
    for (const Series_Pin_Mapping* row = component.series_pin_mappings.rows.First(); row != nullptr;
         row = row->next.get()) {
        if (!row->function_table_group.empty()) used.insert(row->function_table_group);
    }
    for (const SSWCH* group = component.series_switch_groups.groups.First(); group != nullptr;
         group = group->next.get()) {
        for (const std::string& name : group->names) {
            if (!used.contains(name)) CMN_Warning(2507, component.name, name);
        }
    }
}

void SSWCH_Reset() { CloseGroup(); }
