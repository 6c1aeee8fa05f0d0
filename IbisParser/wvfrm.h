// Waveform tables: a model's [Rising Waveform] and [Falling Waveform] with their fixture
// sub-parameters, and the same reader for [Composite Current], the pulse tables and the golden
// waveforms of test data.
#pragma once

#include <memory>
#include <optional>

#include "IbisParser/linked.h"
#include "IbisParser/rngp.h"

// Which table a waveform is: it decides the names in messages, the row limit and the closing
// checks.
enum WVFRM_KIND : int {
    WVFRM_RISING,
    WVFRM_FALLING,
    WVFRM_COMPOSITE_CURRENT,
    WVFRM_GND_PULSE,
    WVFRM_POWER_PULSE,
    WVFRM_RISING_NEAR,
    WVFRM_RISING_FAR,
    WVFRM_FALLING_NEAR,
    WVFRM_FALLING_FAR,
    WVFRM_DIFF_RISING_NEAR,
    WVFRM_DIFF_RISING_FAR,
    WVFRM_DIFF_FALLING_NEAR,
    WVFRM_DIFF_FALLING_FAR,
    WVFRM_KIND_COUNT,
};

// The fixture sub-parameters, in the order of their table.
enum WVFRM_FIXTURE : int {
    WVFRM_R_FIXTURE,
    WVFRM_V_FIXTURE,
    WVFRM_V_FIXTURE_MIN,
    WVFRM_V_FIXTURE_MAX,
    WVFRM_C_FIXTURE,
    WVFRM_L_FIXTURE,
    WVFRM_R_DUT,
    WVFRM_L_DUT,
    WVFRM_C_DUT,
    WVFRM_FIXTURE_COUNT,
};

struct WVFRM;

// A list of waveforms in file order, with its end and length kept for appending.
struct WVFRM_LIST {
    std::unique_ptr<WVFRM> head;
    WVFRM* tail = nullptr;
    int count = 0;
};

struct WVFRM : IBIS_Linked<WVFRM> {
    std::optional<double> fixture[WVFRM_FIXTURE_COUNT];
    RNGP_TABLE rows;  // a time and a typ/min/max triple per row
    unsigned long line = 0;
    WVFRM_LIST composite;  // the [Composite Current] that follows the waveform
};

// The name of a kind as messages show it ("Rising Waveform", "GND Pulse Table", ...).
const char* WVFRM_KindName(int kind);

// The keyword line: appends a new waveform of the kind to the list; it receives the lines that
// follow until WVFRM_End. Returns the new waveform.
WVFRM* WVFRM_Keyword(const char* line, WVFRM_LIST& list, int kind);
// A data line of the waveform last opened.
void WVFRM_Line(const char* line, int kind);
// The end of the waveform's section.
void WVFRM_End(int kind);
