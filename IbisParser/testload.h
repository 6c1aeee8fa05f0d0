// The [Test Load] section of .ibs files: one TESTLOAD per test load, newest first. The keyword
// line gives the name, each data line one sub-parameter; every keyword after [Test Load] closes
// it and runs its closing checks. After the whole file its receiver models are looked up.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "IbisParser/linked.h"
#include "IbisParser/rng.h"

// The element values, in the order of their sub-parameter codes (code = element + 2).
enum TESTLOAD_ELEMENT : int {
    TESTLOAD_C1_NEAR,
    TESTLOAD_RS_NEAR,
    TESTLOAD_LS_NEAR,
    TESTLOAD_C2_NEAR,
    TESTLOAD_RP1_NEAR,
    TESTLOAD_RP2_NEAR,
    TESTLOAD_TD,
    TESTLOAD_ZO,
    TESTLOAD_RP1_FAR,
    TESTLOAD_RP2_FAR,
    TESTLOAD_C2_FAR,
    TESTLOAD_LS_FAR,
    TESTLOAD_RS_FAR,
    TESTLOAD_C1_FAR,
    TESTLOAD_ELEMENT_COUNT,
};

// Test_load_type and Test_data_type codes: 0 not given, 1 given but invalid.
enum TESTLOAD_TYPE : int {
    TESTLOAD_TYPE_NONE = 0,
    TESTLOAD_TYPE_INVALID = 1,
    TESTLOAD_SINGLE_ENDED = 2,
    TESTLOAD_DIFFERENTIAL = 3,
};

struct TESTLOAD : IBIS_Linked<TESTLOAD> {
    std::string name;  // at most 109 characters
    int Test_load_type = TESTLOAD_TYPE_NONE;
    std::optional<double> element[TESTLOAD_ELEMENT_COUNT];
    std::unique_ptr<RNG> V_term1, V_term2;
    std::optional<double> R_diff_near, R_diff_far;
    std::string Receiver_model, Receiver_model_inv;  // empty when not given
};

// The section operations that section.h describes.
void TESTLOAD_Init();
void TESTLOAD_Line(int lineKind, int code, char* text);
void TESTLOAD_EndKeyword(int nextCode);
void TESTLOAD_Reset();
// After the whole file: the receiver models of each test load.
void TESTLOAD_CheckAll(TESTLOAD* testLoads);
