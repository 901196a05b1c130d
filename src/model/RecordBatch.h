// RecordBatch: records made apart from any scene, by a second thread that parses the back half
// of a large model file while the first parses the front. The batch has memory of its own (a
// record pool and adjacency slices), so the threads never share an allocator; the scene takes
// the memory over once the first thread has reached the point where the batch begins, and gives
// the records their ids then, in file order, exactly as a parse by one thread would have.
#pragma once

#include <cstdint>
#include <vector>

#include "RecordPool.h"
#include "SliceArena.h"

namespace y4 {

class RecordBatch {
public:
    RecordBatch() = default;
    RecordBatch(const RecordBatch&) = delete;
    RecordBatch& operator=(const RecordBatch&) = delete;
    // Destroys the records the scene did not take over.
    ~RecordBatch();

    template <class T, class... Args>
    T* create(Args&&... args) {
        return pool_.make<T>(std::forward<Args>(args)...);
    }
    // Destroys a record the batch made (with what it owns: see destroyTree).
    void destroy(SceneObject* record) { pool_.destroy(record); }
    // Destroys an entity or sub-entity with every record below it.
    void destroyTree(SceneObject* record);
    std::int32_t* adjacencySlice(std::size_t count) { return slices_.takeEntries(count); }
    template <class T>
    T** listSlice(std::size_t count) {
        return slices_.takePointers<T>(count);
    }

    // The blocks parsed, in file order: entities (a nested model) or the root's records (a
    // terrain). The scene takes them over from the front.
    std::vector<SceneObject*> blocks;
    // Records the batch needed for itself (a stand-in for the root the records hang from): each
    // destroyed alone, after the blocks, when the batch ends or is taken over.
    std::vector<SceneObject*> extras;

private:
    friend class Scene;
    RecordPool pool_;
    SliceArena slices_;
};

}  // namespace y4
