#include "IbisParser/string.h"

#include <array>
#include <cstring>
#include <new>

#include "IbisParser/cmn.h"

namespace {

constexpr const char* kModule = "string";

struct NameCount {
    const char* name;
    int count;
};

std::array<NameCount, STR_MAX_NAMES> nameCounts;
int namesInUse = 0;

NameCount* FindName(const char* name) {
    for (int index = 0; index < namesInUse; ++index) {
        if (std::strcmp(nameCounts[index].name, name) == 0) {
            return &nameCounts[index];
        }
    }
    return nullptr;
}

}  // namespace

std::unique_ptr<STR_LIST> STR_Push(std::unique_ptr<STR_LIST> head, const char* text) {
    std::unique_ptr<STR_LIST> node(new (std::nothrow) STR_LIST);
    if (!node) {
        CMN_Bug(2100, kModule, __LINE__);
        return head;
    }
    node->text = text;
    node->next = std::move(head);
    return node;
}

std::unique_ptr<STR_LIST> STR_FromArray(const char* const* texts) {
    std::size_t count = 0;
    while (texts[count]) {
        ++count;
    }
    std::unique_ptr<STR_LIST> head;
    while (count > 0) {
        head = STR_Push(std::move(head), texts[--count]);
    }
    return head;
}

int STR_Contains(const STR_LIST* head, const char* text) {
    for (const STR_LIST* node = head; node; node = node->next.get()) {
        if (std::strcmp(node->text, text) == 0) {
            return 1;
        }
    }
    return 0;
}

std::unique_ptr<STR_LIST> STR_AddIfAbsent(std::unique_ptr<STR_LIST> head, const char* text) {
    if (STR_Contains(head.get(), text)) {
        return head;
    }
    return STR_Push(std::move(head), text);
}

const STR_LIST* STR_Next(const STR_LIST* node) { return node ? node->next.get() : nullptr; }

const char* STR_Text(const STR_LIST* node) { return node ? node->text : nullptr; }

void STR_Free(std::unique_ptr<STR_LIST>& head) { head.reset(); }

void STR_ResetNames() { namesInUse = 0; }

int STR_CountName(const char* name) {
    if (NameCount* entry = FindName(name)) {
        return ++entry->count;
    }
    if (namesInUse == STR_MAX_NAMES) {
        return 0;
    }
    nameCounts[namesInUse++] = {name, 1};
    return 1;
}

int STR_GetNameCount(const char* name) {
    if (const NameCount* entry = FindName(name)) {
        return entry->count;
    }
    CMN_Bug(2101, kModule, __LINE__);
    return 0;
}
