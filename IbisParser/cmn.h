// Common services of the IBIS checker: numbered diagnostics with their counters and summary,
// the message table, allocation that reports its own failures, text scanning helpers, line
// splitting, number reading with IBIS scale letters and "NA", keyword text fields, reserved
// words and the R/L/C item reader.
//
// Threading: the helpers (allocation, text, splitting, numbers) keep no hidden mutable state
// and may run on several threads at once. The diagnostic service keeps process-wide counters
// and settings; it is meant for one checker run at a time, although its counters and settings
// are atomics so that a stray report from another thread is not a data race.
//
// Text fields: a keyword's value is kept in a std::string. The setters apply the length limit
// when they store (the text is cut to the limit, or to 1,024 characters for the checked form),
// so a field never holds more than its limit; "already set" means the string is not empty.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "IbisParser/cmn_format.h"
#include "IbisParser/cmn_messages.h"

enum class CMN_Level { Bug, Error, Warning, Caution, Note };

// The constant message table: sorted by code, codes unique, entry 0 is code 0.
std::span<const CMN_MESSAGE> CMN_GetMessageTable();
// The format of a code, or nullptr when the table has no such code (binary search).
const char* CMN_FindMessage(int code);

// Codes chosen for the file driver's two messages that have no code of their own elsewhere:
// "Unable to create IBIS." and "Required keyword 'Component' not found.".
inline constexpr int CMN_CODE_UNABLE_TO_CREATE_IBIS = 1925;
inline constexpr int CMN_CODE_COMPONENT_NOT_FOUND = 1926;

// Reports an already erased list of arguments for a code. checked: the arguments were checked
// against the code's text when the call was compiled; otherwise they are checked here and a
// mismatch is reported as a program bug with the code's text as it stands.
void CMN_Report(CMN_Level level, bool withLine, int code, bool checked, const CMN_ARG* args,
                std::size_t count);

// Formats text by the rules of a report into out (no diagnostic is printed). Returns false,
// leaving out empty, when the arguments do not fit the format's conversions.
bool CMN_FormatText(std::string& out, const char* format, const CMN_ARG* args, std::size_t count);

// A reporting function: called with the code, then the arguments of that code's format, in
// order. A constant code is checked against its text when the call is compiled (cmn_format.h);
// a code known only at run time is passed as CMN_RuntimeCode(code).
class CMN_Reporter {
public:
    constexpr CMN_Reporter(CMN_Level level, bool withLine) : level_(level), withLine_(withLine) {}

    template <typename... Args>
    void operator()(CMN_CodeFor<std::type_identity_t<Args>...> code, const Args&... args) const {
        Send(code.Value(), true, args...);
    }
    template <typename... Args>
    void operator()(CMN_RuntimeCode code, const Args&... args) const {
        Send(code.Value(), false, args...);
    }

    constexpr CMN_Level Level() const { return level_; }
    constexpr bool WithLine() const { return withLine_; }

private:
    template <typename... Args>
    void Send(int code, bool checked, const Args&... args) const {
        if constexpr (sizeof...(Args) == 0) {
            CMN_Report(level_, withLine_, code, checked, nullptr, 0);
        } else {
            const CMN_ARG erased[] = {CMN_ARG::From(args)...};
            CMN_Report(level_, withLine_, code, checked, erased, sizeof...(Args));
        }
    }

    CMN_Level level_;
    bool withLine_;
};

// Reporting by code. The *Line variants print the line number given by the line-number hook.
inline constexpr CMN_Reporter CMN_Bug{CMN_Level::Bug, false};
inline constexpr CMN_Reporter CMN_BugLine{CMN_Level::Bug, true};
inline constexpr CMN_Reporter CMN_Error{CMN_Level::Error, false};
inline constexpr CMN_Reporter CMN_ErrorLine{CMN_Level::Error, true};
inline constexpr CMN_Reporter CMN_Warning{CMN_Level::Warning, false};
inline constexpr CMN_Reporter CMN_WarningLine{CMN_Level::Warning, true};
inline constexpr CMN_Reporter CMN_Caution{CMN_Level::Caution, false};
inline constexpr CMN_Reporter CMN_Note{CMN_Level::Note, false};
inline constexpr CMN_Reporter CMN_NoteLine{CMN_Level::Note, true};

// Composes one printed diagnostic (head, wrapping and final line feed) for an already formatted
// message text. withLine selects the "(line %*lu)" head; numbered selects the "E%04d" form.
std::string CMN_FormatDiagnostic(CMN_Level level, int code, bool withLine, unsigned long line,
                                 std::string_view text, bool numbered);

