// Checking report arguments against the printf-style texts of the message table.
//
// A report call names its code first; the code is taken by CMN_CodeFor<Args...>, whose
// consteval constructor finds the code's text in the table and checks the kinds of the
// arguments that follow against its conversions, so a call that does not fit its text does not
// compile. The compiler's message then shows the code, in the expansion of
// CMN_CodeFor<...>(code), and one of the functions below that say what is wrong:
//   CMN_ReportCodeHasNoMessage, CMN_ReportHasTooFewArguments, CMN_ReportHasTooManyArguments,
//   CMN_ReportArgumentDoesNotFit (with the argument's position, 1 is the first after the code),
//   CMN_ReportTextHasUnknownConversion.
//
// What fits a conversion: %s takes const char*, char*, a char array, std::string or
// std::string_view; %d %i %u %o %x %X %c take an integer of any width (bool, char and plain
// enums included); %e %f %g (and their capitals) take a floating-point value; a '*' width or
// precision takes an integer before the value; "%%" takes nothing.
//
// A code known only at run time is given as CMN_RuntimeCode(code): the same check then runs
// when the report is made, and a mismatch is reported as a program bug.
#pragma once

#include <concepts>
#include <cstddef>
#include <string>
#include <string_view>
#include <type_traits>

#include "IbisParser/cmn_messages.h"

// What a conversion takes. None: "%%"; Invalid: a conversion the checker does not know (or an
// argument of a kind that fits no conversion).
enum class CMN_ArgClass : unsigned char { None, Integer, Floating, Text, Invalid };

// The length modifier of a conversion, which fixes the C type its value is printed as.
enum class CMN_ArgLength : unsigned char {
    None,
    Char,
    Short,
    Long,
    LongLong,
    Size,
    Max,
    Diff,
    LongDouble
};

struct CMN_CONVERSION {
    const char* start = nullptr;  // the '%'; nullptr: no conversion left in the text
    const char* end = nullptr;    // just past the conversion letter
    CMN_ArgClass takes = CMN_ArgClass::None;
    CMN_ArgLength length = CMN_ArgLength::None;
    char letter = '\0';
    int stars = 0;  // '*' width and precision, each an int argument before the value
};

// The first conversion of text at or after position (the text starts in literal text).
constexpr CMN_CONVERSION CMN_NextConversion(const char* position) {
    CMN_CONVERSION found;
    while (*position != '\0' && *position != '%') ++position;
    if (*position == '\0') return found;
    found.start = position++;
    if (*position == '%') {
        found.letter = '%';
        found.end = position + 1;
        return found;
    }
    auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
    while (*position == '-' || *position == '+' || *position == ' ' || *position == '#' ||
           *position == '0') {
        ++position;
    }
    if (*position == '*') {
        ++found.stars;
        ++position;
    } else {
        while (isDigit(*position)) ++position;
    }
    if (*position == '.') {
        ++position;
        if (*position == '*') {
            ++found.stars;
            ++position;
        } else {
            while (isDigit(*position)) ++position;
        }
    }
    switch (*position) {
    case 'h':
        ++position;
        found.length = CMN_ArgLength::Short;
        if (*position == 'h') {
            ++position;
            found.length = CMN_ArgLength::Char;
        }
        break;
    case 'l':
        ++position;
        found.length = CMN_ArgLength::Long;
        if (*position == 'l') {
            ++position;
            found.length = CMN_ArgLength::LongLong;
        }
        break;
    case 'z':
        ++position;
        found.length = CMN_ArgLength::Size;
        break;
    case 'j':
        ++position;
        found.length = CMN_ArgLength::Max;
        break;
    case 't':
        ++position;
        found.length = CMN_ArgLength::Diff;
        break;
    case 'L':
        ++position;
        found.length = CMN_ArgLength::LongDouble;
        break;
    default: break;
    }
    found.letter = *position;
    found.end = *position == '\0' ? position : position + 1;
    const CMN_ArgLength length = found.length;
    switch (found.letter) {
    case 'd':
    case 'i':
    case 'u':
    case 'o':
    case 'x':
    case 'X':
        found.takes =
            length == CMN_ArgLength::LongDouble ? CMN_ArgClass::Invalid : CMN_ArgClass::Integer;
        break;
    case 'c':
        found.takes = length == CMN_ArgLength::None ? CMN_ArgClass::Integer : CMN_ArgClass::Invalid;
        break;
    case 'e':
    case 'E':
    case 'f':
    case 'F':
    case 'g':
    case 'G':
        found.takes = length == CMN_ArgLength::None || length == CMN_ArgLength::Long ||
                              length == CMN_ArgLength::LongDouble
                          ? CMN_ArgClass::Floating
                          : CMN_ArgClass::Invalid;
        break;
    case 's':
        found.takes = length == CMN_ArgLength::None ? CMN_ArgClass::Text : CMN_ArgClass::Invalid;
        break;
    default: found.takes = CMN_ArgClass::Invalid; break;
    }
    return found;
}

// What a C++ argument type can be printed as.
template <typename T>
consteval CMN_ArgClass CMN_ArgClassOf() {
    using U = std::decay_t<T>;
    if constexpr (std::is_integral_v<U>) {
        return CMN_ArgClass::Integer;
    } else if constexpr (std::is_enum_v<U>) {
        // A plain enum promotes to an integer; a scoped one must be converted by the caller.
        return std::is_convertible_v<U, int> ? CMN_ArgClass::Integer : CMN_ArgClass::Invalid;
    } else if constexpr (std::is_floating_point_v<U>) {
        return CMN_ArgClass::Floating;
    } else if constexpr (std::is_same_v<U, const char*> || std::is_same_v<U, char*> ||
                         std::is_same_v<U, std::string> || std::is_same_v<U, std::string_view>) {
        return CMN_ArgClass::Text;
    } else {
        return CMN_ArgClass::Invalid;
    }
}

