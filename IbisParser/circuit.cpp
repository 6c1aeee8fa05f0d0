#include "IbisParser/circuit.h"

#include "IbisParser/parse.h"
#include "IbisParser/section.h"

namespace {

// Begin failures pass silently here; the line reader sends no keyword-change notices.
constinit SECTION_Records<CIRCUIT> circuits(
    &IBIS::circuits, {.module = "circuit", .noFile = {}, .noMemory = {}, .own = {}});

}  // namespace

void CIRCUIT_Init() { circuits.Begin(__LINE__); }

// Lines with no open circuit (after its end, or when it could not begin) are passed over.
void CIRCUIT_Line(int lineKind, int code, char* text) {
    CIRCUIT* circuit = circuits.Open();
    if (circuit == nullptr) return;
    if (lineKind == LINE_DATA) {
        ++circuit->dataLines;
    } else if (lineKind != LINE_KEYWORD) {
        return;
    } else if (code == KW_EXTERNAL_CIRCUIT) {
        const char* name = text;
        CMN_SkipPastBracket(&name);
        name = CMN_SkipSpace(name);
        circuit->name.assign(name, CMN_TokenLength(name, '\0'));
    } else if (code == KW_END_EXTERNAL_CIRCUIT) {
        circuit->ended = true;
        // No keyword is the section's own, so this closes the circuit.
        circuits.KeywordChange(code);
    }
}

void CIRCUIT_Reset() { circuits.Reset(); }
