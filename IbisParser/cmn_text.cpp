// Allocation that reports its failures, text scanning and comparison, and line splitting.
// Nothing here keeps state between calls, so every function may run on several threads.
#include "IbisParser/cmn.h"

#include <cctype>
#include <cstdlib>
#include <cstring>

namespace {

// The C locale's white space, without a library call per character.
bool IsSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
char Lower(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }
char Upper(char c) { return static_cast<char>(std::toupper(static_cast<unsigned char>(c))); }

// A zero size is a caller's slip, but the model library must never be stopped for it, so it
// gets a minimal block instead of an internal consistency stop.
std::size_t AtLeastOne(std::size_t size) { return size == 0 ? 1 : size; }

}  // namespace

int CMN_AllocBytes(void** owner, std::size_t size) {
    CMN_ASSERT(owner != nullptr);
    void* block = std::calloc(1, AtLeastOne(size));
    if (block == nullptr) {
        CMN_Error(1906, static_cast<unsigned>(size));
        return 0;
    }
    *owner = block;
    return 1;
}

int CMN_ReallocBytes(void** owner, std::size_t size) {
    CMN_ASSERT(owner != nullptr);
    void* block = std::realloc(*owner, AtLeastOne(size));
    if (block == nullptr) {
        CMN_Error(1907, static_cast<unsigned>(size));
        return 0;
    }
    *owner = block;
    return 1;
}

void CMN_Free(void* block) { std::free(block); }

char* CMN_StrDup(const char* text) {
    CMN_ASSERT(text != nullptr);
    std::size_t length = std::strlen(text);
    auto* copy = static_cast<char*>(std::malloc(length + 1));
    if (copy == nullptr) {
        CMN_Bug(1908, "cmn", __LINE__);
        return nullptr;
    }
    std::memcpy(copy, text, length + 1);
    return copy;
}

char* CMN_StrNDup(const char* text, std::size_t n) {
    CMN_ASSERT(text != nullptr);
    std::size_t length = strnlen(text, n);
    auto* copy = static_cast<char*>(std::malloc(length + 1));
    if (copy == nullptr) return nullptr;
    std::memcpy(copy, text, length);
    copy[length] = '\0';
    return copy;
}

int CMN_StrEqualNoCase(const char* a, const char* b) {
    CMN_ASSERT(a != nullptr && b != nullptr);
    for (; *a != '\0' && *b != '\0'; ++a, ++b) {
        if (Lower(*a) != Lower(*b)) return 0;
    }
    return *a == *b ? 1 : 0;
}

int CMN_StrEqualNoCaseN(const char* a, const char* b, std::size_t n) {
    CMN_ASSERT(a != nullptr && b != nullptr);
    for (std::size_t i = 0; i < n; ++i) {
        if (Lower(a[i]) != Lower(b[i])) return 0;
        if (a[i] == '\0') return 1;
    }
    return 1;
}

int CMN_KeywordEqual(const char* name, char* text) {
    CMN_ASSERT(text != nullptr);
    for (char* p = text; *p != '\0'; ++p) {
        if (*p == ' ') *p = '_';
    }
    return CMN_StrEqualNoCase(name, text);
}

void CMN_ToLower(char* text) {
    for (; *text != '\0'; ++text) *text = Lower(*text);
}
void CMN_ToUpper(char* text) {
    for (; *text != '\0'; ++text) *text = Upper(*text);
}
void CMN_ToLower(std::string& text) {
    for (char& c : text) c = Lower(c);
}
void CMN_ToUpper(std::string& text) {
    for (char& c : text) c = Upper(c);
}

const char* CMN_SkipSpace(const char* position) {
    while (IsSpace(*position)) ++position;
    return position;
}

const char* CMN_SkipToSpace(const char* position) {
    while (*position != '\0' && !IsSpace(*position)) ++position;
    return position;
}

int CMN_SkipPastBracket(const char** position) {
    CMN_ASSERT(position != nullptr && *position != nullptr);
    const char* bracket = std::strchr(*position, ']');
    if (bracket == nullptr) {
        *position += std::strlen(*position);
        return 0;
    }
    *position = CMN_SkipSpace(bracket + 1);
    return 1;
}

void CMN_TrimRight(char* text) {
    std::size_t length = std::strlen(text);
    while (length > 0 && IsSpace(text[length - 1])) --length;
    text[length] = '\0';
}

void CMN_TrimRight(std::string& text) {
    std::size_t length = text.size();
    while (length > 0 && IsSpace(text[length - 1])) --length;
    text.resize(length);
}

namespace {

bool EndsItem(char c, char delimiter) {
    return c == '\0' || c == ' ' || c == '\t' || (delimiter != '\0' && c == delimiter);
}

}  // namespace

std::size_t CMN_TokenLength(const char* text, char delimiter) {
    std::size_t length = 0;
    while (!EndsItem(text[length], delimiter)) ++length;
    return length;
}

void CMN_BaseName(char* path) {
    char* base = path;
    for (char* p = path; *p != '\0'; ++p) {
        if (*p == '/' || *p == '\\') base = p + 1;
    }
    if (char* dot = std::strrchr(base, '.')) *dot = '\0';
    std::memmove(path, base, std::strlen(base) + 1);
}

std::FILE* CMN_OpenBinary(const char* path, const char* mode) {
    CMN_ASSERT(path != nullptr && mode != nullptr && mode[0] != '\0');
    char binaryMode[16];
    std::snprintf(binaryMode, sizeof binaryMode, "%cb%s", mode[0], mode + 1);
    return std::fopen(path, binaryMode);
}

int CMN_SplitLine(const char* text, int max, char delimiter, CMN_LINE_ITEMS* items) {
    CMN_ASSERT(text != nullptr && items != nullptr);
    items->max = max;
    std::size_t slots = max > 0 ? static_cast<std::size_t>(max) : 0;
    items->items.resize(slots);
    int stored = 0;
    int count = 0;
    const char* p = CMN_SkipSpace(text);
    while (*p != '\0') {
        std::size_t length = CMN_TokenLength(p, delimiter);
        if (length == 0) length = 1;  // standing on the delimiter: it is an item of its own
        if (static_cast<std::size_t>(stored) < slots) {
            items->items[static_cast<std::size_t>(stored)].assign(p, length);
            ++stored;
        }
        ++count;
        p = CMN_SkipSpace(p + length);
    }
    for (std::size_t i = static_cast<std::size_t>(stored); i < slots; ++i) items->items[i].clear();
    items->stored = stored;
    items->count = count;
    return 1;
}

int CMN_SplitWords(const char* text, int max, CMN_LINE_ITEMS* items) {
    return CMN_SplitLine(text, max, '\0', items);
}

void CMN_FreeLineItems(CMN_LINE_ITEMS* items) {
    CMN_ASSERT(items != nullptr);
    items->items.clear();
    items->max = 0;
    items->stored = 0;
    items->count = 0;
}
