#pragma once

#include <memory>

#include "IbisParser/rng.h"

// Built by the model section's I-V reader and by the series MOSFET reader; the set only
// owns them, so it needs neither layout.
struct CRV;
struct SMOS_LIST;

// Owned through the release operation that the builder stored along with the pointer.
template <class T>
using SINFO_Owned = std::unique_ptr<T, void (*)(T*)>;

// The series elements of one model state (the whole Series model, or its [On] or [Off]).
struct SINFO {
    std::unique_ptr<RNG> R_series;
    std::unique_ptr<RNG> L_series;
    std::unique_ptr<RNG> Rl_series;
    std::unique_ptr<RNG> C_series;
    std::unique_ptr<RNG> Lc_series;
    std::unique_ptr<RNG> Rc_series;
    SINFO_Owned<CRV> seriesCurrent{nullptr, nullptr};
    SINFO_Owned<SMOS_LIST> seriesMosfets{nullptr, nullptr};
    // The duplicate-Vds check of the MOSFET tables, stored by their reader with the list.
    void (*checkMosfets)(const SMOS_LIST* list, const char* modelName,
                         const char* stateName) = nullptr;
};

// Opens the set of a series keyword line `text` ("[On]", "[Off]", ...) named `name` in
// messages. A set already in `holder` is reported and replaced. Returns 0 when no set
// could be made.
int SINFO_Begin(std::unique_ptr<SINFO>& holder, const char* text, const char* name);

// The closing checks of one state's set, reported against the model and state names.
void SINFO_Check(const SINFO& set, const char* modelName, const char* stateName);

void SINFO_Free(std::unique_ptr<SINFO>& set);
