// RecordList: an ordered list of scene records (the scene's flat lists and the owner lists
// `children`, `subEntities`, `faces`, `vertices`). Taking a record out of the scene costs O(1):
// the record is flagged as taken out and the lists that held it count a hole, which iteration
// skips; a list drops its holes in one pass when random access needs it or when the scene
// compacts. Every list keeps its order. Range-for, size(), front(), back() and operator[] work as
// on a vector of pointers; algorithms that need random access (sort, shuffle, reverse) take
// span(), which drops the holes first.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <iterator>
#include <span>
#include <stdexcept>
#include <utility>
#include <vector>

#include "platform/LargeMemory.h"

namespace y4 {

template <class T>
class RecordList {
public:
    using value_type = T*;
    using size_type = std::size_t;

    // A forward iterator over the records still in the scene.
    class const_iterator {
    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = T*;
        using difference_type = std::ptrdiff_t;
        using pointer = T* const*;
        using reference = T* const&;

        const_iterator() = default;
        reference operator*() const { return *p_; }
        pointer operator->() const { return p_; }
        const_iterator& operator++() {
            ++p_;
            skip();
            return *this;
        }
        const_iterator operator++(int) {
            const_iterator old = *this;
            ++*this;
            return old;
        }
        bool operator==(const const_iterator& other) const { return p_ == other.p_; }

    private:
        friend class RecordList;
        const_iterator(T* const* p, T* const* end, bool holes) : p_(p), end_(end), holes_(holes) {
            skip();
        }
        void skip() {
            if (holes_) {
                while (p_ != end_ && isTakenOut(*p_)) {
                    ++p_;
                }
            }
        }
        T* const* p_ = nullptr;
        T* const* end_ = nullptr;
        bool holes_ = false;
    };
    using iterator = const_iterator;

    RecordList() = default;
    RecordList(std::initializer_list<T*> records) {
        reserve(records.size());
        for (T* r : records) {
            push_back(r);
        }
    }
    // A copy holds the records still in the scene, without holes.
    RecordList(const RecordList& other) {
        reserve(other.size());
        for (T* r : other) {
            push_back(r);
        }
    }
    RecordList(RecordList&& other) noexcept { swap(other); }
    RecordList& operator=(RecordList other) noexcept {
        swap(other);
        return *this;
    }
    ~RecordList() { releaseStorage(); }

    void swap(RecordList& other) noexcept {
        std::swap(data_, other.data_);
        std::swap(slots_, other.slots_);
        std::swap(capacity_, other.capacity_);
        std::swap(holes_, other.holes_);
        std::swap(borrowed_, other.borrowed_);
    }

    // A loader's list: empty, with room for `capacity` records at `storage`, which someone
    // else owns (the scene's load arena, see SliceArena) and which outlives the list. The list
    // moves to storage of its own when it grows past it.
    void useStorage(T** storage, std::size_t capacity) {
        releaseStorage();
        data_ = storage;
        slots_ = holes_ = 0;
        capacity_ = static_cast<std::uint32_t>(capacity);
        borrowed_ = true;
    }

    const_iterator begin() const { return {data_, data_ + slots_, holes_ > 0}; }
    const_iterator end() const { return {data_ + slots_, data_ + slots_, false}; }
    std::size_t size() const { return slots_ - holes_; }
    bool empty() const { return size() == 0; }

    // The first and the last record; the list must not be empty, as for a vector.
    T* front() const { return *begin(); }
    T* back() const {
        std::size_t k = slots_;
        while (k > 1 && isTakenOut(data_[k - 1])) {
            --k;
        }
        return data_[k - 1];
    }
    // Random access; drops the holes first (once per batch of removals).
    T* operator[](std::size_t position) const {
        compact();
        return data_[position];
    }
    T* at(std::size_t position) const {
        if (position >= size()) {
            throw std::out_of_range("RecordList::at");
        }
        return (*this)[position];
    }
    // The records as a span of pointers, holes dropped: for sorting, shuffling and reversing.
    std::span<T*> span() {
        compact();
        return {data_, slots_};
    }
    std::vector<T*> toVector() const { return {begin(), end()}; }
    // Calls `visit` on each record from the last to the first, skipping the records taken out
    // by then (also those `visit` takes out). The list must not grow or be compacted meanwhile.
    template <class Visit>
    void eachFromLast(Visit visit) const {
        for (std::size_t k = slots_; k-- > 0;) {
            if (!isTakenOut(data_[k])) {
                visit(data_[k]);
            }
        }
    }

