// LargeMemory: memory for the large arrays and record pools of a model. A million-face model
// fills a few hundred megabytes at once, and touching that memory a page of 4 KB at a time costs
// more than parsing the file; so requests of a megabyte or more take whole 2 MB pages, aligned
// and advised for the system's transparent huge pages, and go back to the system when released.
// Smaller requests are ordinary heap allocations. Built with AddressSanitizer, every request is
// an ordinary allocation, so that overruns are caught.
#pragma once

#include <cstddef>
#include <limits>
#include <new>

namespace y4 {

class LargeMemory {
public:
    static constexpr std::size_t kHugePage = std::size_t{2} << 20;
    // Requests from this size on are served with huge pages.
    static constexpr std::size_t kThreshold = std::size_t{1} << 20;

    // At least `bytes` bytes, aligned for any type. Throws std::bad_alloc.
    static void* allocate(std::size_t bytes);
    // Releases what allocate(bytes) returned; `bytes` must be the same.
    static void release(void* memory, std::size_t bytes) noexcept;
    // How many bytes a request of `bytes` really takes (whole huge pages from the threshold on),
    // so that callers can use all of it.
    static std::size_t roundUp(std::size_t bytes);
};

// A standard allocator over LargeMemory, for vectors that grow to millions of elements.
template <class T>
class LargeAllocator {
public:
    using value_type = T;
    LargeAllocator() noexcept = default;
    template <class U>
    LargeAllocator(const LargeAllocator<U>&) noexcept {}  // NOLINT: allocators convert implicitly

    T* allocate(std::size_t n) {
        if (n > std::numeric_limits<std::size_t>::max() / sizeof(T)) {
            throw std::bad_array_new_length();
        }
        return static_cast<T*>(LargeMemory::allocate(n * sizeof(T)));
    }
    void deallocate(T* p, std::size_t n) noexcept { LargeMemory::release(p, n * sizeof(T)); }

    template <class U>
    bool operator==(const LargeAllocator<U>&) const noexcept {
        return true;
    }
};

}  // namespace y4
