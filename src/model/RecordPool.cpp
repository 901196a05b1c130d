// Block allocation of the record pool.
#include "RecordPool.h"

namespace y4 {

void* RecordPool::allocate(int slot) {
    if (FreeSlot* free = free_[slot]) {
        free_[slot] = free->next;
        return free;
    }
    constexpr std::size_t kAlign = alignof(std::max_align_t);
    const std::size_t size = (kSizes[slot] + kAlign - 1) / kAlign * kAlign;
    if (static_cast<std::size_t>(end_ - next_) < size) {
        constexpr std::size_t kBlockSize = std::size_t{1} << 20;
        // Not zeroed: every record is constructed in place.
        blocks_.emplace_back(new std::byte[kBlockSize]);
        next_ = blocks_.back().get();
        end_ = next_ + kBlockSize;
    }
    void* memory = next_;
    next_ += size;
    return memory;
}

}  // namespace y4
