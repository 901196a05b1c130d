// Scene lookups, ids, the release of every record and the take-over of a parsed batch.
#include "Scene.h"

namespace y4 {

Scene::~Scene() {
    // The tree's items point at these records; they go first, while the records still exist.
    if (m_pEntityTree) {
        m_pEntityTree->deleteAllItems();
    }
    destroyAll();
}

void Scene::destroy(SceneObject* record) {
    if (!record) {
        return;
    }
    if (record->id_ != SceneObject::kNoId) {
        ids_[static_cast<std::size_t>(record->kind())].free.push_back(record->id_);
    }
    pool_.destroy(record);
}

void Scene::destroyAll() {
    // The lists skip the records awaiting destruction, which go last.
    for (Vertex* v : vertices) {
        pool_.destroy(v);
    }
    for (Face* f : faces) {
        pool_.destroy(f);
    }
    for (SubEntity* s : subEntities) {
        pool_.destroy(s);
    }
    for (Entity* e : entities) {
        pool_.destroy(e);
    }
    for (SceneObject* r : graveyard_) {
        pool_.destroy(r);
    }
    graveyard_.clear();
    vertices.clear();
    faces.clear();
    subEntities.clear();
    entities.clear();
    bitmapNames.clear();
    ids_ = {};
}

void Scene::takeOver(RecordBatch& batch, std::size_t count) {
    for (std::size_t k = count; k < batch.blocks.size(); ++k) {
        batch.destroyTree(batch.blocks[k]);
    }
    for (SceneObject* extra : batch.extras) {
        batch.pool_.destroy(extra);
    }
    batch.extras.clear();
    pool_.adopt(batch.pool_);
    slices_.adopt(batch.slices_);
    // The records kept are the scene's now; the batch no longer destroys them.
    batch.blocks.clear();
}

void Scene::adoptSubEntity(SubEntity* s) {
    giveId(s);
    subEntities.push_back(s);
    for (Vertex* v : s->vertices) {
        giveId(v);
        vertices.push_back(v);
    }
    for (Face* f : s->faces) {
        giveId(f);
        faces.push_back(f);
    }
}

Entity* Scene::findEntityByIndex(int index) const {
    for (Entity* e : entities) {
        if (e->index == index) {
            return e;
        }
    }
    return nullptr;
}

Entity* Scene::findEntityByName(std::string_view name) const {
    for (Entity* e : entities) {
        if (e->nameEquals(name)) {
            return e;
        }
    }
    return nullptr;
}

}  // namespace y4
