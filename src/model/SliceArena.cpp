// Adjacency slices in blocks of huge pages.
#include "SliceArena.h"

#include <algorithm>

#include "platform/LargeMemory.h"

namespace y4 {

SliceArena::~SliceArena() {
    for (const auto& [block, bytes] : blocks_) {
        LargeMemory::release(block, bytes);
    }
}

std::int32_t* SliceArena::take(std::size_t count) {
    if (static_cast<std::size_t>(end_ - next_) < count) {
        const std::size_t entries = std::max(count, kBlockEntries);
        const std::size_t bytes = LargeMemory::roundUp(entries * sizeof(std::int32_t));
        blocks_.reserve(blocks_.size() + 1);
        void* block = LargeMemory::allocate(bytes);
        blocks_.emplace_back(block, bytes);
        next_ = static_cast<std::int32_t*>(block);
        end_ = next_ + bytes / sizeof(std::int32_t);
    }
    std::int32_t* slice = next_;
    next_ += count;
    return slice;
}

void SliceArena::adopt(SliceArena& other) {
    blocks_.insert(blocks_.end(), other.blocks_.begin(), other.blocks_.end());
    other.blocks_.clear();
    other.next_ = other.end_ = nullptr;
}

}  // namespace y4
