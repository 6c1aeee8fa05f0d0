// What the section modules share: each keeps its records in a list of the current file's IBIS
// record and remembers one open record, the one its lines go to. A module states only what is
// its own (its codes, its list, its keywords) and forwards its begin, keyword-change and reset
// operations to a SECTION_Records.
//
// The operations of a section module, which the line reader calls through its dispatch table:
// - begin (X_Begin or X_Init): the section's opening keyword makes a new record in the current
//   file, now the open one;
// - line (X_Line): every keyword line (LINE_KEYWORD) and data line (LINE_DATA) routed to the
//   section, with the keyword code and the text;
// - keyword change (X_KeywordChange or X_EndKeyword): the code of the keyword that follows one
//   of the section's; the open record is closed when that code is not the section's own;
// - reset (X_Reset): forgets the open record (start of a file, release of a file record).
#pragma once

#include <memory>
#include <new>

#include "IbisParser/cmn.h"
#include "IbisParser/ibis.h"

// How a begin failure is reported: the reporting function (CMN_Bug, CMN_BugLine,
// CMN_ErrorLine...) and its code; with `where`, the module name and the source line of the
// begin operation are the message's arguments. No function: the failure passes silently.
// The code's text is checked against those arguments when the rules are compiled.
struct SECTION_REPORT {
    constexpr SECTION_REPORT() = default;
    consteval SECTION_REPORT(const CMN_Reporter& reporter, int reportCode, bool reportWhere = false)
        : report(&reporter), code(reportCode), where(reportWhere) {
        constexpr CMN_ArgClass withWhere[] = {CMN_ArgClass::Text, CMN_ArgClass::Integer};
        CMN_RequireFit(reportCode,
                       CMN_CheckArguments(CMN_FindMessageIn(reportCode), withWhere, where ? 2 : 0));
    }

    const CMN_Reporter* report = nullptr;
    int code = 0;
    bool where = false;
};

// A range of keyword codes, first to last; {0, -1} is empty.
struct SECTION_KEYWORDS {
    int first = 0;
    int last = -1;
};

struct SECTION_RULES {
    const char* module = "";
    SECTION_REPORT noFile;    // there is no current IBIS record
    SECTION_REPORT noMemory;  // the record cannot be allocated
    // The keywords after which the open record stays open; any other keyword closes it.
    SECTION_KEYWORDS own[2];
    // Records are kept in file order instead of newest first.
    bool fileOrder = false;
};

template <typename T>
class SECTION_Records {
public:
    constexpr SECTION_Records(std::unique_ptr<T> IBIS::*list, const SECTION_RULES& rules)
        : list_(list), rules_(rules) {}

    // A new record in the current file's list, now the open one. When it cannot be made, the
    // failure is reported (sourceLine is the caller's, for the reports that name it) and the
    // open record stays as it was.
    void Begin(int sourceLine) {
        IBIS* ibis = nullptr;
        if (!IBIS_GetCurrent(&ibis)) {
            Report(rules_.noFile, sourceLine);
            return;
        }
        std::unique_ptr<T> record(new (std::nothrow) T());
        if (!record) {
            Report(rules_.noMemory, sourceLine);
            return;
        }
        T* opened = record.get();
        if (rules_.fileOrder) {
            Append(ibis->*list_, std::move(record));
        } else {
            IBIS_PushFront(ibis->*list_, std::move(record));
        }
        open_ = opened;
    }

    // The keyword-change notice: a keyword that is not the section's own closes the record.
    void KeywordChange(int nextCode) {
        for (const SECTION_KEYWORDS& own : rules_.own) {
            if (nextCode >= own.first && nextCode <= own.last) return;
        }
        open_ = nullptr;
    }

    // Forgets the open record and the list end (start of a file, release of a file record).
    void Reset() {
        open_ = nullptr;
        last_ = nullptr;
    }

    T* Open() const { return open_; }

private:
    void Report(const SECTION_REPORT& report, int sourceLine) const {
        if (report.report == nullptr) return;
        if (report.where) {
            (*report.report)(CMN_RuntimeCode(report.code), rules_.module, sourceLine);
        } else {
            (*report.report)(CMN_RuntimeCode(report.code));
        }
    }

    // Links the record at the end of the list; the end is remembered so that a long list is
    // not walked for every record.
    void Append(std::unique_ptr<T>& head, std::unique_ptr<T> record) {
        T* added = record.get();
        if (!head) {
            head = std::move(record);
        } else {
            if (last_ == nullptr) {
                last_ = head.get();
                while (last_->next) last_ = last_->next.get();
            }
            last_->next = std::move(record);
        }
        last_ = added;
    }

    std::unique_ptr<T> IBIS::*list_;
    SECTION_RULES rules_;
    T* open_ = nullptr;
    T* last_ = nullptr;
};
