// Scene lookups and the release of every record.
#include "Scene.h"

namespace y4 {

Scene::~Scene() {
    // The tree's items point at these records; they go first, while the records still exist.
    if (m_pEntityTree) {
        m_pEntityTree->deleteAllItems();
    }
    destroyAll();
}

void Scene::destroyAll() {
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
    vertices.clear();
    faces.clear();
    subEntities.clear();
    entities.clear();
    bitmapNames.clear();
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
