// Block allocation of the record pool.
#include "RecordPool.h"

#include "platform/LargeMemory.h"

namespace y4 {

RecordPool::~RecordPool() {
    for (void* block : blocks_) {
        LargeMemory::release(block, kBlockSize);
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
        // Not zeroed: every record is constructed in place.
        blocks_.reserve(blocks_.size() + 1);
        blocks_.push_back(LargeMemory::allocate(kBlockSize));
        next_ = static_cast<std::byte*>(blocks_.back());
        end_ = next_ + kBlockSize;
    }
    void* memory = next_;
    next_ += size;
    return memory;
}

void RecordPool::destroy(SceneObject* record) {
    if (!record) {
        return;
    }
    const int slot = record->kind();
#ifdef Y4_POOL_USES_HEAP
    switch (slot) {
        case SceneObject::kEntity:
            delete static_cast<Entity*>(record);
            break;
        case SceneObject::kSubEntity:
            delete static_cast<SubEntity*>(record);
            break;
        case SceneObject::kFace:
            delete static_cast<Face*>(record);
            break;
        default:
            delete static_cast<Vertex*>(record);
            break;
    }
#else
    switch (slot) {
        case SceneObject::kEntity:
            static_cast<Entity*>(record)->~Entity();
            break;
        case SceneObject::kSubEntity:
            static_cast<SubEntity*>(record)->~SubEntity();
            break;
        case SceneObject::kFace:
            static_cast<Face*>(record)->~Face();
            break;
        default:
            static_cast<Vertex*>(record)->~Vertex();
            break;
    }
    release(record, slot);
#endif
}

void RecordPool::adopt(RecordPool& other) {
    blocks_.insert(blocks_.end(), other.blocks_.begin(), other.blocks_.end());
    other.blocks_.clear();
    for (int slot = 0; slot < 4; ++slot) {
        while (FreeSlot* free = other.free_[slot]) {
            other.free_[slot] = free->next;
            release(free, slot);
        }
    }
    // The rest of the other pool's last block is left unused.
    other.next_ = other.end_ = nullptr;
}

}  // namespace y4
