// The diagnostic service: lookup by code, level filtering, counting, the printed line format
// with its wrapping rule, and the summary.
#include "IbisParser/cmn.h"

#include <algorithm>
#include <atomic>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <iterator>

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

// A message text formatted by printf rules, conversion by conversion, into a stack buffer, or
// into a string when the text is longer: never truncated. The arguments fit the format (they
// were checked); asWritten takes the format as the text, conversions and all.
class FormattedText {
public:
    FormattedText(const char* format, const CMN_ARG* args, std::size_t count, bool asWritten) {
        if (asWritten) {
            Append(format, std::strlen(format));
            return;
        }
        std::size_t next = 0;
        auto take = [&]() -> const CMN_ARG& {
            static const CMN_ARG none;
            return next < count ? args[next++] : none;
        };
        const char* literal = format;
        for (CMN_CONVERSION conversion = CMN_NextConversion(format); conversion.start != nullptr;
             conversion = CMN_NextConversion(conversion.end)) {
            Append(literal, static_cast<std::size_t>(conversion.start - literal));
            literal = conversion.end;
            if (conversion.letter == '%') {
                Append("%", 1);
                continue;
            }
            int stars[2] = {0, 0};
            for (int star = 0; star < conversion.stars; ++star) stars[star] = AsInt(take());
            Convert(conversion, stars, take());
        }
        Append(literal, std::strlen(literal));
    }
    std::string_view View() const { return {Data(), length_}; }

private:
    static int AsInt(const CMN_ARG& arg) {
        return arg.isUnsigned ? static_cast<int>(arg.u) : static_cast<int>(arg.i);
    }

    // One conversion's printf text with its '*' fields written out as numbers.
    struct Spec {
        char text[64];
        std::size_t used = 0;
        bool precisionGiven = false;
        int precision = 0;
    };

    // False when the conversion is too long to be rewritten (no text in the table comes near).
    static bool WriteSpec(const CMN_CONVERSION& conversion, const int (&stars)[2], Spec& spec) {
        const std::size_t length = static_cast<std::size_t>(conversion.end - conversion.start);
        if (length + 2 * 12 >= sizeof spec.text) return false;
        int star = 0;
        bool inPrecision = false;
        for (const char* p = conversion.start; p != conversion.end; ++p) {
            if (*p == '.') {
                inPrecision = true;
                spec.precisionGiven = true;
            } else if (*p == '*') {
                int value = stars[star++];
                if (inPrecision && value < 0) {
                    --spec.used;  // a negative precision counts as none: drop the '.'
                    spec.precisionGiven = false;
                    continue;
                }
                if (inPrecision) spec.precision = value;
                spec.used += static_cast<std::size_t>(std::snprintf(
                    spec.text + spec.used, sizeof spec.text - spec.used, "%d", value));
                continue;
            } else if (inPrecision && *p >= '0' && *p <= '9') {
                spec.precision = spec.precision * 10 + (*p - '0');
            } else {
                inPrecision = false;
            }
            spec.text[spec.used++] = *p;
        }
        spec.text[spec.used] = '\0';
        return true;
    }

    // Prints one value cast to the C type that the conversion's letter and length modifier name.
    void Convert(const CMN_CONVERSION& conversion, const int (&stars)[2], const CMN_ARG& arg) {
        Spec spec;
        if (!WriteSpec(conversion, stars, spec)) {
            Append(conversion.start, static_cast<std::size_t>(conversion.end - conversion.start));
            return;
        }
        switch (conversion.letter) {
        case 'd':
        case 'i':
            PrintSigned(spec.text, conversion.length,
                        arg.isUnsigned ? static_cast<long long>(arg.u) : arg.i);
            break;
        case 'u':
        case 'o':
        case 'x':
        case 'X':
            PrintUnsigned(spec.text, conversion.length,
                          arg.isUnsigned ? arg.u : static_cast<unsigned long long>(arg.i));
            break;
        case 'c': Print(spec.text, AsInt(arg)); break;
        case 's':
            if (spec.used == 2 && arg.text != nullptr) {
                // A plain "%s", the common case: the text itself.
                Append(arg.text, arg.terminated ? std::strlen(arg.text) : arg.length);
            } else if (arg.terminated || arg.text == nullptr) {
                Print(spec.text, arg.text);
            } else {
                PrintUnterminated(spec, arg);
            }
            break;
        default:
            if (conversion.length == CMN_ArgLength::LongDouble) {
                Print(spec.text, arg.d);
            } else {
                Print(spec.text, static_cast<double>(arg.d));
            }
            break;
        }
    }

    void PrintSigned(const char* spec, CMN_ArgLength length, long long value) {
        switch (length) {
        case CMN_ArgLength::Char: Print(spec, static_cast<signed char>(value)); break;
        case CMN_ArgLength::Short: Print(spec, static_cast<short>(value)); break;
        case CMN_ArgLength::Long: Print(spec, static_cast<long>(value)); break;
        case CMN_ArgLength::LongLong: Print(spec, value); break;
        case CMN_ArgLength::Size:
            Print(spec, static_cast<std::make_signed_t<std::size_t>>(value));
            break;
        case CMN_ArgLength::Max: Print(spec, static_cast<std::intmax_t>(value)); break;
        case CMN_ArgLength::Diff: Print(spec, static_cast<std::ptrdiff_t>(value)); break;
        default: Print(spec, static_cast<int>(value)); break;
        }
    }

