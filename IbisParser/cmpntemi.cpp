#include "IbisParser/cmpntemi.h"

#include <cstring>
#include <new>

#include "IbisParser/cmn.h"
#include "IbisParser/cmpnt.h"
#include "IbisParser/ibis.h"
#include "IbisParser/parse.h"

namespace {

constexpr const char* kModule = "cmpntemi";
constexpr unsigned kDomainNameLimit = 20;
constexpr std::size_t kPercentageLimit = 5;

struct EmiState {
    CMPNTEMI* open = nullptr;  // the open block, none outside one
    int keyword = NOT_KEY;     // the EMI keyword most recently seen
};
EmiState state;

// Reused for every line, so that splitting allocates nothing once warmed up.
CMN_LINE_ITEMS items;

enum SubParameterCode : int { SUB_DOMAIN = 1, SUB_CPD, SUB_C_HEATSINK_GND, SUB_C_HEATSINK_FLOAT };
struct SubParameter {
    const char* name;
    int code;
};
constexpr SubParameter kSubParameters[] = {{"Domain", SUB_DOMAIN},
                                           {"Cpd", SUB_CPD},
                                           {"C_Heatsink_gnd", SUB_C_HEATSINK_GND},
                                           {"C_Heatsink_float", SUB_C_HEATSINK_FLOAT}};
struct DomainValue {
    const char* name;
    int code;
};
constexpr DomainValue kDomains[] = {{"Analog", CMPNTEMI_ANALOG},
                                    {"Digital", CMPNTEMI_DIGITAL},
                                    {"Digital_Analog", CMPNTEMI_DIGITAL_ANALOG}};

bool IsEmpty(const CMPNTEMI& block) {
    return block.domain == CMPNTEMI_DOMAIN_NONE && !block.cpd && !block.c_heatsink_gnd &&
           !block.c_heatsink_float && block.pin_emi.rows.Empty() && !block.pin_domains;
}

// Reports any text after a keyword that takes none.
void NothingAfterKeyword(const char* text) {
    const char* rest = text;
    rest = CMN_SkipSpace(rest);
    if (*rest != '\0') CMN_ErrorLine(4704, rest);
}

void BeginKeyword(const char* text, std::unique_ptr<CMPNTEMI>& record) {
    if (record) {
        CMN_ErrorLine(4703);
        state.open = nullptr;
        record.reset();
    }
    record.reset(new (std::nothrow) CMPNTEMI{});
    if (!record) {
        CMN_ErrorLine(4713);
        return;
    }
    state.open = record.get();
    NothingAfterKeyword(text);
}

// "Domain value"; a repeated line replaces the value read before.
void DomainLine(CMPNTEMI& block, const char* text) {
    if (block.domain != CMPNTEMI_DOMAIN_NONE) {
        CMN_ErrorLine(4701, "Domain");
        block.domain = CMPNTEMI_DOMAIN_NONE;
    }
    CMN_SplitWords(text, 2, &items);
    if (items.count == 1) {
        CMN_ErrorLine(4718, "Domain");
        return;
    }
    if (items.count != 2) {
        CMN_ErrorLine(4719, items.count, "Domain", 2);
        return;
    }
    const char* value = items.item(1);
    for (const DomainValue& row : kDomains) {
        if (std::strcmp(value, row.name) == 0) {
            block.domain = row.code;
            return;
        }
    }
    for (const DomainValue& row : kDomains) {
        if (CMN_StrEqualNoCase(value, row.name)) {
            CMN_ErrorLine(4720, "Domain", value, row.name);
            return;
        }
    }
    CMN_ErrorLine(4721, "Domain", value);
}

// "name = value"; a repeated line is ignored and the first value stays. The field counts as
// given from the first line on, even when that line cannot be read.
void ValueLine(CMPNTEMI& block, int code, const char* label, const char* text) {
    if (code == SUB_C_HEATSINK_GND && block.c_heatsink_float) CMN_ErrorLine(4714);
    if (code == SUB_C_HEATSINK_FLOAT && block.c_heatsink_gnd) CMN_ErrorLine(4715);
    std::optional<double>& field = code == SUB_CPD              ? block.cpd
                                   : code == SUB_C_HEATSINK_GND ? block.c_heatsink_gnd
                                                                : block.c_heatsink_float;
    if (field) {
        CMN_ErrorLine(4701, label);
        return;
    }
    field = 0.0;
    CMN_ReadNameValue(text, label, {4723, 4719, 4721}, items, &*field);
}

void SubParameterLine(CMPNTEMI& block, const char* text) {
    CMN_SplitWords(text, 1, &items);
    const SubParameter* found = nullptr;
    if (const char* first = items.item(0)) {
        for (const SubParameter& sub : kSubParameters) {
            if (std::strcmp(first, sub.name) == 0) found = &sub;
        }
    }
    if (found == nullptr) {
        CMN_ErrorLine(4716);
        return;
    }
    switch (found->code) {
    case SUB_DOMAIN: DomainLine(block, text); break;
    case SUB_CPD:
    case SUB_C_HEATSINK_GND:
    case SUB_C_HEATSINK_FLOAT: ValueLine(block, found->code, found->name, text); break;
    default: CMN_BugLine(4717, kModule, __LINE__); break;
    }
}

// The column headers after [Pin EMI]: domain_name and clock_div (the pin column has none).
void PinEmiKeyword(CMPNTEMI& block, const char* text) {
    if (!block.pin_emi.rows.Empty()) {
        CMN_ErrorLine(4729);
        return;
    }
    const char* rest = text;
    rest = CMN_SkipSpace(rest);
    if (*rest == '\0') {
        CMN_ErrorLine(4730);
        return;
    }
    CMN_SplitWords(rest, 3, &items);
    if (!CMN_StrEqualNoCase(items.item(0), "domain_name")) CMN_ErrorLine(4731, "domain_name");
    const char* second = items.item(1);
    if (second == nullptr || !CMN_StrEqualNoCase(second, "clock_div")) {
        CMN_ErrorLine(4731, "clock_div");
    }
    if (const char* third = items.item(2)) CMN_ErrorLine(4704, third);
}

void PinEmiRow(CMPNTEMI& block, const char* text) {
    std::unique_ptr<PINEMI> row;
    if (PINEMI_ReadRow(text, row)) PINEMI_Append(block.pin_emi, std::move(row));
}

// [Pin Domain EMI] percentage: a new list, replacing one given before.
void PinDomainKeyword(CMPNTEMI& block, const char* text) {
    if (block.pin_domains) {
        CMN_ErrorLine(4724);
        block.pin_domains.reset();
    }
    block.pin_domains.reset(new (std::nothrow) EMIDOMAIN_LIST{});
    if (!block.pin_domains) {
        CMN_Bug(4722, kModule, __LINE__);
        return;
    }
    CMN_SplitWords(text, 1, &items);
    if (items.count == 0) {
        CMN_ErrorLine(4725);
    } else if (items.count > 1) {
        CMN_ErrorLine(4719, items.count + 1, "Pin Domain EMI", 2);
    } else if (std::strcmp(items.item(0), "percentage") != 0) {
        CMN_ErrorLine(4726, items.item(0));
    }
}

// "domain_name percentage"
void DomainRow(CMPNTEMI& block, const char* text) {
    CMN_SplitWords(text, 2, &items);
    if (items.count < 2) {
        CMN_ErrorLine(4719, items.count, "Pin Domain EMI", 2);
        return;
    }
    if (items.count > 2) CMN_ErrorLine(4719, items.count, "Pin Domain EMI", 2);
    if (!block.pin_domains) return;
    EMIDOMAIN_LIST& list = *block.pin_domains;
    const char* name = items.item(0);
    if (list.names.contains(name)) {
        CMN_ErrorLine(4727, name);
        return;
    }
    std::unique_ptr<EMIDOMAIN> domain(new (std::nothrow) EMIDOMAIN{});
    if (!domain) {
        CMN_Bug(4722, kModule, __LINE__);
        return;
    }
    CMN_CopyLimited(domain->domain_name, name, kDomainNameLimit, "domain_name");
    const char* percentage = items.item(1);
    if (std::strlen(percentage) > kPercentageLimit) {
        CMN_ErrorLine(4728, percentage, "Should be specified using at most 5 characters");
    }
    if (CMN_GetValue(percentage, &domain->percentage) == 0) {
        CMN_ErrorLine(4728, percentage, "Invalid Number");
        return;
    }
    if (domain->percentage <= 0.0 || domain->percentage > 100.0) {
        CMN_ErrorLine(4728, percentage, "Should be greater than 0 and less than equal to 100");
    }
    list.names.insert(list.rows.Append(std::move(domain))->domain_name);
}

void KeywordLine(int code, const char* text, std::unique_ptr<CMPNTEMI>& record) {
    state.keyword = code;
    switch (code) {
    case KW_BEGIN_EMI_COMPONENT: BeginKeyword(text, record); break;
    case KW_END_EMI_COMPONENT:
        NothingAfterKeyword(text);
        CMPNTEMI_End(code);
        break;
    case KW_PIN_EMI: PinEmiKeyword(*state.open, text); break;
    case KW_PIN_DOMAIN_EMI: PinDomainKeyword(*state.open, text); break;
    default: CMN_Bug(4707, kModule, __LINE__); break;
    }
}

void DataLine(const char* text) {
    CMPNTEMI& block = *state.open;
    switch (state.keyword) {
    case KW_BEGIN_EMI_COMPONENT: SubParameterLine(block, text); break;
    case KW_PIN_EMI: PinEmiRow(block, text); break;
    case KW_PIN_DOMAIN_EMI: DomainRow(block, text); break;
    case KW_END_EMI_COMPONENT: CMN_Bug(4708, kModule, __LINE__); break;
    default: CMN_Bug(4709, kModule, __LINE__); break;
    }
}

}  // namespace