    void reserve(std::size_t count) {
        if (count > capacity_) {
            grow(count);
        }
    }

    void push_back(T* record) {
        if (slots_ == capacity_) {
            grow(slots_ + 1);
        }
        data_[slots_++] = record;
    }
    // Inserts `record` so that it becomes the element at `position` (at most size()).
    void insert(std::size_t position, T* record) {
        compact();
        position = std::min<std::size_t>(position, slots_);
        push_back(record);
        std::rotate(data_ + position, data_ + slots_ - 1, data_ + slots_);
    }
    // Appends the records [first, last).
    template <class Iterator>
    void append(Iterator first, Iterator last) {
        for (; first != last; ++first) {
            push_back(*first);
        }
    }
    void clear() {
        slots_ = 0;
        holes_ = 0;
    }

    // Takes the occurrence found first from the end out at once (a linear search).
    bool remove(const T* record) {
        for (std::size_t k = slots_; k-- > 0;) {
            if (data_[k] == record) {
                std::memmove(data_ + k, data_ + k + 1, (slots_ - k - 1) * sizeof(T*));
                --slots_;
                return true;
            }
        }
        return false;
    }
    // One record of the list has been taken out of the scene: iteration skips it from now on.
    void noteTakenOut() { ++holes_; }
    // Drops the records taken out, keeping the order of the rest.
    void compact() const {
        if (holes_ == 0) {
            return;
        }
        T** out = data_;
        for (T** p = data_; p != data_ + slots_; ++p) {
            if (!isTakenOut(*p)) {
                *out++ = *p;
            }
        }
        slots_ = static_cast<std::uint32_t>(out - data_);
        holes_ = 0;
    }

    friend bool operator==(const RecordList& a, const RecordList& b) {
        return std::equal(a.begin(), a.end(), b.begin(), b.end());
    }
    friend bool operator==(const RecordList& a, const std::vector<T*>& b) {
        return std::equal(a.begin(), a.end(), b.begin(), b.end());
    }

private:
    static bool isTakenOut(const T* record) { return record && record->takenOut(); }

    void grow(std::size_t needed) {
        if (needed > kMaxSlots) {
            throw std::length_error("A list of records is too long.");
        }
        std::size_t capacity = std::max<std::size_t>({needed, 2 * std::size_t{capacity_}, 4});
        capacity = std::min(LargeMemory::roundUp(capacity * sizeof(T*)) / sizeof(T*), kMaxSlots);
        T** data = static_cast<T**>(LargeMemory::allocate(capacity * sizeof(T*)));
        if (slots_ > 0) {
            std::memcpy(data, data_, slots_ * sizeof(T*));
        }
        releaseStorage();
        data_ = data;
        capacity_ = static_cast<std::uint32_t>(capacity);
    }
    void releaseStorage() {
        if (!borrowed_) {
            LargeMemory::release(data_, capacity_ * sizeof(T*));
        }
        borrowed_ = false;
    }

    // Ids are 32 bits, and so are the counts of a list.
    static constexpr std::size_t kMaxSlots = 0xFFFFFFF0u;

    // Holes are dropped by const accessors too; the records the list holds do not change.
    mutable T** data_ = nullptr;
    mutable std::uint32_t slots_ = 0;
    std::uint32_t capacity_ = 0;
    mutable std::uint32_t holes_ = 0;
    bool borrowed_ = false;
};

}  // namespace y4
