// FaceList: the faces that use a vertex (Vertex::faces), in the order they were added. A model
// of a million faces lists three million corners, so the list is compact: twelve bytes in the
// vertex, and each entry four bytes, the face's distance from the list in units of eight bytes
// (faces live in the scene's pools, close to their vertices). A face too far away for that
// (records made on the stack, say) turns the list into one of plain pointers. A loader gives
// each vertex a slice of one adjacency array counted during the parse; the list moves to storage
// of its own only when it grows past its slice.
#pragma once

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <vector>

namespace y4 {

class Face;

class FaceList {
public:
    // Iterates the faces by value.
    class const_iterator {
    public:
        using iterator_category = std::random_access_iterator_tag;
        using value_type = Face*;
        using difference_type = std::ptrdiff_t;
        using pointer = void;
        using reference = Face*;

        const_iterator() = default;
        Face* operator*() const { return list_->at(position_); }
        Face* operator[](difference_type n) const {
            return list_->at(position_ + static_cast<std::size_t>(n));
        }
        const_iterator& operator++() {
            ++position_;
            return *this;
        }
        const_iterator operator++(int) {
            const_iterator old = *this;
            ++position_;
            return old;
        }
        const_iterator& operator--() {
            --position_;
            return *this;
        }
        const_iterator operator--(int) {
            const_iterator old = *this;
            --position_;
            return old;
        }
        const_iterator& operator+=(difference_type n) {
            position_ += static_cast<std::size_t>(n);
            return *this;
        }
        const_iterator& operator-=(difference_type n) {
            position_ -= static_cast<std::size_t>(n);
            return *this;
        }
        friend const_iterator operator+(const_iterator it, difference_type n) { return it += n; }
        friend const_iterator operator+(difference_type n, const_iterator it) { return it += n; }
        friend const_iterator operator-(const_iterator it, difference_type n) { return it -= n; }
        friend difference_type operator-(const const_iterator& a, const const_iterator& b) {
            return static_cast<difference_type>(a.position_) -
                   static_cast<difference_type>(b.position_);
        }
        bool operator==(const const_iterator& other) const { return position_ == other.position_; }
        auto operator<=>(const const_iterator& other) const {
            return position_ <=> other.position_;
        }
        std::size_t position() const { return position_; }

    private:
        friend class FaceList;
        const_iterator(const FaceList* list, std::size_t position)
            : list_(list), position_(position) {}
        const FaceList* list_ = nullptr;
        std::size_t position_ = 0;
    };
    using iterator = const_iterator;
    using value_type = Face*;
    using size_type = std::size_t;

    FaceList() = default;
    FaceList(const FaceList& other);
    FaceList& operator=(const FaceList& other);
    ~FaceList();

    std::size_t size() const { return size_ & kSizeMask; }
    bool empty() const { return size() == 0; }
    Face* operator[](std::size_t position) const { return at(position); }
    Face* front() const { return at(0); }
    Face* back() const { return at(size() - 1); }
    const_iterator begin() const { return {this, 0}; }
    const_iterator end() const { return {this, size()}; }
    std::vector<Face*> toVector() const { return {begin(), end()}; }
    bool contains(const Face* face) const;

    void push_back(Face* face);
    // Takes every occurrence of `face` out; the others keep their order.
    void remove(const Face* face);
    // Takes the first occurrence of `face` out; false when it is not listed.
    bool removeFirst(const Face* face);
    // Takes out every face `gone` says is gone.
    template <class Gone>
    void removeIf(Gone gone) {
        std::size_t kept = 0;
        const std::size_t n = size();
        for (std::size_t k = 0; k < n; ++k) {
            Face* f = at(k);
            if (!gone(f)) {
                put(kept++, f);
            }
        }
        setSize(kept);
    }
    void clear();

    // A loader's list: empty, its entries to go into the four-byte slots at `slice` (part of an
    // adjacency array the scene owns), which the loader has counted to hold every face it will
    // append with appendInSlice. A face too far away to be kept in four bytes moves the list to
    // storage of its own.
    void useSlice(std::int32_t* slice);
    void appendInSlice(Face* face);

    friend bool operator==(const FaceList& a, const FaceList& b);
    friend bool operator==(const FaceList& a, const std::vector<Face*>& b);

private:
    // The top bits of size_: entries are plain pointers; the storage is a loader's slice.
    static constexpr std::uint32_t kWide = 0x80000000u;
    static constexpr std::uint32_t kBorrowed = 0x40000000u;
    static constexpr std::uint32_t kSizeMask = 0x3FFFFFFFu;

    Face* at(std::size_t position) const {
        if (isWide()) {
            return static_cast<Face* const*>(storage())[position];
        }
        const std::int32_t distance = static_cast<const std::int32_t*>(storage())[position];
        return reinterpret_cast<Face*>(anchor() +
                                       static_cast<std::uintptr_t>(std::intptr_t{distance} * 8));
    }
    void put(std::size_t position, Face* face);
    void setSize(std::size_t size) {
        size_ = (size_ & ~kSizeMask) | static_cast<std::uint32_t>(size);
    }
    bool isWide() const { return size_ & kWide; }
    bool isBorrowed() const { return size_ & kBorrowed; }
    void* storage() const {
        return reinterpret_cast<void*>((static_cast<std::uintptr_t>(high_) << 32) |
                                       static_cast<std::uintptr_t>(low_));
    }
    void setStorage(void* storage);
    // The address faces are measured from.
    std::uintptr_t anchor() const {
        return reinterpret_cast<std::uintptr_t>(this) & ~std::uintptr_t{7};
    }
    bool fitsNarrow(const Face* face) const;
    std::int32_t narrow(const Face* face) const;
    // Room for `count` entries of storage of its own, wide or not.
    void reallocate(std::size_t count, bool wide);
    static std::size_t capacityFor(std::size_t size);

    // The storage address in two halves, so that the list takes twelve bytes.
    std::uint32_t low_ = 0;
    std::uint32_t high_ = 0;
    std::uint32_t size_ = 0;
};

static_assert(sizeof(FaceList) == 12);

}  // namespace y4
