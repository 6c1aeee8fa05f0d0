// The [External Circuit] section of .ibs files: one CIRCUIT per external circuit, newest
// first. The line reader does not tell it of keyword changes; [End External Circuit], a new
// [External Circuit] or the start of a file ends the open one. The circuit's name and the count
// of its data lines are kept; reading them reports nothing.
#pragma once

#include <cstddef>
#include <string>

#include "IbisParser/linked.h"

struct CIRCUIT : IBIS_Linked<CIRCUIT> {
    std::string name;           // the first item after "]"; empty when none is given
    std::size_t dataLines = 0;  // the data lines between [External Circuit] and its end
    bool ended = false;         // [End External Circuit] was read
};

// The section operations that section.h describes (no keyword-change notice).
void CIRCUIT_Init();
void CIRCUIT_Line(int lineKind, int code, char* text);
void CIRCUIT_Reset();
