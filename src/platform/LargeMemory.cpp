// Huge-page blocks for large requests.
#include "LargeMemory.h"

#include <sys/mman.h>

#include <cstdint>

#if defined(__SANITIZE_ADDRESS__)
#define Y4_LARGE_MEMORY_USES_HEAP 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define Y4_LARGE_MEMORY_USES_HEAP 1
#endif
#endif

namespace y4 {

namespace {

bool usesHugePages(std::size_t bytes) {
#ifdef Y4_LARGE_MEMORY_USES_HEAP
    (void)bytes;
    return false;
#else
    return bytes >= LargeMemory::kThreshold;
#endif
}

}  // namespace

std::size_t LargeMemory::roundUp(std::size_t bytes) {
    if (!usesHugePages(bytes)) {
        return bytes;
    }
    return (bytes + kHugePage - 1) / kHugePage * kHugePage;
}

void* LargeMemory::allocate(std::size_t bytes) {
    if (!usesHugePages(bytes)) {
        return ::operator new(bytes);
    }
    const std::size_t size = roundUp(bytes);
    if (size < bytes) {
        throw std::bad_alloc();
    }
    // Map one page more than needed and give back what lies outside the aligned range.
    void* mapped = ::mmap(nullptr, size + kHugePage, PROT_READ | PROT_WRITE,
                          MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapped == MAP_FAILED) {
        throw std::bad_alloc();
    }
    const auto start = reinterpret_cast<std::uintptr_t>(mapped);
    const std::uintptr_t aligned = (start + kHugePage - 1) & ~(std::uintptr_t{kHugePage} - 1);
    if (aligned > start) {
        ::munmap(mapped, aligned - start);
    }
    const std::uintptr_t tail = start + size + kHugePage - (aligned + size);
    if (tail > 0) {
        ::munmap(reinterpret_cast<void*>(aligned + size), tail);
    }
    void* memory = reinterpret_cast<void*>(aligned);
    // A hint only: where the system has no huge page to give, the range fills 4 KB at a time.
    ::madvise(memory, size, MADV_HUGEPAGE);
    return memory;
}

void LargeMemory::release(void* memory, std::size_t bytes) noexcept {
    if (!memory) {
        return;
    }
    if (!usesHugePages(bytes)) {
        ::operator delete(memory);
        return;
    }
    ::munmap(memory, roundUp(bytes));
}

}  // namespace y4
