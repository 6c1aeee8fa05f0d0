// Number reading (plain, with IBIS scale letters, with "NA"), keyword text fields, reserved
// words and the R/L/C item reader.
#include "IbisParser/cmn.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdlib>
#include <cstring>

namespace {

// The C locale's classes, without a library call per character.
bool IsSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

const char* SkipDigits(const char* p) {
    while (IsDigit(*p)) ++p;
    return p;
}

// Most numbers in IBIS files have few digits and a small exponent: then the digits as an
// integer and one multiplication or division by an exact power of ten give the correctly
// rounded value. False when the number does not fit that form; text is the number's extent.
bool ReadShortDecimal(const char* text, const char* end, double* value) {
    static constexpr double kPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                         1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                         1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    constexpr std::uint64_t kExactMantissa = std::uint64_t{1} << 53;
    const char* p = text;
    const bool negative = *p == '-';
    if (*p == '+' || *p == '-') ++p;
    std::uint64_t mantissa = 0;
    int digits = 0;
    int exponent = 0;
    for (; p < end && IsDigit(*p); ++p) {
        if (mantissa == 0 && *p == '0') continue;
        if (++digits > 15) return false;
        mantissa = mantissa * 10 + static_cast<std::uint64_t>(*p - '0');
    }
    if (p < end && *p == '.') {
        for (++p; p < end && IsDigit(*p); ++p) {
            --exponent;
            if (mantissa == 0 && *p == '0') continue;
            if (++digits > 15) return false;
            mantissa = mantissa * 10 + static_cast<std::uint64_t>(*p - '0');
        }
    }
    if (p < end) {  // the exponent
        ++p;
        const bool negativeExponent = *p == '-';
        if (*p == '+' || *p == '-') ++p;
        int written = 0;
        for (; p < end; ++p) {
            if (written > 1000) return false;
            written = written * 10 + (*p - '0');
        }
        exponent += negativeExponent ? -written : written;
    }
    if (mantissa >= kExactMantissa || exponent < -22 || exponent > 22) return false;
    double result = static_cast<double>(mantissa);
    result = exponent < 0 ? result / kPowers[-exponent] : result * kPowers[exponent];
    *value = negative ? -result : result;
    return true;
}

// Reads a decimal floating-point number in C notation (leading white space, sign, digits with
// an optional point, optional exponent). Hexadecimal forms, "inf" and "nan" are not numbers
// here. Returns the end of the number, or nullptr when there is none.
const char* ReadNumber(const char* text, double* value) {
    const char* start = text;
    while (IsSpace(*start)) ++start;
    const char* p = start;
    if (*p == '+' || *p == '-') ++p;
    const char* mantissa = p;
    p = SkipDigits(p);
    bool digits = p != mantissa;
    if (*p == '.') {
        const char* fraction = p + 1;
        p = SkipDigits(fraction);
        digits = digits || p != fraction;
    }
    if (!digits) return nullptr;
    if (*p == 'e' || *p == 'E') {
        const char* exponent = p + 1;
        if (*exponent == '+' || *exponent == '-') ++exponent;
        if (IsDigit(*exponent)) p = SkipDigits(exponent);
    }
    if (ReadShortDecimal(start, p, value)) return p;
    const char* first = *start == '+' ? start + 1 : start;
    double parsed = 0.0;
    auto [end, error] = std::from_chars(first, p, parsed, std::chars_format::general);
    if (error == std::errc::result_out_of_range) {
        // Overflow and underflow take the C library's values (HUGE_VAL, zero or denormal).
        parsed = std::strtod(std::string(start, p).c_str(), nullptr);
    } else if (error != std::errc() || end != p) {
        return nullptr;
    }
    *value = parsed;
    return p;
}

double ScaleFactor(char letter) {
    switch (letter) {
    case 'T': return 1e12;
    case 'G': return 1e9;
    case 'M': return 1e6;
    case 'k': return 1e3;
    case 'm': return 1e-3;
    case 'u': return 1e-6;
    case 'n': return 1e-9;
    case 'p': return 1e-12;
    case 'f': return 1e-15;
    default: return 1.0;  // a unit letter (V, Ohm, ...)
    }
}

// "NA" in any letter case.
bool IsNA(const char* text) {
    return (text[0] | 0x20) == 'n' && (text[1] | 0x20) == 'a' && text[2] == '\0';
}

}  // namespace

