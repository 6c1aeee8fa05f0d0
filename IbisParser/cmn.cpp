// The diagnostic service: lookup by code, level filtering, counting, the printed line format
// with its wrapping rule, and the summary.
#include "IbisParser/cmn.h"

#include <algorithm>
#include <atomic>
#include <cstdarg>
#include <cstdlib>

namespace {

std::atomic<std::FILE*> outputStream{nullptr};
std::atomic<std::uint32_t> bugCount{0};
std::atomic<std::uint32_t> errorCount{0};
std::atomic<std::uint32_t> warningCount{0};
std::atomic<std::uint32_t> cautionCount{0};
std::atomic<bool> quietBugs{false};
std::atomic<bool> quietErrors{false};
std::atomic<bool> quietWarnings{false};
std::atomic<bool> keepIllegalChars{false};
// The per-file cap on printed diagnostics; those beyond it are still counted.
std::atomic<std::uint64_t> maxDiagnostics{UINT64_MAX};
std::atomic<std::uint64_t> printedCount{0};
std::atomic<std::uint64_t> hiddenCount{0};

// Neither can be changed: cautions stay hidden and output uses the word form. The code paths
// that honour them are kept so that the settings mean what they say.
constexpr bool kShowCautions = false;
constexpr bool kNumberedForm = false;

unsigned long NoLineNumber() { return 0; }
const char* NoFileName() { return ""; }
std::atomic<CMN_LineNumberFn> lineNumberHook{&NoLineNumber};
std::atomic<CMN_FileNameFn> fileNameHook{&NoFileName};

std::FILE* Output() {
    std::FILE* stream = outputStream.load(std::memory_order_relaxed);
    if (stream == nullptr) {
        stream = stdout;
        outputStream.store(stream, std::memory_order_relaxed);
    }
    return stream;
}

bool Silenced(CMN_Level level) {
    switch (level) {
    case CMN_Level::Bug: return quietBugs.load(std::memory_order_relaxed);
    case CMN_Level::Error: return quietErrors.load(std::memory_order_relaxed);
    case CMN_Level::Warning: return quietWarnings.load(std::memory_order_relaxed);
    case CMN_Level::Caution: return !kShowCautions;
    case CMN_Level::Note: return false;
    }
    return false;
}

void Count(CMN_Level level) {
    switch (level) {
    case CMN_Level::Bug: ++bugCount; break;
    case CMN_Level::Error: ++errorCount; break;
    case CMN_Level::Warning: ++warningCount; break;
    case CMN_Level::Caution: ++cautionCount; break;
    case CMN_Level::Note: break;
    }
}

struct LevelForm {
    const char* word;
    char letter;
    // Shortest text length that wraps, without and with a line number; the longest is 75.
    std::size_t wrapFrom;
    std::size_t wrapFromWithLine;
};

const LevelForm& FormOf(CMN_Level level) {
    static constexpr LevelForm forms[] = {
        {"PROGRAM BUG", 'B', 0, 0}, {"ERROR", 'E', 72, 60}, {"WARNING", 'W', 70, 58},
        {"CAUTION", 'C', 70, 58},   {"NOTE", 'N', 73, 61},
    };
    return forms[static_cast<int>(level)];
}

constexpr std::size_t kLongestWrapped = 75;

bool Wraps(CMN_Level level, bool withLine, std::size_t length) {
    if (level == CMN_Level::Bug) return false;
    const LevelForm& form = FormOf(level);
    std::size_t from = withLine ? form.wrapFromWithLine : form.wrapFrom;
    return length >= from && length <= kLongestWrapped;
}

// printf into a stack buffer, or into a string when the text is longer: never truncated.
class FormattedText {
public:
    FormattedText(const char* format, std::va_list args) {
        std::va_list copy;
        va_copy(copy, args);
        int needed = std::vsnprintf(small_, sizeof small_, format, copy);
        va_end(copy);
        if (needed < 0) return;
        if (static_cast<std::size_t>(needed) < sizeof small_) {
            text_ = std::string_view(small_, static_cast<std::size_t>(needed));
            return;
        }
        large_.resize(static_cast<std::size_t>(needed));
        std::vsnprintf(large_.data(), large_.size() + 1, format, args);
        text_ = large_;
    }
    std::string_view View() const { return text_; }

private:
    char small_[512];
    std::string large_;
    std::string_view text_;
};

// The head of a printed diagnostic up to its text: "ERROR (line    7) - ", or with " -\n    "
// when the text goes on a line of its own.
std::size_t FormatHead(char (&head)[64], CMN_Level level, int code, bool withLine,
                       unsigned long line, std::size_t textLength, bool numbered) {
    const LevelForm& form = FormOf(level);
    int length = numbered ? std::snprintf(head, sizeof head, "%c%04d", form.letter, code)
                          : std::snprintf(head, sizeof head, "%s", form.word);
    if (withLine) {
        length += std::snprintf(head + length, sizeof head - static_cast<std::size_t>(length),
                                " (line %*lu)", 4, line);
    }
    const char* separator = Wraps(level, withLine, textLength) ? " -\n    " : " - ";
    length += std::snprintf(head + length, sizeof head - static_cast<std::size_t>(length), "%s",
                            separator);
    return static_cast<std::size_t>(length);
}

void Report(CMN_Level level, bool withLine, int code, std::va_list args) {
    const char* format = CMN_FindMessage(code);
    if (format == nullptr) {
        if (kNumberedForm) std::fprintf(Output(), "I%04d - %s\n", 0, CMN_FindMessage(0));
        return;
    }
    if (Silenced(level)) return;
    FormattedText text(format, args);
    unsigned long line = withLine ? CMN_CurrentLineNumber() : 0;
    Count(level);
    if (printedCount.load(std::memory_order_relaxed) >=
        maxDiagnostics.load(std::memory_order_relaxed)) {
        ++hiddenCount;
        return;
    }
    ++printedCount;
    char head[64];
    std::size_t headLength =
        FormatHead(head, level, code, withLine, line, text.View().size(), kNumberedForm);
    std::FILE* out = Output();
    std::fwrite(head, 1, headLength, out);
    std::fwrite(text.View().data(), 1, text.View().size(), out);
    std::fputc('\n', out);
}

}  // namespace

