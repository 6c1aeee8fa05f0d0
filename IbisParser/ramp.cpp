#include "IbisParser/ramp.h"

#include <cstring>
#include <new>
#include <string>

#include "IbisParser/cmn.h"
#include "IbisParser/mdl.h"
#include "IbisParser/parse.h"

namespace {

constexpr const char* kColumns[3] = {"Typical", "Minimum", "Maximum"};

CMN_LINE_ITEMS items;
std::string part;

// One part of a ratio: a number with scale letters. False after 1312.
bool ReadPart(const char* text, std::size_t length, const char* column, const char* name,
              double* value) {
    part.assign(text, length);
    switch (CMN_GetValue(part.c_str(), value)) {
    case 0: CMN_ErrorLine(1312, column, name, part.c_str()); return false;
    case 2: CMN_WarningLine(1311, column, name, part.c_str()); return true;
    default: return true;
    }
}

// "dV/dT" or "NA".
void ReadRatio(const char* text, const char* column, const char* name, RAMP_RATIO& ratio) {
    double value = 0.0;
    int isNA = 0;
    if (CMN_GetValueOrNA(text, &value, &isNA) == 1 && isNA) {
        ratio.state = RNG_NA;
        return;
    }
    const char* slash = std::strchr(text, '/');
    if (slash == nullptr) {
        CMN_ErrorLine(1312, column, name, text);
        return;
    }
    if (!ReadPart(text, static_cast<std::size_t>(slash - text), column, name, &ratio.dV)) return;
    if (!ReadPart(slash + 1, std::strlen(slash + 1), column, name, &ratio.dT)) return;
    ratio.state = RNG_NUMBER;
}

void EdgeLine(const char* line, const char* name, RAMP_EDGE& edge, const MDL* model) {
    if (edge.given) {
        CMN_ErrorLine(1307, name, model->name.c_str());
        return;
    }
    edge.given = true;
    CMN_SplitWords(CMN_SkipToSpace(CMN_SkipSpace(line)), 3, &items);
    if (items.count == 1) {
        CMN_ErrorLine(1308, "minimum", name);
        CMN_ErrorLine(1308, "maximum", name);
    } else if (items.count == 2) {
        CMN_ErrorLine(1308, "maximum", name);
    } else if (items.count > 3) {
        CMN_ErrorLine(1304, items.count, name, 3);
    }
    RAMP_RATIO* ratios[3] = {&edge.typ, &edge.min, &edge.max};
    for (int column = 0; column < items.stored; ++column) {
        ReadRatio(items.item(column), kColumns[column], name, *ratios[column]);
    }
    if (edge.typ.state == RNG_NA) CMN_ErrorLine(1309, name);
    for (const RAMP_RATIO* ratio : ratios) {
        if (ratio->state != RNG_NUMBER) continue;
        if (ratio->dV <= 0) CMN_ErrorLine(1310, "dV");
        if (ratio->dT <= 0) CMN_ErrorLine(1310, "dT");
    }
}

void LoadLine(const char* line, RAMP& ramp, const MDL* model) {
    if (ramp.R_load) {
        CMN_ErrorLine(1307, "R_load", model->name.c_str());
        return;
    }
    CMN_SplitLine(line, 3, '=', &items);
    if (items.count < 3 || std::strcmp(items.item(1), "=") != 0) {
        CMN_ErrorLine(1313, "R_load");
        return;
    }
    if (items.count > 3) CMN_ErrorLine(1304, items.count, "R_load", 3);
    double value = 0.0;
    switch (CMN_GetValue(items.item(2), &value)) {
    case 0: CMN_ErrorLine(1314, "R_load", items.item(2)); return;
    case 2: CMN_WarningLine(1311, "Typical", "R_load", items.item(2)); break;
    default: break;
    }
    ramp.R_load = value;
}

}  // namespace

void RAMP_Keyword(const char* line, MDL* model) {
    if (model->ramp) CMN_ErrorLine(1300);
    model->ramp.reset(new (std::nothrow) RAMP{});
    if (!model->ramp) {
        CMN_BugLine(1301, "ramp", __LINE__);
        return;
    }
    model->ramp->line = PARSE_GetLineNumber();
    const char* rest = line;
    CMN_SkipPastBracket(&rest);
    CMN_SplitWords(rest, 1, &items);
    if (items.count > 0) CMN_ErrorLine(1304, items.count + 1, "Ramp", 1);
}

void RAMP_Line(const char* line, MDL* model) {
    if (!model->ramp) return;
    RAMP& ramp = *model->ramp;
    const char* start = CMN_SkipSpace(line);
    const std::size_t length = static_cast<std::size_t>(CMN_SkipToSpace(start) - start);
    const std::string_view first(start, length);
    if (first == "dV/dt_r") {
        EdgeLine(start, "dV/dt_r", ramp.dVdt_r, model);
    } else if (first == "dV/dt_f") {
        EdgeLine(start, "dV/dt_f", ramp.dVdt_f, model);
    } else if (first.starts_with("R_load") && (first.size() == 6 || first[6] == '=')) {
        LoadLine(start, ramp, model);
    } else {
        CMN_ErrorLine(1305);
    }
}

void RAMP_End(const RAMP& ramp) {
    const int line = static_cast<int>(ramp.line);
    if (!ramp.dVdt_r.given) CMN_Error(1306, "dV/dt_r", line);
    if (!ramp.dVdt_f.given) CMN_Error(1306, "dV/dt_f", line);
}
