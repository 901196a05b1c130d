// Block allocation of the record pool.
#include "RecordPool.h"

#include <algorithm>

namespace y4 {

void* RecordPool::allocate(int slot) {
    if (FreeSlot* free = free_[slot]) {
        free_[slot] = free->next;
        return free;
    }
    constexpr std::size_t kAlign = alignof(std::max_align_t);
    const std::size_t size = (kSizes[slot] + kAlign - 1) / kAlign * kAlign;
    if (static_cast<std::size_t>(end_ - next_) < size) {
        // Small scenes take small blocks; large ones blocks of a few megabytes, which the
        // allocator keeps for the next model after this one is closed.
        constexpr std::size_t kFirst = std::size_t{64} << 10;
        constexpr std::size_t kLargest = std::size_t{4} << 20;
        lastBlockSize_ = blocks_.empty() ? kFirst : std::min(2 * lastBlockSize_, kLargest);
        // Not zeroed: every record is constructed in place.
        blocks_.emplace_back(new std::byte[lastBlockSize_]);
        next_ = blocks_.back().get();
        end_ = next_ + lastBlockSize_;
    }
    void* memory = next_;
    next_ += size;
    return memory;
}

}  // namespace y4
