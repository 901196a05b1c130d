// SliceArena: the adjacency arrays a loader fills: slices of four-byte entries carved from
// blocks of huge pages, handed to the vertices' face lists (see FaceList) and released together
// with the scene. Slices are never given back one by one: a vertex whose list outgrows its slice
// moves to storage of its own, and the slice stays unused until the model is closed.
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

    // Room for `count` entries.
    std::int32_t* take(std::size_t count);
    // Takes over the blocks of `other`, which is left empty.
    void adopt(SliceArena& other);

private:
    static constexpr std::size_t kBlockEntries = (std::size_t{2} << 20) / sizeof(std::int32_t);
    std::vector<std::pair<void*, std::size_t>> blocks_;  // address, bytes
    std::int32_t* next_ = nullptr;
    std::int32_t* end_ = nullptr;
};

}  // namespace y4
