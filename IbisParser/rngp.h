#pragma once

#include <cstddef>
#include <memory>
#include <new>
#include <unordered_map>

#include "IbisParser/linked.h"
#include "IbisParser/rng.h"

// One row of a table: an independent first column (voltage or time) and a typ/min/max
// triple (the RNG part), each value with its column state (see RNG_STATE). Rows form a
// doubly linked list; each row owns the rest of the table after it.
struct RNGP : IBIS_Linked<RNGP>, RNG {
    int firstState = RNG_ABSENT;  // first, to fill the room the triple leaves
    RNGP* prev = nullptr;
    double first = 0.0;

    // Rows come from a pool of large blocks: a file holds hundreds of thousands of them, and
    // one call to the general allocator per row costs more than reading the row.
    static void* operator new(std::size_t size);
    static void* operator new(std::size_t size, const std::nothrow_t&) noexcept;
    static void operator delete(void* row) noexcept;
};

// Reads a row from a data line; `name` is the table's name and `columnName` the first
// column's name in messages. Column errors are reported but the row is still returned;
// returns 0 only when the line could not be split or the row not allocated.
int RNGP_Parse(const char* text, const char* name, const char* columnName,
               std::unique_ptr<RNGP>& result);

// A table: its rows in file order (added only through RNGP_Append), and what appending needs to
// stay linear in the number of rows however long the table grows.
struct RNGP_TABLE {
    std::unique_ptr<RNGP> head;
    RNGP* tail = nullptr;
    int count = 0;
    // The range of the first-column values: a value outside it repeats nothing, so tables
    // whose first column only rises or only falls are never searched.
    double lowest = 0.0;
    double highest = 0.0;
    // How often each first-column value occurs; built only when a value falls inside the
    // range of a table long enough that scanning every row would cost more than hashing.
    std::unordered_map<double, int> firstValueCounts;
};

// Links `row` after the last row of `table` and counts it. With `check` on, every earlier
// row whose first column equals the new row's exactly draws the repeated-value warning.
void RNGP_Append(RNGP_TABLE& table, std::unique_ptr<RNGP> row, bool check);
