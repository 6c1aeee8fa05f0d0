#include "IbisParser/circuit.h"

#include "IbisParser/section.h"

namespace {

// Begin failures pass silently here; the line reader sends no keyword-change notices.
constinit SECTION_Records<CIRCUIT> circuits(
    &IBIS::circuits, {.module = "circuit", .noFile = {}, .noMemory = {}, .own = {}});

}  // namespace

void CIRCUIT_Init() { circuits.Begin(__LINE__); }

void CIRCUIT_Line(int, int, char*) {}

void CIRCUIT_Reset() { circuits.Reset(); }