int CMN_GetUnsigned(const char* text, std::uint32_t* value) {
    CMN_ASSERT(text != nullptr && value != nullptr);
    const char* p = text;
    while (IsSpace(*p)) ++p;
    if (*p == '-') return 0;
    if (*p == '+') ++p;
    const char* digitsEnd = SkipDigits(p);
    std::uint32_t parsed = 0;
    auto [end, error] = std::from_chars(p, digitsEnd, parsed, 10);
    if (error != std::errc() || end == p) return 0;  // nothing read, or beyond 32 bits
    *value = parsed;
    return *end == '\0' ? 1 : 2;
}

int CMN_GetDouble(const char* text, double* value) {
    CMN_ASSERT(text != nullptr && value != nullptr);
    const char* end = ReadNumber(text, value);
    if (end == nullptr) return 0;
    return *end == '\0' ? 1 : 2;
}

int CMN_GetValue(const char* text, double* value) {
    CMN_ASSERT(text != nullptr && value != nullptr);
    double number = 0.0;
    const char* end = ReadNumber(text, &number);
    if (end == nullptr) return 0;
    if (*end == '\0') {
        *value = number;
        return 1;
    }
    if (!IsLetter(*end)) return 0;
    *value = number * ScaleFactor(*end);
    for (const char* p = end; *p != '\0'; ++p) {
        if (IsDigit(*p)) return 2;
    }
    return 1;
}

int CMN_GetValueOrNA(const char* text, double* value, int* isNA) {
    CMN_ASSERT(text != nullptr && value != nullptr && isNA != nullptr);
    if (IsNA(text)) {
        *value = 0.0;
        *isNA = 1;
        return 1;
    }
    *isNA = 0;
    return CMN_GetValue(text, value);
}

int CMN_CheckValue(const char* text, const char* itemName, const char* columnName, double* value,
                   int* state) {
    CMN_ASSERT(value != nullptr && state != nullptr);
    *state = 0;
    if (text == nullptr) return 1;
    if (IsNA(text)) {
        *value = 0.0;
        *state = 2;
        return 1;
    }
    switch (CMN_GetValue(text, value)) {
    case 0: CMN_ErrorLine(1909, columnName, text); return 0;
    case 2: CMN_WarningLine(1910, columnName, itemName, text); break;
    default: break;
    }
    *state = 1;
    return 1;
}

void CMN_CopyLimited(std::string& field, const char* text, unsigned limit, const char* label) {
    CMN_ASSERT(text != nullptr);
    std::size_t length = std::strlen(text);
    if (length > limit) {
        CMN_ErrorLine(1912, label, text, limit);
        length = limit;
    } else if (length == 0) {
        CMN_ErrorLine(1913, label);
    }
    field.assign(text, length);
}

int CMN_SetOnce(std::string& field, const char* text, unsigned limit, const char* label) {
    if (!field.empty()) {
        CMN_ErrorLine(1911, label);
        return 0;
    }
    CMN_CopyLimited(field, text, limit, label);
    return 1;
}

int CMN_SetOnceChecked(std::string& field, const char* text, unsigned limit, const char* label) {
    CMN_ASSERT(text != nullptr);
    if (!field.empty()) {
        CMN_ErrorLine(1911, label);
        return 0;
    }
    std::size_t length = std::strlen(text);
    if (length > limit) {
        CMN_ErrorLine(1914, label, text, limit);
    } else if (length == 0) {
        CMN_ErrorLine(1913, label);
    }
    field.assign(text, std::min(length, CMN_CHECKED_FIELD_SIZE));
    return 1;
}

void CMN_CheckRequired(const char* label, int seen) {
    if (seen == 0) CMN_Error(1915, label, CMN_CurrentFileName());
}

int CMN_IsNotReserved(const char* name) {
    static constexpr const char* reserved[] = {"GND", "NC", "POWER", "CIRCUITCALL", "NA"};
    for (const char* word : reserved) {
        if (CMN_StrEqualNoCase(name, word)) return 0;
    }
    return 1;
}

