// RecordSink: where a parser puts the records it makes: straight into the scene, listed at once
// in its flat lists (SceneSink), or into a batch made apart by a second thread (BatchSink), whose
// records the scene lists and numbers when it takes the batch over. The parsers are written
// once, for either.
#pragma once

#include <atomic>
#include <cstdint>
#include <utility>

#include "model/RecordBatch.h"
#include "model/Scene.h"

namespace y4 {

class SceneSink {
public:
    explicit SceneSink(Scene& scene) : scene_(scene) {}
    template <class T, class... Args>
    T* create(Args&&... args) {
        return scene_.create<T>(std::forward<Args>(args)...);
    }
    std::int32_t* adjacencySlice(std::size_t count) { return scene_.adjacencySlice(count); }
    template <class T>
    T** listSlice(std::size_t count) {
        return scene_.listSlice<T>(count);
    }
    // A record joins the scene's flat list of its kind as soon as it is made, so that a failed
    // load releases it with the scene.
    void enlist(Entity* e) { scene_.entities.push_back(e); }
    void enlist(SubEntity* s) { scene_.subEntities.push_back(s); }
    void enlist(Face* f) { scene_.faces.push_back(f); }
    void enlist(Vertex* v) { scene_.vertices.push_back(v); }
    // A block (an entity with what it holds, or a terrain record) begins.
    void beginBlock(SceneObject*) {}

private:
    Scene& scene_;
};

class BatchSink {
public:
    // Thrown by create once `stop` is set: the parse this batch belongs to has ended.
    struct Stopped {};

    BatchSink(RecordBatch& batch, const std::atomic<bool>& stop) : batch_(batch), stop_(stop) {}
    template <class T, class... Args>
    T* create(Args&&... args) {
        if (stop_.load(std::memory_order_relaxed)) {
            throw Stopped();
        }
        return batch_.create<T>(std::forward<Args>(args)...);
    }
    std::int32_t* adjacencySlice(std::size_t count) { return batch_.adjacencySlice(count); }
    template <class T>
    T** listSlice(std::size_t count) {
        return batch_.listSlice<T>(count);
    }
    // The batch reaches its records through its blocks.
    template <class T>
    void enlist(T*) {}
    void beginBlock(SceneObject* block) { batch_.blocks.push_back(block); }

private:
    RecordBatch& batch_;
    const std::atomic<bool>& stop_;
};

}  // namespace y4
