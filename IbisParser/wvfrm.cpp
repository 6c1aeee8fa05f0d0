#include "IbisParser/wvfrm.h"

#include <cstring>
#include <new>
#include <string>
#include <string_view>

#include "IbisParser/cmn.h"
#include "IbisParser/hdr.h"
#include "IbisParser/parse.h"

namespace {

constexpr int kMaxWaveforms = 100;

struct KindNames {
    const char* name;    // "Rising Waveform": the table's name
    const char* short_;  // "Rising": shown before "Waveform" in messages
};

constexpr KindNames kKinds[WVFRM_KIND_COUNT] = {
    {"Rising Waveform", "Rising"},
    {"Falling Waveform", "Falling"},
    {"Composite Current", "Composite Current"},
    {"GND Pulse Table", "GND Pulse Table"},
    {"POWER Pulse Table", "POWER Pulse Table"},
    {"Rising Waveform Near", "Rising Near"},
    {"Rising Waveform Far", "Rising Far"},
    {"Falling Waveform Near", "Falling Near"},
    {"Falling Waveform Far", "Falling Far"},
    {"Diff Rising Waveform Near", "Diff Rising Near"},
    {"Diff Rising Waveform Far", "Diff Rising Far"},
    {"Diff Falling Waveform Near", "Diff Falling Near"},
    {"Diff Falling Waveform Far", "Diff Falling Far"},
};

constexpr const char* kFixtures[WVFRM_FIXTURE_COUNT] = {
    "R_fixture", "V_fixture", "V_fixture_min", "V_fixture_max", "C_fixture",
    "L_fixture", "R_dut",     "L_dut",         "C_dut"};

bool IsGolden(int kind) { return kind >= WVFRM_RISING_NEAR; }
bool IsPulse(int kind) { return kind == WVFRM_GND_PULSE || kind == WVFRM_POWER_PULSE; }

// The waveform being read.
struct ReadState {
    WVFRM* waveform = nullptr;
    bool anyRow = false;
    bool anyTime = false;
    double lastTime = 0.0;
    bool anyMin = false;
    bool anyMax = false;
};

ReadState reading;
CMN_LINE_ITEMS items;
std::string firstItem;

int RowLimit(int kind) {
    if (HDR_GetVersion() < 4 || IsPulse(kind)) return 100;
    return 1000;
}

void FixtureLine(WVFRM& waveform, int kind, int fixture, const char* line) {
    const char* name = kFixtures[fixture];
    if (IsGolden(kind)) {
        CMN_ErrorLine(2010);
        return;
    }
    if (reading.anyRow) CMN_ErrorLine(2013, name);
    if (waveform.fixture[fixture]) {
        CMN_ErrorLine(2014, kKinds[kind].name, name);
        return;
    }
    CMN_SplitLine(line, 3, '=', &items);
    if (items.count < 3 || std::strcmp(items.item(1), "=") != 0) {
        CMN_ErrorLine(2015, name);
        return;
    }
    if (items.count > 3) CMN_ErrorLine(2003, items.count, name, 3);
    double value = 0.0;
    switch (CMN_GetValue(items.item(2), &value)) {
    case 0: CMN_ErrorLine(2017, name, items.item(2)); return;
    case 2: CMN_WarningLine(2016, kKinds[kind].name, name, items.item(2)); break;
    default: break;
    }
    waveform.fixture[fixture] = value;
}

void DataRow(WVFRM& waveform, int kind, const char* line) {
    std::unique_ptr<RNGP> parsed;
    if (!RNGP_Parse(line, kKinds[kind].name, "Time", parsed)) return;
    const RNGP& row = *parsed;
    RNGP_Append(waveform.rows, std::move(parsed), row.firstState == RNG_NUMBER);
    reading.anyRow = true;
    reading.anyMin = reading.anyMin || row.minState == RNG_NUMBER;
    reading.anyMax = reading.anyMax || row.maxState == RNG_NUMBER;
    const int limit = RowLimit(kind);
    if (waveform.rows.count > limit) CMN_ErrorLine(2018, limit, kKinds[kind].name);
    if (row.firstState == RNG_NA) {
        CMN_ErrorLine(2019, "Time");
    } else if (row.firstState == RNG_NUMBER) {
        if (reading.anyTime && row.first <= reading.lastTime) CMN_ErrorLine(2020);
        reading.anyTime = true;
        reading.lastTime = row.first;
    }
}

void CheckEndRow(const RNGP& row, const char* which, const char* kind, int line) {
    if (row.typState == RNG_NA) CMN_Error(2006, which, "Typical", kind, line);
    if (row.minState == RNG_NA && reading.anyMin) CMN_Error(2006, which, "Minimum", kind, line);
    if (row.maxState == RNG_NA && reading.anyMax) CMN_Error(2006, which, "Maximum", kind, line);
}

void CheckPulseEnds(const WVFRM& waveform, const char* kind, int line) {
    const RNGP& first = *waveform.rows.head;
    const RNGP& last = *waveform.rows.tail;
    const struct {
        const char* column;
        int firstState, lastState;
        double firstValue, lastValue;
    } columns[] = {{"Typical", first.typState, last.typState, first.typ, last.typ},
                   {"Minimum", first.minState, last.minState, first.min, last.min},
                   {"Maximum", first.maxState, last.maxState, first.max, last.max}};
    for (const auto& column : columns) {
        if (column.firstState != RNG_NUMBER || column.lastState != RNG_NUMBER) continue;
        if (column.firstValue != column.lastValue) CMN_Error(2007, column.column, kind, line);
    }
}

}  // namespace

