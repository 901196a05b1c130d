// Pre-faulted anonymous mappings.
#include "MemoryBlock.h"

#include <sys/mman.h>

#include <new>

namespace y4 {

void* MemoryBlock::allocate(std::size_t size) {
    void* block = ::mmap(nullptr, size, PROT_READ | PROT_WRITE,
                         MAP_PRIVATE | MAP_ANONYMOUS | MAP_POPULATE, -1, 0);
    if (block == MAP_FAILED) {
        throw std::bad_alloc();
    }
    return block;
}

void MemoryBlock::release(void* block, std::size_t size) noexcept {
    ::munmap(block, size);
}

}  // namespace y4
