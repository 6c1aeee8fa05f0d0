#include "IbisParser/circuit.h"

#include <new>

#include "IbisParser/ibis.h"

namespace {

CIRCUIT* openCircuit = nullptr;

}  // namespace

CIRCUIT::~CIRCUIT() { IBIS_FreeChain(next); }

void CIRCUIT_Init() {
    IBIS* ibis = nullptr;
    if (!IBIS_GetCurrent(&ibis)) return;
    std::unique_ptr<CIRCUIT> record(new (std::nothrow) CIRCUIT());
    if (!record) return;
    openCircuit = record.get();
    IBIS_PushFront(ibis->circuits, std::move(record));
}

void CIRCUIT_Line(int, int, char*) {}

void CIRCUIT_Reset() { openCircuit = nullptr; }
