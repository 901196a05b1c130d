// RecordPool: where a scene's records live. Records are carved from blocks of huge pages (see
// LargeMemory) and the memory of destroyed records is reused for new ones of the same kind, so a
// model of a million faces loads without a million trips to the allocator or a page fault per
// few records. A pool filled by a second parse thread is taken over whole by the scene's. Built
// with AddressSanitizer, the pool uses plain new and delete so that every use after destruction
// is caught.
#pragma once

#include <cstddef>
#include <new>
#include <type_traits>
#include <utility>
#include <vector>

#include "Entity.h"
#include "Face.h"
#include "SubEntity.h"
#include "Vertex.h"

#if defined(__SANITIZE_ADDRESS__)
#define Y4_POOL_USES_HEAP 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define Y4_POOL_USES_HEAP 1
#endif
#endif

namespace y4 {

class RecordPool {
public:
    RecordPool() = default;
    RecordPool(const RecordPool&) = delete;
    RecordPool& operator=(const RecordPool&) = delete;
    // Releases the memory; the records must have been destroyed before (or be abandoned).
    ~RecordPool();

    template <class T, class... Args>
    T* make(Args&&... args) {
#ifdef Y4_POOL_USES_HEAP
        return new T(std::forward<Args>(args)...);
#else
        void* memory = allocate(slotOf<T>());
        try {
            return new (memory) T(std::forward<Args>(args)...);
        } catch (...) {
            release(memory, slotOf<T>());
            throw;
        }
#endif
    }

    // Destroys the record as what its kind says it is.
    void destroy(SceneObject* record);

    // Takes over the memory of `other`, which is left empty; its records live on here.
    void adopt(RecordPool& other);

private:
    static constexpr std::size_t kBlockSize = std::size_t{2} << 20;
    static constexpr std::size_t kSizes[4] = {sizeof(Entity), sizeof(SubEntity), sizeof(Face),
                                              sizeof(Vertex)};
    template <class T>
    static constexpr int slotOf() {
        if constexpr (std::is_same_v<T, Entity>) {
            return SceneObject::kEntity;
        } else if constexpr (std::is_same_v<T, SubEntity>) {
            return SceneObject::kSubEntity;
        } else if constexpr (std::is_same_v<T, Face>) {
            return SceneObject::kFace;
        } else {
            static_assert(std::is_same_v<T, Vertex>);
            return SceneObject::kVertex;
        }
    }

    struct FreeSlot {
        FreeSlot* next;
    };

    void* allocate(int slot);
    void release(void* memory, int slot) {
        auto* free = static_cast<FreeSlot*>(memory);
        free->next = free_[slot];
        free_[slot] = free;
    }

    std::vector<void*> blocks_;
    std::byte* next_ = nullptr;
    std::byte* end_ = nullptr;
    FreeSlot* free_[4] = {nullptr, nullptr, nullptr, nullptr};
};

}  // namespace y4
