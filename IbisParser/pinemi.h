// The rows of [Pin EMI] in a component's EMI block: pin, domain and clock divider.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

#include "IbisParser/linked.h"

struct PINEMI : IBIS_Linked<PINEMI> {
    std::string pin_name;     // at most 5 characters
    std::string domain_name;  // at most 20 characters
    double clock_div = 0.0;
    int clock_div_state = 0;  // as CMN_CheckValue sets it: 0 absent, 1 a number, 2 "NA"
};

// The [Pin EMI] rows in file order, with the number of rows of each pin name.
struct PINEMI_LIST {
    IBIS_List<PINEMI> rows;
    std::unordered_map<std::string_view, int> pinCounts;
};

// Reads one row (the whole line) into a new record; false when none could be made.
bool PINEMI_ReadRow(const char* text, std::unique_ptr<PINEMI>& row);
// Appends the row, reporting each earlier row of the same pin name.
void PINEMI_Append(PINEMI_LIST& list, std::unique_ptr<PINEMI> row);
