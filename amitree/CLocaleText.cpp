#include "amitree/CLocaleText.h"

#include <locale.h>
#include <clocale>
#include <cstdlib>

namespace {

// The C locale object is built once and never changes, so threads may share it.
locale_t CLocale() {
    static const locale_t c = newlocale(LC_ALL_MASK, "C", locale_t{});
    return c;
}

}  // namespace

double CStrtod(const char* text, char** end) {
    if (const locale_t c = CLocale()) return strtod_l(text, end, c);
    // Only when the C locale object cannot be made (no memory): no number is read.
    if (end) *end = const_cast<char*>(text);
    return 0.0;
}

long CStrtol(const char* text, char** end) {
    if (const locale_t c = CLocale()) return strtol_l(text, end, 10, c);
    if (end) *end = const_cast<char*>(text);
    return 0;
}
