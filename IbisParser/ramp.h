// The [Ramp] keyword of models: dV/dt_r, dV/dt_f and R_load.
#pragma once

#include <optional>

struct MDL;

// One dV/dT ratio with its column state (RNG_STATE).
struct RAMP_RATIO {
    double dV = 0.0;
    double dT = 0.0;
    int state = 0;
};

// The typical, minimum and maximum ratios of one edge.
struct RAMP_EDGE {
    bool given = false;
    RAMP_RATIO typ, min, max;
};

struct RAMP {
    RAMP_EDGE dVdt_r;
    RAMP_EDGE dVdt_f;
    std::optional<double> R_load;  // ohms
    unsigned long line = 0;        // the line of the [Ramp] keyword
};

// The [Ramp] keyword line: a new ramp for the model (an earlier one is reported and replaced).
void RAMP_Keyword(const char* line, MDL* model);
// A data line under [Ramp].
void RAMP_Line(const char* line, MDL* model);
// The end of the [Ramp] section.
void RAMP_End(const RAMP& ramp);
