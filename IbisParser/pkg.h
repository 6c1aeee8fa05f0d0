// The [Package] values of a component: R_pkg, L_pkg and C_pkg typ/min/max triples.
#pragma once

#include <memory>

#include "IbisParser/rng.h"

struct CMPNT;

struct PKG {
    std::unique_ptr<RNG> R_pkg;  // ohms
    std::unique_ptr<RNG> L_pkg;  // henries
    std::unique_ptr<RNG> C_pkg;  // farads
};

// The [Package] keyword line (text: what follows "[Package]") and its data lines.
void PKG_Keyword(CMPNT& component, const char* text);
void PKG_Line(CMPNT& component, const char* text);
// When the component closes: the triples a package must have.
void PKG_CheckClosing(const CMPNT& component);
// The package value-range warnings.
void PKG_CheckRanges(const CMPNT& component);
