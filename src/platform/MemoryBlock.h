// MemoryBlock: large blocks of memory for pools that hold millions of small objects. A block's
// pages are mapped in one go when it is made, rather than one page fault at a time as the pool
// fills it.
#pragma once

#include <cstddef>

namespace y4 {

class MemoryBlock {
public:
    // A block of `size` bytes (a multiple of the page size); throws std::bad_alloc when there
    // is none.
    static void* allocate(std::size_t size);
    static void release(void* block, std::size_t size) noexcept;
};

}  // namespace y4
