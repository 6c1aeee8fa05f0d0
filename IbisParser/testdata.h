// The [Test Data] section of .ibs files: one TESTDATA per section, newest first. The keyword
// line gives the name, the data lines under it the sub-parameters, and the golden waveform
// keywords that follow fill its waveforms; any other keyword closes it. After the whole file
// its driver models and its test load are looked up.
#pragma once

#include <string>

#include "IbisParser/linked.h"
#include "IbisParser/wvfrm.h"

// The golden waveforms, in the order the record keeps them.
enum TESTDATA_WAVEFORM : int {
    TESTDATA_RISING_NEAR,
    TESTDATA_FALLING_NEAR,
    TESTDATA_RISING_FAR,
    TESTDATA_FALLING_FAR,
    TESTDATA_DIFF_RISING_NEAR,
    TESTDATA_DIFF_FALLING_NEAR,
    TESTDATA_DIFF_RISING_FAR,
    TESTDATA_DIFF_FALLING_FAR,
    TESTDATA_WAVEFORM_COUNT,
};

struct TESTDATA : IBIS_Linked<TESTDATA> {
    std::string name;                            // at most 109 characters
    int Test_data_type = 0;                      // the codes of Test_load_type (testload.h)
    std::string Driver_model, Driver_model_inv;  // empty when not given
    std::string Test_load;                       // at most 110 characters; empty when not given
    // Each list holds the waveform of its keyword, or nothing.
    WVFRM_LIST waveform[TESTDATA_WAVEFORM_COUNT];
};

// The section operations that section.h describes.
void TESTDATA_Init();
void TESTDATA_Line(int lineKind, int code, char* text);
void TESTDATA_EndKeyword(int nextCode);
void TESTDATA_Reset();
// After the whole file: the driver models and the test load of each test data.
void TESTDATA_CheckAll(TESTDATA* testData);
