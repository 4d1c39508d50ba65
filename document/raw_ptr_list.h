#pragma once

// The intrusive list of annotations. The wrapper classes' result model
// reuses it: api/sdk/raw_ptr_list.h holds the same definitions for hosts,
// which build without library headers. The block below must stay identical
// to the one there (a test compares them); whichever header a unit includes
// first defines the templates.
#ifndef QVR_COMMON_RAW_PTR_LIST_DEFINITIONS
#define QVR_COMMON_RAW_PTR_LIST_DEFINITIONS
namespace qvr::common {

// The links that make a T an element of one RawPtrList. Owns nothing.
template <typename T> struct BaseHook {
    T* next = nullptr;
    T* prev = nullptr;
};

// Intrusive doubly linked list of T (which derives from BaseHook<T>). The list
// neither allocates nor frees; whoever owns it destroys the elements.
template <typename T> class RawPtrList {
public:
    // A position: one element pointer, null being the end. It stays valid while
    // other elements are inserted or unlinked.
    class RawPtrIterator {
    public:
        RawPtrIterator(T* element = nullptr) : element_(element) {}

        T* operator*() const { return element_; }
        T* operator->() const { return element_; }
        T* get() const { return element_; }
        explicit operator bool() const { return element_ != nullptr; }

        RawPtrIterator& operator++() {
            if (element_)
                element_ = element_->next;
            return *this;
        }
        RawPtrIterator operator++(int) {
            RawPtrIterator old(*this);
            ++*this;
            return old;
        }
        RawPtrIterator& operator--() {
            if (element_)
                element_ = element_->prev;
            return *this;
        }
        RawPtrIterator operator--(int) {
            RawPtrIterator old(*this);
            --*this;
            return old;
        }

        friend bool operator==(const RawPtrIterator& a, const RawPtrIterator& b) {
            return a.element_ == b.element_;
        }
        friend bool operator!=(const RawPtrIterator& a, const RawPtrIterator& b) {
            return a.element_ != b.element_;
        }

    private:
        T* element_;
    };

    RawPtrList() = default;
    // A copy would link the same elements twice.
    RawPtrList(const RawPtrList&) = delete;
    RawPtrList& operator=(const RawPtrList&) = delete;
    RawPtrList(RawPtrList&& other) noexcept : head(other.head), tail(other.tail) {
        other.head = other.tail = nullptr;
    }

    RawPtrIterator begin() const { return RawPtrIterator(head); }
    RawPtrIterator end() const { return RawPtrIterator(); }
    bool empty() const { return head == nullptr; }

    void push_back(T* element) {
        element->next = nullptr;
        element->prev = tail;
        if (tail)
            tail->next = element;
        else
            head = element;
        tail = element;
    }

    // Links `element` before `position`; the end position appends.
    void insert(RawPtrIterator position, T* element) {
        T* at = position.get();
        if (!at) {
            push_back(element);
            return;
        }
        element->prev = at->prev;
        element->next = at;
        if (at->prev)
            at->prev->next = element;
        else
            head = element;
        at->prev = element;
    }

    // Takes `element` out of the list without freeing it; its own links are
    // cleared so it can be linked again.
    void unlink(T* element) {
        if (element->prev)
            element->prev->next = element->next;
        else if (head == element)
            head = element->next;
        if (element->next)
            element->next->prev = element->prev;
        else if (tail == element)
            tail = element->prev;
        element->next = nullptr;
        element->prev = nullptr;
    }

    T* head = nullptr;
    T* tail = nullptr;
};

} // namespace qvr::common
#endif // QVR_COMMON_RAW_PTR_LIST_DEFINITIONS