const char* CMN_FindMessage(int code) {
    std::span<const CMN_MESSAGE> table = CMN_GetMessageTable();
    auto found = std::lower_bound(table.begin(), table.end(), code,
                                  [](const CMN_MESSAGE& entry, int c) { return entry.code < c; });
    if (found == table.end() || found->code != code) return nullptr;
    return found->format;
}

std::string CMN_FormatDiagnostic(CMN_Level level, int code, bool withLine, unsigned long line,
                                 std::string_view text, bool numbered) {
    char head[64];
    std::string out(head, FormatHead(head, level, code, withLine, line, text.size(), numbered));
    out += text;
    out += '\n';
    return out;
}

#define CMN_DEFINE_REPORTER(name, level, withLine) \
    void name(int code, ...) { \
        std::va_list args; \
        va_start(args, code); \
        Report(level, withLine, code, args); \
        va_end(args); \
    }

CMN_DEFINE_REPORTER(CMN_Bug, CMN_Level::Bug, false)
CMN_DEFINE_REPORTER(CMN_BugLine, CMN_Level::Bug, true)
CMN_DEFINE_REPORTER(CMN_Error, CMN_Level::Error, false)
CMN_DEFINE_REPORTER(CMN_ErrorLine, CMN_Level::Error, true)
CMN_DEFINE_REPORTER(CMN_Warning, CMN_Level::Warning, false)
CMN_DEFINE_REPORTER(CMN_WarningLine, CMN_Level::Warning, true)
CMN_DEFINE_REPORTER(CMN_Caution, CMN_Level::Caution, false)
CMN_DEFINE_REPORTER(CMN_Note, CMN_Level::Note, false)
CMN_DEFINE_REPORTER(CMN_NoteLine, CMN_Level::Note, true)

#undef CMN_DEFINE_REPORTER

void CMN_PrintSummary() {
    std::FILE* out = Output();
    long bugs = bugCount.load();
    long errors = errorCount.load();
    long warnings = warningCount.load();
    long cautions = cautionCount.load();
    if (std::uint64_t hidden = hiddenCount.load(); hidden != 0) {
        std::fprintf(out, "Diagnostics not shown: %llu\n", static_cast<unsigned long long>(hidden));
    }
    if (bugs != 0 || errors != 0 || warnings != 0) {
        std::fputc('\n', out);
        if (bugs != 0) std::fprintf(out, "Bugs    : %ld\n", bugs);
    }
    std::fprintf(out, "Errors  : %ld\n", errors);
    if (warnings != 0) std::fprintf(out, "Warnings: %ld\n", warnings);
    if (cautions != 0) std::fprintf(out, "Cautions: %ld\n", cautions);
    std::fprintf(out, "\nFile %s\n", bugs == 0 && errors == 0 ? "Passed" : "Failed");
}

void CMN_GetCounts(std::uint32_t* bugs, std::uint32_t* errors, std::uint32_t* warnings) {
    if (bugs != nullptr) *bugs = bugCount.load();
    if (errors != nullptr) *errors = errorCount.load();
    if (warnings != nullptr) *warnings = warningCount.load();
}

void CMN_ResetCounts() {
    bugCount = 0;
    errorCount = 0;
    warningCount = 0;
    cautionCount = 0;
    printedCount = 0;
    hiddenCount = 0;
}

void CMN_SetOutput(std::FILE* stream) { outputStream.store(stream); }
void CMN_SetQuietBugs(bool quiet) { quietBugs.store(quiet); }
void CMN_SetQuietErrors(bool quiet) { quietErrors.store(quiet); }
void CMN_SetQuietWarnings(bool quiet) { quietWarnings.store(quiet); }
void CMN_SetMaxDiagnostics(std::uint64_t limit) { maxDiagnostics.store(limit); }

void CMN_SetSourceHooks(CMN_LineNumberFn lineNumber, CMN_FileNameFn fileName) {
    lineNumberHook.store(lineNumber != nullptr ? lineNumber : &NoLineNumber);
    fileNameHook.store(fileName != nullptr ? fileName : &NoFileName);
}

unsigned long CMN_CurrentLineNumber() { return lineNumberHook.load(std::memory_order_relaxed)(); }
const char* CMN_CurrentFileName() { return fileNameHook.load(std::memory_order_relaxed)(); }

void CMN_SetKeepIllegalChars(bool keep) { keepIllegalChars.store(keep); }
bool CMN_GetKeepIllegalChars() { return keepIllegalChars.load(std::memory_order_relaxed); }

void CMN_AssertFailed(const char* module, int line) {
    const char* base = module;
    for (const char* p = module; *p != '\0'; ++p) {
        if (*p == '/' || *p == '\\') base = p + 1;
    }
    std::fprintf(stdout, "%s:%d:assertion failed.\n", base, line);
    std::fflush(stdout);
    std::exit(EXIT_FAILURE);
}