void CMPNTEMI_Line(int lineKind, int code, const char* text, std::unique_ptr<CMPNTEMI>& record) {
    if (lineKind != LINE_KEYWORD && lineKind != LINE_DATA) {
        CMN_Bug(4710, kModule, __LINE__);
        return;
    }
    if (state.open == nullptr) {
        if (lineKind == LINE_DATA) {
            CMN_ErrorLine(4706);
            return;
        }
        if (code != KW_BEGIN_EMI_COMPONENT) {
            CMN_ErrorLine(4705);
            return;
        }
    }
    if (lineKind == LINE_KEYWORD) {
        KeywordLine(code, text, record);
    } else {
        DataLine(text);
    }
}

int CMPNTEMI_IsOpen() { return state.open != nullptr ? 1 : 0; }

void CMPNTEMI_End(int code) {
    if (code == KW_PIN_EMI || code == KW_PIN_DOMAIN_EMI) return;
    if (code != KW_END_EMI_COMPONENT) CMN_ErrorLine(4711);
    if (state.open != nullptr && IsEmpty(*state.open)) CMN_WarningLine(4712);
    state.open = nullptr;
}

void CMPNTEMI_Check(const CMPNT& component, const CMPNTEMI& record) {
    IBIS* ibis = nullptr;
    if (!IBIS_GetCurrent(&ibis)) {
        CMN_Bug(4907, kModule, __LINE__);
        return;
    }
    if (record.pin_domains) {
        std::unordered_set<std::string_view> used;
        for (const PINEMI* row = record.pin_emi.rows.First(); row; row = row->next.get()) {
            used.insert(row->domain_name);
        }
        for (const EMIDOMAIN* domain = record.pin_domains->rows.First(); domain;
             domain = domain->next.get()) {
            if (!used.contains(domain->domain_name)) {
                CMN_Error(4908, component.name, domain->domain_name);
            }
        }
    }
    for (const PINEMI* row = record.pin_emi.rows.First(); row; row = row->next.get()) {
        const auto found = component.pins.index.find(row->pin_name);
        if (found == component.pins.index.end()) {
            CMN_Error(4909, component.name, row->pin_name);
        } else if (!CMN_IsNotReserved(found->second->model_name.c_str())) {
            CMN_Error(4911, component.name, row->pin_name, found->second->model_name);
        }
    }
}

void CMPNTEMI_Reset() { state = EmiState{}; }
