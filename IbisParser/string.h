#pragma once

#include <memory>

#include "IbisParser/linked.h"

// A list of texts that other records own; each node owns the rest of the list.
struct STR_LIST : IBIS_Linked<STR_LIST> {
    const char* text = nullptr;
};

// Puts `text` in front of the list and returns the new head. When no node can be
// allocated the failure is reported and the list comes back unchanged.
std::unique_ptr<STR_LIST> STR_Push(std::unique_ptr<STR_LIST> head, const char* text);

// A list of the texts of a null-terminated array, in the array's order.
std::unique_ptr<STR_LIST> STR_FromArray(const char* const* texts);

// 1 when a node's text equals `text` exactly.
int STR_Contains(const STR_LIST* head, const char* text);

// Pushes `text` unless the list already holds it; returns the head.
std::unique_ptr<STR_LIST> STR_AddIfAbsent(std::unique_ptr<STR_LIST> head, const char* text);

const STR_LIST* STR_Next(const STR_LIST* node);
const char* STR_Text(const STR_LIST* node);
void STR_Free(std::unique_ptr<STR_LIST>& head);

// A module-wide count of how often each name was seen, for up to STR_MAX_NAMES distinct
// names (the names are not copied: they must outlive the counting).
inline constexpr int STR_MAX_NAMES = 30;
void STR_ResetNames();
// Counts one more occurrence of `name` and returns its count (a new name starts at 1).
// Names beyond the first STR_MAX_NAMES distinct ones are not counted and give 0.
int STR_CountName(const char* name);
// How often `name` was counted; a name never counted is a program bug and gives 0.
int STR_GetNameCount(const char* name);
