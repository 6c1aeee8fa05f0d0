#pragma once

// Number and white-space reading with the C locale's rules, whatever locale the host process
// has set. A simulator may switch LC_NUMERIC to a comma-decimal locale, yet parameter strings
// always write 0.1; the plain C library functions would then stop at the '.'.

// The C locale's white space: blank, tab, newline, vertical tab, form feed, carriage return.
inline bool IsCSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

inline const char* SkipCSpace(const char* text) {
    while (IsCSpace(*text)) ++text;
    return text;
}

// strtod and base-10 strtol as they behave in the C locale: same accepted syntax (leading
// white space, sign, hexadecimal, inf and nan for strtod), same end pointer, same range
// handling.
double CStrtod(const char* text, char** end);
long CStrtol(const char* text, char** end);