int CMN_CheckReserved(const char* name) {
    if (CMN_IsNotReserved(name)) return 1;
    CMN_ErrorLine(1916, name);
    return 0;
}

namespace {

bool IsBlankOrTab(char c) { return c == ' ' || c == '\t'; }

int RLCKind(std::string_view name) {
    if (name == "Len") return CMN_RLC_LEN;
    if (name == "R") return CMN_RLC_R;
    if (name == "C") return CMN_RLC_C;
    if (name == "L") return CMN_RLC_L;
    return CMN_RLC_ERROR;
}

const char* SkipValue(const char* p) {
    while (*p != '\0' && !IsBlankOrTab(*p) && *p != '/') ++p;
    return p;
}

// Reads the value after "=": the kind on success or a reported bad number, 6 at the end.
int ReadRLCValue(const char* p, int kind, double* value, const char** stop) {
    p = CMN_SkipSpace(p);
    *stop = p;
    if (*p == '\0') {
        CMN_ErrorLine(1920);
        return CMN_RLC_PREMATURE;
    }
    const char* end = SkipValue(p);
    if (end == p) {
        CMN_ErrorLine(1923);
        *value = 0.0;
    } else {
        std::string item(p, end);
        if (CMN_GetValue(item.c_str(), value) != 1) CMN_ErrorLine(1922, item.c_str());
    }
    *stop = CMN_SkipSpace(end);
    return kind;
}

int ReadRLCItem(const char* p, double* value, const char** stop) {
    while (IsBlankOrTab(*p)) ++p;
    *stop = p;
    if (*p == '\0') return CMN_RLC_PREMATURE;
    if (*p == '/') {
        *stop = CMN_SkipSpace(p + 1);
        return CMN_RLC_END;
    }
    if (*p == '=') {
        CMN_ErrorLine(1918);
        *stop = CMN_SkipSpace(p + 1);
        return CMN_RLC_ERROR;
    }
    const char* nameEnd = p;
    while (*nameEnd != '\0' && !IsBlankOrTab(*nameEnd) && *nameEnd != '=' && *nameEnd != '/') {
        ++nameEnd;
    }
    std::string name(p, nameEnd);
    int kind = RLCKind(name);
    if (kind == CMN_RLC_ERROR) {
        CMN_ErrorLine(1919, name.c_str());
        *stop = nameEnd;
        return CMN_RLC_ERROR;
    }
    const char* equals = CMN_SkipSpace(nameEnd);
    *stop = equals;
    if (*equals == '\0') {
        CMN_ErrorLine(1920);
        return CMN_RLC_PREMATURE;
    }
    if (*equals != '=') {
        CMN_ErrorLine(1921);
        const char* slash = std::strchr(equals, '/');
        *stop = slash != nullptr ? slash + 1 : equals + std::strlen(equals);
        return CMN_RLC_ERROR;
    }
    return ReadRLCValue(equals + 1, kind, value, stop);
}

}  // namespace

int CMN_GetRLCItem(const char* text, double* value, const char** position) {
    CMN_ASSERT(text != nullptr && value != nullptr);
    const char* stop = text;
    int kind = ReadRLCItem(text, value, &stop);
    if (position != nullptr) *position = stop;
    return kind;
}

int CMN_ReadNameValue(const char* text, const char* name, const CMN_NameValueCodes& codes,
                      CMN_LINE_ITEMS& items, double* value) {
    CMN_SplitLine(text, 3, '=', &items);
    if (items.count < 3) {
        CMN_ErrorLine(CMN_RuntimeCode(codes.invalidLine), name);
        return 0;
    }
    if (items.count > 3) CMN_ErrorLine(CMN_RuntimeCode(codes.count), items.count, name, 3);
    if (items.items[1] != "=") {
        CMN_ErrorLine(CMN_RuntimeCode(codes.invalidLine), name);
        return 0;
    }
    double read = 0.0;
    if (CMN_GetValue(items.item(2), &read) == 0) {
        CMN_ErrorLine(CMN_RuntimeCode(codes.invalidValue), name, items.item(2));
        return 0;
    }
    *value = read;
    return 1;
}
