#include "IbisParser/mdlemi.h"

#include <new>
#include <string_view>

#include "IbisParser/cmn.h"
#include "IbisParser/parse.h"

namespace {

constexpr const char* kModule = "mdlemi";

struct Value {
    const char* name;
    int code;
};
constexpr Value kTypes[] = {{"Ferrite", MDLEMI_FERRITE}, {"Not_a_ferrite", MDLEMI_NOT_A_FERRITE}};
constexpr Value kDomains[] = {{"Analog", MDLEMI_ANALOG}, {"Digital", MDLEMI_DIGITAL}};

// A sub-parameter, the field it sets and the values it takes.
struct SubParameter {
    const char* name;
    int MDLEMI::*field;
    const Value* values;
    int valueCount;
};
constexpr SubParameter kSubParameters[] = {
    {"Model_emi_type", &MDLEMI::model_emi_type, kTypes, 2},
    {"Domain", &MDLEMI::domain, kDomains, 2},
};

// Reused for every line, so that splitting allocates nothing once warmed up.
CMN_LINE_ITEMS items;

// "name value": the value must be one of the sub-parameter's names, spelled exactly.
void ValueLine(const char* text, MDLEMI& record, const SubParameter& sub) {
    int& field = record.*(sub.field);
    if (field != 0) {
        CMN_ErrorLine(4805, sub.name);
        field = 0;
    }
    CMN_SplitWords(text, 2, &items);
    if (items.count == 1) {
        CMN_ErrorLine(4806, sub.name);
        return;
    }
    if (items.count != 2) {
        CMN_ErrorLine(4801, items.count, sub.name, 2);
        return;
    }
    const char* value = items.item(1);
    const Value* values = sub.values;
    for (int i = 0; i < sub.valueCount; ++i) {
        if (std::string_view(value) == values[i].name) {
            field = values[i].code;
            return;
        }
    }
    for (int i = 0; i < sub.valueCount; ++i) {
        if (CMN_StrEqualNoCase(value, values[i].name)) {
            CMN_ErrorLine(4807, sub.name, value, values[i].name);
            return;
        }
    }
    CMN_ErrorLine(4808, sub.name, value);
}

}  // namespace

void MDLEMI_Keyword(const char* text, std::unique_ptr<MDLEMI>& record) {
    if (record) CMN_ErrorLine(4800);
    record.reset(new (std::nothrow) MDLEMI{});
    if (!record) {
        CMN_Bug(4804, kModule, __LINE__);
        return;
    }
    record->line = PARSE_GetLineNumber();
    const char* rest = text;
    CMN_SkipPastBracket(&rest);
    CMN_SplitWords(rest, 1, &items);
    if (items.count > 0) CMN_ErrorLine(4801, items.count + 1, "EMI Model", 1);
}

void MDLEMI_Line(const char* text, MDLEMI& record) {
    CMN_SplitWords(text, 1, &items);
    if (items.stored == 0) return;
    const std::string_view first = items.items[0];
    for (const SubParameter& sub : kSubParameters) {
        if (first == sub.name) {
            ValueLine(text, record, sub);
            return;
        }
    }
    // Other lines of the block (its other sub-parameters) are left alone.
}
