// The compact face list of a vertex.
#include "FaceList.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <limits>
#include <new>
#include <stdexcept>

namespace y4 {

std::size_t FaceList::capacityFor(std::size_t size) {
    return std::bit_ceil(std::max<std::size_t>(size, 2));
}

FaceList::FaceList(const FaceList& other) {
    for (Face* f : other) {
        push_back(f);
    }
}

FaceList& FaceList::operator=(const FaceList& other) {
    if (this != &other) {
        const std::vector<Face*> faces = other.toVector();
        clear();
        for (Face* f : faces) {
            push_back(f);
        }
    }
    return *this;
}

FaceList::~FaceList() {
    if (!isBorrowed()) {
        ::operator delete(storage());
    }
}

void FaceList::setStorage(void* storage) {
    const auto address = reinterpret_cast<std::uintptr_t>(storage);
    low_ = static_cast<std::uint32_t>(address);
    high_ = static_cast<std::uint32_t>(address >> 32);
}

bool FaceList::fitsNarrow(const Face* face) const {
    const auto address = reinterpret_cast<std::uintptr_t>(face);
    if (address % 8 != 0) {
        return false;
    }
    const auto distance = static_cast<std::intptr_t>(address - anchor()) / 8;
    return distance >= std::numeric_limits<std::int32_t>::min() &&
           distance <= std::numeric_limits<std::int32_t>::max();
}

std::int32_t FaceList::narrow(const Face* face) const {
    return static_cast<std::int32_t>(
        static_cast<std::intptr_t>(reinterpret_cast<std::uintptr_t>(face) - anchor()) / 8);
}

void FaceList::put(std::size_t position, Face* face) {
    if (isWide()) {
        static_cast<Face**>(storage())[position] = face;
    } else {
        static_cast<std::int32_t*>(storage())[position] = narrow(face);
    }
}

bool FaceList::contains(const Face* face) const {
    const std::size_t n = size();
    for (std::size_t k = 0; k < n; ++k) {
        if (at(k) == face) {
            return true;
        }
    }
    return false;
}

void FaceList::reallocate(std::size_t count, bool wide) {
    const std::size_t n = size();
    if (count > kSizeMask) {
        throw std::length_error("A vertex is used by too many faces.");
    }
    void* fresh = ::operator new(count*(wide ? sizeof(Face*) : sizeof(std::int32_t)));
    // The entries are read through the old storage while the new one is written.
    std::vector<Face*> faces = toVector();
    if (!isBorrowed()) {
        ::operator delete(storage());
    }
    setStorage(fresh);
    size_ = static_cast<std::uint32_t>(n) | (wide ? kWide : 0u);
    for (std::size_t k = 0; k < n; ++k) {
        put(k, faces[k]);
    }
}

void FaceList::push_back(Face* face) {
    const std::size_t n = size();
    const bool wide = isWide() || !fitsNarrow(face);
    // Own storage is always sized by capacityFor; a slice is full.
    const bool full = isBorrowed() || storage() == nullptr || n == capacityFor(n);
    if (wide != isWide() || full) {
        reallocate(capacityFor(n + 1), wide);
    }
    put(n, face);
    setSize(n + 1);
}

void FaceList::remove(const Face* face) {
    removeIf([face](const Face* f) { return f == face; });
}

bool FaceList::removeFirst(const Face* face) {
    const std::size_t n = size();
    for (std::size_t k = 0; k < n; ++k) {
        if (at(k) == face) {
            for (std::size_t j = k + 1; j < n; ++j) {
                put(j - 1, at(j));
            }
            setSize(n - 1);
            return true;
        }
    }
    return false;
}

void FaceList::clear() {
    setSize(0);
}

void FaceList::useSlice(std::int32_t* slice) {
    if (!isBorrowed()) {
        ::operator delete(storage());
    }
    setStorage(slice);
    size_ = kBorrowed;
}

void FaceList::appendInSlice(Face* face) {
    const std::size_t n = size();
    if (isBorrowed() && !isWide() && fitsNarrow(face)) {
        static_cast<std::int32_t*>(storage())[n] = narrow(face);
        setSize(n + 1);
    } else {
        push_back(face);
    }
}

bool operator==(const FaceList& a, const FaceList& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end());
}

bool operator==(const FaceList& a, const std::vector<Face*>& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end());
}

}  // namespace y4
