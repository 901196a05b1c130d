// Block allocation of the record pool.
#include "RecordPool.h"

#include <algorithm>

#include "platform/MemoryBlock.h"

namespace y4 {

RecordPool::~RecordPool() {
    for (const Block& block : blocks_) {
        MemoryBlock::release(block.memory, block.size);
    }
}

void* RecordPool::allocate(int slot) {
    if (FreeSlot* free = free_[slot]) {
        free_[slot] = free->next;
        return free;
    }
    constexpr std::size_t kAlign = alignof(std::max_align_t);
    const std::size_t size = (kSizes[slot] + kAlign - 1) / kAlign * kAlign;
    if (static_cast<std::size_t>(end_ - next_) < size) {
        // Small scenes take small blocks; large ones blocks of a few megabytes.
        constexpr std::size_t kFirst = std::size_t{64} << 10;
        constexpr std::size_t kLargest = std::size_t{4} << 20;
        const std::size_t blockSize =
            blocks_.empty() ? kFirst : std::min(2 * blocks_.back().size, kLargest);
        blocks_.reserve(blocks_.size() + 1);
        blocks_.push_back({MemoryBlock::allocate(blockSize), blockSize});
        next_ = static_cast<std::byte*>(blocks_.back().memory);
        end_ = next_ + blockSize;
    }
    void* memory = next_;
    next_ += size;
    return memory;
}

}  // namespace y4
