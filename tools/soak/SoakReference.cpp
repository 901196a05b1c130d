// The records an edit names for the soak's reference copy.
#include "SoakReference.h"

#include "files/Reader.h"

namespace y4::test {

SceneObject* recordAt(const Reader& r, const Target& t) {
    switch (t.kind) {
        case SceneObject::kEntity:
            return t.position < r.entities.size() ? r.entities[t.position] : nullptr;
        case SceneObject::kSubEntity:
            return t.position < r.subEntities.size() ? r.subEntities[t.position] : nullptr;
        case SceneObject::kFace:
            return t.position < r.faces.size() ? r.faces[t.position] : nullptr;
        case SceneObject::kVertex:
            return t.position < r.vertices.size() ? r.vertices[t.position] : nullptr;
        default:
            return nullptr;
    }
}

std::vector<TreeItem> itemsOf(const EntityTree* tree, const SceneObject* record) {
    switch (record->kind()) {
        case SceneObject::kEntity:
            return {static_cast<const Entity*>(record)->treeItem};
        case SceneObject::kSubEntity:
            return {static_cast<const SubEntity*>(record)->treeItem};
        case SceneObject::kFace:
            return {static_cast<const Face*>(record)->treeItem};
        default:
            return tree ? static_cast<const Vertex*>(record)->treeItems(*tree)
                        : std::vector<TreeItem>{};
    }
}

TreeItem itemAt(const Reader& r, const Target& t) {
    const SceneObject* record = recordAt(r, t);
    if (!record) {
        return kNoItem;
    }
    const std::vector<TreeItem> items = itemsOf(r.m_pEntityTree, record);
    const std::size_t at = record->kind() == SceneObject::kVertex ? t.listing : 0;
    return at < items.size() ? items[at] : kNoItem;
}

}  // namespace y4::test
