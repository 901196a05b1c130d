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

void* SliceArena::take(std::size_t bytes) {
    bytes = (bytes + alignof(void*) - 1) / alignof(void*) * alignof(void*);
    if (static_cast<std::size_t>(end_ - next_) < bytes) {
        const std::size_t size = LargeMemory::roundUp(std::max(bytes, kBlockBytes));
        blocks_.reserve(blocks_.size() + 1);
        void* block = LargeMemory::allocate(size);
        blocks_.emplace_back(block, size);
        next_ = static_cast<std::byte*>(block);
        end_ = next_ + size;
    }
    void* slice = next_;
    next_ += bytes;
    return slice;
}

void SliceArena::adopt(SliceArena& other) {
    blocks_.insert(blocks_.end(), other.blocks_.begin(), other.blocks_.end());
    other.blocks_.clear();
    other.next_ = other.end_ = nullptr;
}

}  // namespace y4