enum class CMN_FitProblem : unsigned char { None, NoMessage, TooFew, TooMany, Mismatch, Unknown };

struct CMN_FIT {
    CMN_FitProblem problem = CMN_FitProblem::None;
    int argument = 0;  // for Mismatch: the position of the argument, 1 is the first
};

// Whether arguments of the given kinds, in order, fit the conversions of format.
constexpr CMN_FIT CMN_CheckArguments(const char* format, const CMN_ArgClass* kinds,
                                     std::size_t count) {
    if (format == nullptr) return {CMN_FitProblem::NoMessage, 0};
    std::size_t next = 0;
    auto take = [&](CMN_ArgClass wanted) -> CMN_FIT {
        if (next == count) return {CMN_FitProblem::TooFew, 0};
        if (kinds[next] != wanted) return {CMN_FitProblem::Mismatch, static_cast<int>(next) + 1};
        ++next;
        return {};
    };
    for (CMN_CONVERSION conversion = CMN_NextConversion(format); conversion.start != nullptr;
         conversion = CMN_NextConversion(conversion.end)) {
        if (conversion.letter == '%') continue;
        if (conversion.takes == CMN_ArgClass::Invalid) return {CMN_FitProblem::Unknown, 0};
        for (int star = 0; star < conversion.stars; ++star) {
            CMN_FIT fit = take(CMN_ArgClass::Integer);
            if (fit.problem != CMN_FitProblem::None) return fit;
        }
        CMN_FIT fit = take(conversion.takes);
        if (fit.problem != CMN_FitProblem::None) return fit;
    }
    if (next != count) return {CMN_FitProblem::TooMany, 0};
    return {};
}

// Never defined: a consteval check calls one of them to stop the compilation with a message
// that names the problem, the code and, for a mismatch, the argument's position.
void CMN_ReportCodeHasNoMessage(int code);
void CMN_ReportHasTooFewArguments(int code);
void CMN_ReportHasTooManyArguments(int code);
void CMN_ReportArgumentDoesNotFit(int code, int argument);
void CMN_ReportTextHasUnknownConversion(int code);

// Stops a constant evaluation when fit names a problem.
constexpr void CMN_RequireFit(int code, CMN_FIT fit) {
    switch (fit.problem) {
    case CMN_FitProblem::None: break;
    case CMN_FitProblem::NoMessage: CMN_ReportCodeHasNoMessage(code); break;
    case CMN_FitProblem::TooFew: CMN_ReportHasTooFewArguments(code); break;
    case CMN_FitProblem::TooMany: CMN_ReportHasTooManyArguments(code); break;
    case CMN_FitProblem::Mismatch: CMN_ReportArgumentDoesNotFit(code, fit.argument); break;
    case CMN_FitProblem::Unknown: CMN_ReportTextHasUnknownConversion(code); break;
    }
}

// A message code checked, when the call is compiled, against the argument types Args.
template <typename... Args>
class CMN_CodeFor {
public:
    consteval CMN_CodeFor(int code) : code_(code) {
        constexpr CMN_ArgClass kinds[] = {CMN_ArgClassOf<Args>()..., CMN_ArgClass::None};
        CMN_RequireFit(code, CMN_CheckArguments(CMN_FindMessageIn(code), kinds, sizeof...(Args)));
    }
    constexpr int Value() const { return code_; }

private:
    int code_;
};

// A message code known only at run time; its arguments are checked when the report is made.
class CMN_RuntimeCode {
public:
    constexpr explicit CMN_RuntimeCode(int code) : code_(code) {}
    constexpr int Value() const { return code_; }

private:
    int code_;
};

// One report argument with its type erased; texts keep their length so that a
// std::string_view needs no terminating zero.
struct CMN_ARG {
    CMN_ArgClass kind = CMN_ArgClass::Invalid;
    bool isUnsigned = false;  // Integer: the value is held in u
    bool terminated = false;  // Text: text[length] is '\0' (or text is nullptr)
    long long i = 0;
    unsigned long long u = 0;
    long double d = 0;
    const char* text = nullptr;
    std::size_t length = 0;

    template <typename T>
    static CMN_ARG From(const T& value) {
        CMN_ARG arg;
        arg.kind = CMN_ArgClassOf<T>();
        using U = std::decay_t<T>;
        if constexpr (std::is_enum_v<U>) {
            if constexpr (std::is_convertible_v<U, int>) {
                arg.i = static_cast<long long>(static_cast<std::underlying_type_t<U>>(value));
            }
        } else if constexpr (std::is_integral_v<U>) {
            if constexpr (std::is_unsigned_v<U>) {
                arg.isUnsigned = true;
                arg.u = value;
            } else {
                arg.i = value;
            }
        } else if constexpr (std::is_floating_point_v<U>) {
            arg.d = value;
        } else if constexpr (std::is_same_v<U, std::string>) {
            arg.text = value.c_str();
            arg.length = value.size();
            arg.terminated = true;
        } else if constexpr (std::is_same_v<U, std::string_view>) {
            arg.text = value.data();
            arg.length = value.size();
        } else if constexpr (std::is_same_v<U, const char*> || std::is_same_v<U, char*>) {
            arg.text = value;
            arg.terminated = true;
        }
        return arg;
    }
};
