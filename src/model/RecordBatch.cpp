// Records of a batch the scene did not take over.
#include "RecordBatch.h"

namespace y4 {

RecordBatch::~RecordBatch() {
    for (SceneObject* block : blocks) {
        destroyTree(block);
    }
    for (SceneObject* extra : extras) {
        pool_.destroy(extra);
    }
}

void RecordBatch::destroyTree(SceneObject* record) {
    if (!record) {
        return;
    }
    if (record->kind() == SceneObject::kEntity) {
        auto* e = static_cast<Entity*>(record);
        for (Entity* child : e->children) {
            destroyTree(child);
        }
        for (SubEntity* s : e->subEntities) {
            destroyTree(s);
        }
    } else if (record->kind() == SceneObject::kSubEntity) {
        auto* s = static_cast<SubEntity*>(record);
        for (Face* f : s->faces) {
            pool_.destroy(f);
        }
        for (Vertex* v : s->vertices) {
            pool_.destroy(v);
        }
    }
    pool_.destroy(record);
}

}  // namespace y4