const char* WVFRM_KindName(int kind) {
    return kind >= 0 && kind < WVFRM_KIND_COUNT ? kKinds[kind].name : "";
}

WVFRM* WVFRM_Keyword(const char* line, WVFRM_LIST& list, int kind) {
    reading = ReadState{};
    if (list.count >= kMaxWaveforms) CMN_ErrorLine(2000, kKinds[kind].name);
    std::unique_ptr<WVFRM> waveform(new (std::nothrow) WVFRM{});
    if (!waveform) {
        CMN_BugLine(2012, "wvfrm", __LINE__);
        return nullptr;
    }
    WVFRM* added = waveform.get();
    added->line = PARSE_GetLineNumber();
    (list.tail ? list.tail->next : list.head) = std::move(waveform);
    list.tail = added;
    ++list.count;
    const char* rest = line;
    CMN_SkipPastBracket(&rest);
    CMN_SplitWords(rest, 1, &items);
    if (items.count > 0) CMN_ErrorLine(2003, items.count + 1, kKinds[kind].name, 1);
    reading.waveform = added;
    return added;
}

void WVFRM_Line(const char* line, int kind) {
    if (reading.waveform == nullptr) return;
    const char* start = CMN_SkipSpace(line);
    std::string_view first(start, static_cast<std::size_t>(CMN_SkipToSpace(start) - start));
    if (std::size_t equals = first.find('='); equals != std::string_view::npos) {
        first = first.substr(0, equals);
    }
    for (int fixture = 0; fixture < WVFRM_FIXTURE_COUNT; ++fixture) {
        if (first == kFixtures[fixture]) {
            FixtureLine(*reading.waveform, kind, fixture, start);
            return;
        }
    }
    // The first item, whole (the equals sign above was only for finding sub-parameters).
    firstItem.assign(start, static_cast<std::size_t>(CMN_SkipToSpace(start) - start));
    double value = 0.0;
    int isNA = 0;
    if (firstItem.empty() || CMN_GetValueOrNA(firstItem.c_str(), &value, &isNA) == 0) {
        CMN_ErrorLine(2011, kKinds[kind].name);
        return;
    }
    DataRow(*reading.waveform, kind, start);
}

void WVFRM_End(int kind) {
    const WVFRM* waveform = reading.waveform;
    reading.waveform = nullptr;
    if (waveform == nullptr) return;
    const char* shortName = kKinds[kind].short_;
    const int line = static_cast<int>(waveform->line);
    if (kind == WVFRM_RISING || kind == WVFRM_FALLING) {
        if (!waveform->fixture[WVFRM_R_FIXTURE]) {
            CMN_Error(2004, "R_fixture", shortName, line);
        }
        if (!waveform->fixture[WVFRM_V_FIXTURE]) {
            CMN_Error(2004, "V_fixture", shortName, line);
        }
    }
    if (waveform->rows.count < 2) {
        CMN_Error(2005, shortName, line);
        return;
    }
    CheckEndRow(*waveform->rows.head, "First", shortName, line);
    CheckEndRow(*waveform->rows.tail, "Last", shortName, line);
    if (IsPulse(kind)) CheckPulseEnds(*waveform, shortName, line);
}
