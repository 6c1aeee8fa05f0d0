// Receiver thresholds of models ([Receiver Thresholds]): the keyword, its sub-parameter lines,
// the check when the model leaves the keyword and the whole-file check of receivers.
#pragma once

#include <array>
#include <memory>
#include <string>

struct MDL;

// The sub-parameters, in the order of their codes (code = field + 1).
enum RCVTH_FIELD : int {
    RCVTH_VTH = 0,
    RCVTH_VTH_MIN,
    RCVTH_VTH_MAX,
    RCVTH_VINH_AC,
    RCVTH_VINH_DC,
    RCVTH_VINL_AC,
    RCVTH_VINL_DC,
    RCVTH_THRESHOLD_SENSITIVITY,
    RCVTH_REFERENCE_SUPPLY,
    RCVTH_VCROSS_LOW,
    RCVTH_VCROSS_HIGH,
    RCVTH_VDIFF_AC,
    RCVTH_VDIFF_DC,
    RCVTH_TSLEW_AC,
    RCVTH_TDIFFSLEW_AC,
    RCVTH_FIELD_COUNT
};

struct RCVTH {
    std::array<bool, RCVTH_FIELD_COUNT> present{};
    std::array<double, RCVTH_FIELD_COUNT> value{};  // the numeric fields
    std::string reference_supply;                   // one of the five supply names
};

// The keyword line (the whole line); the model's record is made, or replaced when it has one.
void RCVTH_Keyword(const char* text, std::unique_ptr<RCVTH>& record);
// One data line of the keyword.
void RCVTH_Line(const char* text, RCVTH& record);
// When the model leaves the keyword.
void RCVTH_Close(const MDL& model);
// After the whole file, first among the model checks: asks the [Diff Pin] query about every
// model (newest first), which marks the differential ones, then warns about the thresholds
// that each receiver with a record lacks.
void RCVTH_CheckAll(MDL* models);
