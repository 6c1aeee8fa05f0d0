#include "IbisParser/rngp.h"

#include <algorithm>
#include <cstdlib>
#include <new>
#include <vector>

#include "IbisParser/cmn.h"

#if __has_include(<sys/mman.h>)
#include <sys/mman.h>
#endif

namespace {

constexpr const char* kModule = "rngp";

// The columns a row lacks, named in message 1401.
constexpr const char* kMissingColumns[] = {"typical", "minimum", "maximum"};

void ReportItemCount(int count, const char* name) {
    if (count >= 1 && count <= 3) {
        for (int column = count - 1; column < 3; ++column) {
            CMN_ErrorLine(1401, kMissingColumns[column], name);
        }
    } else if (count != 4) {
        CMN_ErrorLine(1402, count, name, 4);
    }
}

// Up to this many rows a scan finds repeats faster than a hash table is kept up.
constexpr int kRowsBeforeHashing = 64;

int RepeatsOf(RNGP_TABLE& table, double first) {
    if (table.count == 0 || first < table.lowest || first > table.highest) return 0;
    if (table.firstValueCounts.empty() && table.count >= kRowsBeforeHashing) {
        for (const RNGP* existing = table.head.get(); existing; existing = existing->next.get()) {
            ++table.firstValueCounts[existing->first];
        }
    }
    if (!table.firstValueCounts.empty()) {
        const auto found = table.firstValueCounts.find(first);
        return found == table.firstValueCounts.end() ? 0 : found->second;
    }
    int repeats = 0;
    for (const RNGP* existing = table.head.get(); existing; existing = existing->next.get()) {
        repeats += existing->first == first;
    }
    return repeats;
}

// Free rows are linked through their first bytes; blocks are kept for the next file.
// Free rows are linked through their first bytes; blocks are kept for the next file. Blocks of
// 2 MB, aligned so that the system may back each with one large page: a long table then costs
// one page fault per block rather than one per 4 kB.
struct RowPool {
    static constexpr std::size_t kBlockBytes = std::size_t{2} << 20;
    union Slot {
        Slot* nextFree;
        alignas(RNGP) unsigned char row[sizeof(RNGP)];
    };
    static constexpr std::size_t kRowsPerBlock = kBlockBytes / sizeof(Slot);
    struct FreeBlock {
        void operator()(Slot* block) const noexcept { std::free(block); }
    };
    std::vector<std::unique_ptr<Slot, FreeBlock>> blocks;
    Slot* freeList = nullptr;
    std::size_t usedInBlock = kRowsPerBlock;

    bool AddBlock() noexcept {
        try {
            blocks.reserve(blocks.size() + 1);
        } catch (const std::bad_alloc&) {
            return false;
        }
        void* block = std::aligned_alloc(kBlockBytes, kBlockBytes);
        if (block == nullptr) return false;
#ifdef MADV_HUGEPAGE
        madvise(block, kBlockBytes, MADV_HUGEPAGE);
#endif
        blocks.emplace_back(static_cast<Slot*>(block));
        usedInBlock = 0;
        return true;
    }

    void* Take() noexcept {
        if (freeList != nullptr) {
            Slot* slot = freeList;
            freeList = slot->nextFree;
            return slot;
        }
        if (usedInBlock == kRowsPerBlock && !AddBlock()) return nullptr;
        return blocks.back().get() + usedInBlock++;
    }

    void Give(void* row) noexcept {
        Slot* slot = static_cast<Slot*>(row);
        slot->nextFree = freeList;
        freeList = slot;
    }
};

RowPool& Pool() {
    static RowPool pool;
    return pool;
}

// The line items of the row being read, reused from row to row.
thread_local CMN_LINE_ITEMS rowItems;

}  // namespace

void* RNGP::operator new(std::size_t size) {
    void* row = operator new(size, std::nothrow);
    if (row == nullptr) throw std::bad_alloc();
    return row;
}

void* RNGP::operator new(std::size_t size, const std::nothrow_t&) noexcept {
    CMN_ASSERT(size == sizeof(RNGP));
    return Pool().Take();
}

void RNGP::operator delete(void* row) noexcept {
    if (row != nullptr) Pool().Give(row);
}

int RNGP_Parse(const char* text, const char* name, const char* columnName,
               std::unique_ptr<RNGP>& result) {
    CMN_LINE_ITEMS& items = rowItems;
    if (!CMN_SplitWords(text, 4, &items)) {
        CMN_BugLine(1400, name);
        return 0;
    }
    ReportItemCount(items.count, name);
    result.reset(new (std::nothrow) RNGP{});
    if (!result) {
        CMN_Bug(1404, kModule, __LINE__);
        return 0;
    }
    RNGP& row = *result;
    CMN_CheckValue(items.item(0), name, columnName, &row.first, &row.firstState);
    RNG_CheckColumns(items, 1, name, row);
    return 1;
}

void RNGP_Append(RNGP_TABLE& table, std::unique_ptr<RNGP> row, bool check) {
    const double first = row->first;
    if (check) {
        for (int repeats = RepeatsOf(table, first); repeats > 0; --repeats) {
            CMN_WarningLine(1403, first);
        }
    }
    row->prev = table.tail;
    RNGP* appended = row.get();
    (table.tail ? table.tail->next : table.head) = std::move(row);
    table.tail = appended;
    table.lowest = table.count == 0 ? first : std::min(table.lowest, first);
    table.highest = table.count == 0 ? first : std::max(table.highest, first);
    ++table.count;
    if (!table.firstValueCounts.empty()) ++table.firstValueCounts[first];
}