    void PrintUnsigned(const char* spec, CMN_ArgLength length, unsigned long long value) {
        switch (length) {
        case CMN_ArgLength::Char: Print(spec, static_cast<unsigned char>(value)); break;
        case CMN_ArgLength::Short: Print(spec, static_cast<unsigned short>(value)); break;
        case CMN_ArgLength::Long: Print(spec, static_cast<unsigned long>(value)); break;
        case CMN_ArgLength::LongLong: Print(spec, value); break;
        case CMN_ArgLength::Size: Print(spec, static_cast<std::size_t>(value)); break;
        case CMN_ArgLength::Max: Print(spec, static_cast<std::uintmax_t>(value)); break;
        case CMN_ArgLength::Diff:
            Print(spec, static_cast<std::make_unsigned_t<std::ptrdiff_t>>(value));
            break;
        default: Print(spec, static_cast<unsigned>(value)); break;
        }
    }

    // A text without a terminating zero (a std::string_view): its length becomes the precision.
    void PrintUnterminated(const Spec& spec, const CMN_ARG& arg) {
        int limit =
            arg.length > static_cast<std::size_t>(INT_MAX) ? INT_MAX : static_cast<int>(arg.length);
        if (spec.precisionGiven && spec.precision < limit) limit = spec.precision;
        char bounded[sizeof spec.text + 4];
        std::size_t at = 0;
        for (std::size_t i = 0; i < spec.used && spec.text[i] != '.' && spec.text[i] != 's'; ++i) {
            bounded[at++] = spec.text[i];
        }
        std::memcpy(bounded + at, ".*s", 4);
        Print(bounded, limit, arg.text);
    }

    template <typename... Values>
    void Print(const char* spec, Values... values) {
        for (;;) {
            std::size_t room = Capacity() - length_;
            int needed = std::snprintf(Data() + length_, room, spec, values...);
            if (needed < 0) return;
            if (static_cast<std::size_t>(needed) < room) {
                length_ += static_cast<std::size_t>(needed);
                return;
            }
            Grow(length_ + static_cast<std::size_t>(needed) + 1);
        }
    }

    void Append(const char* text, std::size_t size) {
        if (length_ + size + 1 > Capacity()) Grow(length_ + size + 1);
        std::memcpy(Data() + length_, text, size);
        length_ += size;
    }

    void Grow(std::size_t wanted) {
        std::size_t size = std::max(wanted, 2 * Capacity());
        if (large_.empty()) {
            large_.resize(size);
            std::memcpy(large_.data(), small_, length_);
        } else {
            large_.resize(size);
        }
    }

    const char* Data() const { return large_.empty() ? small_ : large_.data(); }
    char* Data() { return large_.empty() ? small_ : large_.data(); }
    std::size_t Capacity() const { return large_.empty() ? sizeof small_ : large_.size(); }

    char small_[512];
    std::string large_;
    std::size_t length_ = 0;
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

void Report(CMN_Level level, bool withLine, int code, const CMN_ARG* args, std::size_t count,
            bool asWritten) {
    const char* format = CMN_FindMessage(code);
    if (format == nullptr) {
        if (kNumberedForm) std::fprintf(Output(), "I%04d - %s\n", 0, CMN_FindMessage(0));
        return;
    }
    if (Silenced(level)) return;
    FormattedText text(format, args, count, asWritten);
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

// The run-time form of the compile-time check.
bool ArgumentsFit(const char* format, const CMN_ARG* args, std::size_t count) {
    CMN_ArgClass kinds[16];
    if (count > std::size(kinds)) return false;
    for (std::size_t i = 0; i < count; ++i) kinds[i] = args[i].kind;
    return CMN_CheckArguments(format, kinds, count).problem == CMN_FitProblem::None;
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

void CMN_Report(CMN_Level level, bool withLine, int code, bool checked, const CMN_ARG* args,
                std::size_t count) {
    if (!checked) {
        const char* format = CMN_FindMessage(code);
        if (format != nullptr && !ArgumentsFit(format, args, count)) {
            // The arguments do not fit the text: the text is shown as it stands, as a bug.
            Report(CMN_Level::Bug, withLine, code, nullptr, 0, true);
            return;
        }
    }
    Report(level, withLine, code, args, count, false);
}

bool CMN_FormatText(std::string& out, const char* format, const CMN_ARG* args, std::size_t count) {
    out.clear();
    if (!ArgumentsFit(format, args, count)) return false;
    FormattedText text(format, args, count, false);
    out.assign(text.View());
    return true;
}

std::span<const CMN_MESSAGE> CMN_GetMessageTable() { return CMN_MESSAGE_TABLE; }

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