// Prints the counters and the Passed/Failed verdict to the output stream.
void CMN_PrintSummary();
// Stores the bug, error and warning counters through the pointers that are not null.
void CMN_GetCounts(std::uint32_t* bugs, std::uint32_t* errors, std::uint32_t* warnings);
// Zeroes the bug, error, warning and caution counters and the count of printed diagnostics
// (fresh counts for each checked file).
void CMN_ResetCounts();

// Where diagnostics and the summary go; nullptr means standard output.
void CMN_SetOutput(std::FILE* stream);
void CMN_SetQuietBugs(bool quiet);
void CMN_SetQuietErrors(bool quiet);
void CMN_SetQuietWarnings(bool quiet);
// Prints at most `limit` diagnostics per file (default: no limit); the rest are counted as
// usual and one line before the summary says how many were not shown.
void CMN_SetMaxDiagnostics(std::uint64_t limit);

// The line reader owns the current line number and file name; it lends them through hooks so
// that this library does not depend on it. Defaults: line 0, file name "".
using CMN_LineNumberFn = unsigned long (*)();
using CMN_FileNameFn = const char* (*)();
void CMN_SetSourceHooks(CMN_LineNumberFn lineNumber, CMN_FileNameFn fileName);
unsigned long CMN_CurrentLineNumber();
const char* CMN_CurrentFileName();

// Whether the line reader keeps illegal characters instead of reporting and blanking them.
void CMN_SetKeepIllegalChars(bool keep);
bool CMN_GetKeepIllegalChars();

// Internal consistency check for states that no input can reach: prints
// "<module>:<line>:assertion failed." to standard output, flushes it and ends the process.
[[noreturn]] void CMN_AssertFailed(const char* module, int line);
#define CMN_ASSERT(cond) \
    do { \
        if (!(cond)) CMN_AssertFailed(__FILE__, __LINE__); \
    } while (0)

// Allocation, for plain records (trivially constructible, zero is their empty state): 1 on
// success; a failure reports error 1906 / 1907 with the requested size and returns 0. A zero
// size gets a minimal block rather than stopping the process.

int CMN_AllocBytes(void** owner, std::size_t size);
int CMN_ReallocBytes(void** owner, std::size_t size);
void CMN_Free(void* block);

template <typename T>
int CMN_Alloc(T** owner, std::size_t size) {
    CMN_ASSERT(owner != nullptr);
    void* block = nullptr;
    if (CMN_AllocBytes(&block, size) == 0) return 0;
    *owner = static_cast<T*>(block);
    return 1;
}
template <typename T>
int CMN_Realloc(T** owner, std::size_t size) {
    CMN_ASSERT(owner != nullptr);
    void* block = *owner;
    if (CMN_ReallocBytes(&block, size) == 0) return 0;
    *owner = static_cast<T*>(block);
    return 1;
}
template <typename T>
void CMN_FreeAndClear(T** owner) {
    CMN_ASSERT(owner != nullptr);
    CMN_Free(*owner);
    *owner = nullptr;
}

// Text helpers. Returned copies are released with CMN_Free.

char* CMN_StrDup(const char* text);                  // failure: program bug 1908, nullptr
char* CMN_StrNDup(const char* text, std::size_t n);  // at most n characters; failure: nullptr

int CMN_StrEqualNoCase(const char* a, const char* b);
int CMN_StrEqualNoCaseN(const char* a, const char* b, std::size_t n);
// Replaces every blank of text by '_' (in place), then compares ignoring case.
int CMN_KeywordEqual(const char* name, char* text);

void CMN_ToLower(char* text);
void CMN_ToUpper(char* text);
void CMN_ToLower(std::string& text);
void CMN_ToUpper(std::string& text);

// Past any run of white space, however long (callers inside the model library must never be
// stopped, so there is no run-length guard).
const char* CMN_SkipSpace(const char* position);
inline char* CMN_SkipSpace(char* position) {
    return const_cast<char*>(CMN_SkipSpace(static_cast<const char*>(position)));
}
// To the next white space or the end of the text.
const char* CMN_SkipToSpace(const char* position);
inline char* CMN_SkipToSpace(char* position) {
    return const_cast<char*>(CMN_SkipToSpace(static_cast<const char*>(position)));
}
// Past the next ']' and the white space after it: 1. No ']': *position at the end, 0.
int CMN_SkipPastBracket(const char** position);
inline int CMN_SkipPastBracket(char** position) {
    return CMN_SkipPastBracket(const_cast<const char**>(position));
}
void CMN_TrimRight(char* text);
void CMN_TrimRight(std::string& text);
// Characters before the first blank, tab, end or delimiter (0: no delimiter); 0 when the text
// starts with a blank.
std::size_t CMN_TokenLength(const char* text, char delimiter);
// In place: the part after the last '/' or '\\', cut at its last '.'.
void CMN_BaseName(char* path);
// fopen with 'b' inserted after the mode's first letter ("r" -> "rb", "w+" -> "wb+").
std::FILE* CMN_OpenBinary(const char* path, const char* mode);

