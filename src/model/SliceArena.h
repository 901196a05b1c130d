// SliceArena: the arrays a loader fills: the adjacency of the vertices (see FaceList) and the
// owner lists of the sub-entities (see RecordList), carved from blocks of huge pages and released
// together with the scene. A model of a million faces thus makes thousands of lists without a
// trip to the allocator or a page fault per list. Slices are never given back one by one: a list
// that outgrows its slice moves to storage of its own, and the slice stays unused until the
// model is closed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

namespace y4 {

class SliceArena {
public:
    SliceArena() = default;
    SliceArena(const SliceArena&) = delete;
    SliceArena& operator=(const SliceArena&) = delete;
    ~SliceArena();

    // Room for `bytes` bytes, aligned for pointers.
    void* take(std::size_t bytes);
    std::int32_t* takeEntries(std::size_t count) {
        return static_cast<std::int32_t*>(take(count * sizeof(std::int32_t)));
    }
    template <class T>
    T** takePointers(std::size_t count) {
        return static_cast<T**>(take(count * sizeof(T*)));
    }
    // Takes over the blocks of `other`, which is left empty.
    void adopt(SliceArena& other);

private:
    static constexpr std::size_t kBlockBytes = std::size_t{2} << 20;
    std::vector<std::pair<void*, std::size_t>> blocks_;  // address, bytes
    std::byte* next_ = nullptr;
    std::byte* end_ = nullptr;
};

}  // namespace y4
