// Records kept in singly linked lists, each record owning the rest of its list through `next`.
#pragma once

#include <memory>

// Releases a chain of records one by one, so that a list of any length is freed without deep
// recursion.
template <typename T>
void IBIS_FreeChain(std::unique_ptr<T>& head) {
    std::unique_ptr<T> rest = std::move(head);
    while (rest) {
        rest = std::move(rest->next);
    }
}

// Links item in front of the list.
template <typename T>
void IBIS_PushFront(std::unique_ptr<T>& head, std::unique_ptr<T> item) {
    item->next = std::move(head);
    head = std::move(item);
}

// The base of a list record: the link to the rest of the list, which the record releases
// without recursing. Records are not copied.
template <typename T>
struct IBIS_Linked {
    IBIS_Linked() = default;
    IBIS_Linked(const IBIS_Linked&) = delete;
    IBIS_Linked& operator=(const IBIS_Linked&) = delete;
    ~IBIS_Linked() { IBIS_FreeChain(next); }

    std::unique_ptr<T> next;
};

// A list in file order: the first record owns the rest, and the last is remembered so that
// appending does not walk the list.
template <typename T>
struct IBIS_List {
    std::unique_ptr<T> head;
    T* tail = nullptr;

    T* Append(std::unique_ptr<T> record) {
        T* added = record.get();
        if (tail == nullptr) {
            head = std::move(record);
        } else {
            tail->next = std::move(record);
        }
        tail = added;
        return added;
    }
    T* First() const { return head.get(); }
    bool Empty() const { return !head; }
    // Releases every record (without recursion) and leaves the list empty.
    void Clear() {
        IBIS_FreeChain(head);
        tail = nullptr;
    }
};
