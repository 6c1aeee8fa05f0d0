#include "IbisParser/pkg.h"

#include <cctype>
#include <new>

#include "IbisParser/cmn.h"
#include "IbisParser/cmpnt.h"

namespace {

constexpr int kPackageColumns = 4;

CMN_LINE_ITEMS items;

enum PackageValue : int { PKG_R, PKG_L, PKG_C, PKG_VALUE_COUNT };

struct PackageValueRule {
    const char* name;
    std::unique_ptr<RNG> PKG::*triple;
};
constexpr PackageValueRule kValues[PKG_VALUE_COUNT] = {
    {"R_pkg", &PKG::R_pkg},
    {"L_pkg", &PKG::L_pkg},
    {"C_pkg", &PKG::C_pkg},
};

int FindValue(const char* name) {
    for (int value = 0; value < PKG_VALUE_COUNT; ++value) {
        if (CMN_StrEqualNoCase(name, kValues[value].name)) return value;
    }
    return -1;
}

void ReportDuplicate(int value) {
    switch (value) {
    case PKG_R: CMN_ErrorLine(1203); break;
    case PKG_L: CMN_ErrorLine(1204); break;
    default: CMN_ErrorLine(1205); break;
    }
}

void ReportMissing(int value, const std::string& component) {
    switch (value) {
    case PKG_R: CMN_Error(1213, component); break;
    case PKG_L: CMN_Error(1215, component); break;
    default: CMN_Error(1217, component); break;
    }
}

// The bounds of each value and the factor that turns it into the unit the message shows.
struct RangeRule {
    double lowest;
    double highest;
    double shownAs;
};
constexpr RangeRule kRanges[PKG_VALUE_COUNT] = {
    {0.0, 50.0, 1.0},   // ohms
    {0.0, 1e-6, 1e9},   // henries, shown in nH
    {0.0, 1e-9, 1e12},  // farads, shown in pF
};

// A value written at a bound in the unit of the message ("1000n" henries) may come out one
// rounding step past the bound; such a value is at the bound.
bool OutsideRange(double value, const RangeRule& rule) {
    const double shown = value * rule.shownAs;
    return shown < rule.lowest * rule.shownAs || shown > rule.highest * rule.shownAs * (1 + 1e-12);
}

void ReportRange(int value, const std::string& component, const char* column, double shown,
                 const RangeRule& rule) {
    const double lowest = rule.lowest * rule.shownAs;
    const double highest = rule.highest * rule.shownAs;
    switch (value) {
    case PKG_R: CMN_Warning(1710, component, column, shown, lowest, highest); break;
    case PKG_L: CMN_Warning(1712, component, column, shown, lowest, highest); break;
    default: CMN_Warning(1714, component, column, shown, lowest, highest); break;
    }
}

void ReportMaxBelowMin(int value, const std::string& component) {
    switch (value) {
    case PKG_R: CMN_Warning(1711, component); break;
    case PKG_L: CMN_Warning(1713, component); break;
    default: CMN_Warning(1715, component); break;
    }
}

void CheckRange(int value, const std::string& component, const RNG& triple) {
    const RangeRule& rule = kRanges[value];
    const double values[3] = {triple.typ, triple.min, triple.max};
    const int states[3] = {triple.typState, triple.minState, triple.maxState};
    constexpr const char* kColumns[3] = {"TYP", "MIN", "MAX"};
    for (int column = 0; column < 3; ++column) {
        if (states[column] != RNG_NUMBER || !OutsideRange(values[column], rule)) continue;
        ReportRange(value, component, kColumns[column], values[column] * rule.shownAs, rule);
    }
    if (triple.minState == RNG_NUMBER && triple.maxState == RNG_NUMBER && triple.min > triple.max) {
        ReportMaxBelowMin(value, component);
    }
}

}  // namespace

void PKG_Keyword(CMPNT& component, const char* text) {
    if (component.package) {
        CMN_ErrorLine(517);
        return;
    }
    if (*CMN_SkipSpace(text) != '\0') CMN_ErrorLine(518);
    component.package.reset(new (std::nothrow) PKG());
    if (!component.package) {
        CMN_ErrorLine(1200);
        CMN_ErrorLine(533, "Package");
    }
}

void PKG_Line(CMPNT& component, const char* text) {
    // A [Package] that could not be made has been reported; its lines have nowhere to go.
    PKG* package = component.package.get();
    if (package == nullptr) return;
    if (std::isspace(static_cast<unsigned char>(*text))) CMN_ErrorLine(1201);
    CMN_SplitWords(text, 1, &items);
    if (items.count != kPackageColumns) {
        CMN_ErrorLine(1202, kPackageColumns, items.count);
        return;
    }
    const char* name = items.item(0);
    const int value = FindValue(name);
    if (value < 0) {
        CMN_ErrorLine(1206);
        return;
    }
    std::unique_ptr<RNG>& stored = package->*(kValues[value].triple);
    if (stored) {
        ReportDuplicate(value);
        return;
    }
    const char* columns = CMN_SkipToSpace(CMN_SkipSpace(text));
    std::unique_ptr<RNG> triple;
    if (!RNG_Parse(columns, name, triple) || !triple) {
        CMN_ErrorLine(1207, name);
        return;
    }
    stored = std::move(triple);
    if (stored->typState == RNG_ABSENT || stored->typState == RNG_NA) CMN_ErrorLine(1209);
    if (stored->minState == RNG_ABSENT) CMN_ErrorLine(1210);
    if (stored->maxState == RNG_ABSENT) CMN_ErrorLine(1211);
}

void PKG_CheckClosing(const CMPNT& component) {
    const PKG* package = component.package.get();
    if (package == nullptr) {
        CMN_Error(519, component.name);
        return;
    }
    for (int value = 0; value < PKG_VALUE_COUNT; ++value) {
        if (!(package->*(kValues[value].triple))) ReportMissing(value, component.name);
    }
}

void PKG_CheckRanges(const CMPNT& component) {
    const PKG* package = component.package.get();
    if (package == nullptr) return;
    for (int value = 0; value < PKG_VALUE_COUNT; ++value) {
        if (const RNG* triple = (package->*(kValues[value].triple)).get()) {
            CheckRange(value, component.name, *triple);
        }
    }
}