struct CMN_LINE_ITEMS {
    int max = 0;     // how many items to keep
    int stored = 0;  // items kept
    int count = 0;   // items found (may exceed max)
    // max slots; slots at or beyond stored are empty. Reusing one CMN_LINE_ITEMS for many
    // lines reuses its storage.
    std::vector<std::string> items;

    // The i-th stored item, or nullptr for a slot beyond stored.
    const char* item(int i) const {
        return i >= 0 && i < stored ? items[static_cast<std::size_t>(i)].c_str() : nullptr;
    }
};

// Splits text into items separated by white space; the delimiter character (0: none) also ends
// an item and is an item of its own. Keeps at most max items, counts all. Returns 1 (the
// items are std::strings, so an allocation failure surfaces as std::bad_alloc).
int CMN_SplitLine(const char* text, int max, char delimiter, CMN_LINE_ITEMS* items);
int CMN_SplitWords(const char* text, int max, CMN_LINE_ITEMS* items);
void CMN_FreeLineItems(CMN_LINE_ITEMS* items);

// Number readers. Results: 0 nothing read, 1 the whole text read, 2 characters follow the
// number; the value is stored for 1 and 2. Decimal C notation only: no hex, "inf" or "nan".

int CMN_GetUnsigned(const char* text, std::uint32_t* value);  // decimal; "-..." and overflow: 0
int CMN_GetDouble(const char* text, double* value);
// A number with an optional scale letter (T G M k m u n p f) or unit letters: 0 no number or
// an illegal character after it, 1 read, 2 read but digits follow the scale letter ("1.5n2").
int CMN_GetValue(const char* text, double* value);
// "NA" in any case: value 0, *isNA 1, result 1; else *isNA 0 and CMN_GetValue's result.
int CMN_GetValueOrNA(const char* text, double* value, int* isNA);
// One typ/min/max column: state 0 no text, 1 a number, 2 "NA". Reports 1909 (returns 0) and
// 1910; otherwise returns 1.
int CMN_CheckValue(const char* text, const char* itemName, const char* columnName, double* value,
                   int* state);

inline constexpr std::size_t CMN_CHECKED_FIELD_SIZE = 1024;

void CMN_CopyLimited(std::string& field, const char* text, unsigned limit, const char* label);
int CMN_SetOnce(std::string& field, const char* text, unsigned limit, const char* label);
int CMN_SetOnceChecked(std::string& field, const char* text, unsigned limit, const char* label);
// The codes with which a "name = value" line reports a malformed line (with the name), more
// than three items (with the count, the name and 3) and an unreadable value (with the name and
// the text).
struct CMN_NameValueCodes {
    int invalidLine;
    int count;
    int invalidValue;
};
// Reads a "name = value" line, split at blanks and "=" into three items, into *value; returns 1
// when a value was read, else 0 after its report. Extra items are reported and the first three
// used.
int CMN_ReadNameValue(const char* text, const char* name, const CMN_NameValueCodes& codes,
                      CMN_LINE_ITEMS& items, double* value);
// Error 1915 with the label and the file-name hook's name when seen is 0.
void CMN_CheckRequired(const char* label, int seen);

// Reserved words: GND, NC, POWER, CIRCUITCALL, NA (any case).
int CMN_IsNotReserved(const char* name);
// Error 1916 for a reserved name; returns 1 when the name is not reserved, else 0.
int CMN_CheckReserved(const char* name);

enum CMN_RLC_KIND {
    CMN_RLC_ERROR = 0,
    CMN_RLC_LEN = 1,
    CMN_RLC_R = 2,
    CMN_RLC_C = 3,
    CMN_RLC_L = 4,
    CMN_RLC_END = 5,       // "/"
    CMN_RLC_PREMATURE = 6  // end of text
};
// Reads one "Len=..", "R=..", "C=..", "L=.." item or the closing "/"; *position receives where
// reading stopped. After an unknown name reading stops at its end, so the "=" and the value
// that follow are read (and reported) as items of their own.
int CMN_GetRLCItem(const char* text, double* value, const char** position);
