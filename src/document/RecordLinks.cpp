// The scene's lists, the vertices' face lists and the tree items of new records.
#include "RecordLinks.h"

#include <algorithm>
#include <type_traits>

#include "RecordAccess.h"
#include "model/Scene.h"
#include "model/SceneTree.h"
#include "model/TreeListing.h"

namespace y4 {

namespace {

// Calls `visit` with the list named by `list` and `owner`.
template <class Visit>
void withList(Scene& scene, RecordLinks::List list, SceneObject* owner, Visit visit) {
    using List = RecordLinks::List;
    switch (list) {
        case List::kEntities:
            visit(scene.entities);
            break;
        case List::kSubEntities:
            visit(scene.subEntities);
            break;
        case List::kFaces:
            visit(scene.faces);
            break;
        case List::kVertices:
            visit(scene.vertices);
            break;
        case List::kChildren:
            visit(static_cast<Entity*>(owner)->children);
            break;
        case List::kEntitySubEntities:
            visit(static_cast<Entity*>(owner)->subEntities);
            break;
        case List::kSubEntityFaces:
            visit(static_cast<SubEntity*>(owner)->faces);
            break;
        case List::kSubEntityVertices:
            visit(static_cast<SubEntity*>(owner)->vertices);
            break;
    }
}

template <class Records>
auto as(SceneObject* record) {
    using Pointer = typename std::remove_reference_t<Records>::value_type;
    return static_cast<Pointer>(record);
}

// Items below `top` (and `top`) whose record is switched off lose their check.
void uncheckHidden(SceneTree& tree, TreeItem top) {
    std::vector<TreeItem> pending{top};
    while (!pending.empty()) {
        const TreeItem item = pending.back();
        pending.pop_back();
        const SceneObject* record = tree.itemData(item);
        if (record && !record->displayed) {
            tree.setCheck(item, false);
        }
        for (int row = 0; row < tree.childCount(item); ++row) {
            pending.push_back(tree.child(item, row));
        }
    }
}

}  // namespace

RecordLinks::Link RecordLinks::insert(Scene& scene, List list, SceneObject* owner,
                                      SceneObject* record, std::size_t position) {
    Link link{list, owner, position, record};
    withList(scene, list, owner, [&](auto& records) {
        if (link.position == kAtEnd || link.position > records.size()) {
            link.position = records.size();
        }
    });
    relink(scene, link);
    return link;
}

void RecordLinks::relink(Scene& scene, const Link& link) {
    withList(scene, link.list, link.owner, [&](auto& records) {
        records.insert(std::min(link.position, records.size()), as<decltype(records)>(link.record));
    });
}

void RecordLinks::unlink(Scene& scene, const Link& link) {
    withList(scene, link.list, link.owner, [&](auto& records) {
        // A record is in a list once, and is found from the end as the list's other removals
        // take it: for the records an edit has just put at the end, at once.
        records.remove(as<decltype(records)>(link.record));
    });
}

std::size_t RecordLinks::count(const Scene& scene, List list, const SceneObject* owner) {
    std::size_t size = 0;
    withList(const_cast<Scene&>(scene), list, const_cast<SceneObject*>(owner),
             [&](const auto& records) { size = records.size(); });
    return size;
}

std::vector<Face*> RecordLinks::facesOf(const Vertex* vertex) {
    return {vertex->faces.begin(), vertex->faces.end()};
}

void RecordLinks::setFaces(Vertex* vertex, const std::vector<Face*>& faces) {
    vertex->faces.clear();
    for (Face* face : faces) {
        vertex->faces.push_back(face);
    }
}

void RecordLinks::listAtCorners(Face* face) {
    Vertex* corners[3] = {face->vertexA, face->vertexB, face->vertexC};
    for (int k = 0; k < 3; ++k) {
        Vertex* corner = corners[k];
        const bool repeated = (k > 0 && corner == corners[0]) || (k > 1 && corner == corners[1]);
        // A face new to the scene is in no list yet: no search of a long fan of faces.
        if (corner && !repeated) {
            corner->faces.push_back(face);
        }
    }
}

void RecordLinks::list(SceneTree& tree, SceneObject* record) {
    TreeItem top = kNoItem;
    switch (record->kind()) {
        case SceneObject::kEntity: {
            auto* e = static_cast<Entity*>(record);
            top = TreeListing::insertEntityItem(tree, e->parent ? e->parent->treeItem : kNoItem, e);
            break;
        }
        case SceneObject::kSubEntity: {
            auto* s = static_cast<SubEntity*>(record);
            // Before the item of the next sub-entity, if any: the tree keeps the list's order.
            TreeItem before = kNoItem;
            const SubEntity* previous = nullptr;
            for (const SubEntity* sibling : s->parent->subEntities) {
                if (previous == s) {
                    before = sibling->treeItem;
                } else if (sibling == s) {
                    before = kNoItem;
                }
                previous = sibling;
            }
            top = TreeListing::insertSubEntityItem(tree, s->parent->treeItem, s, before);
            if (top != kNoItem) {
                for (Face* f : s->faces) {
                    TreeListing::insertFaceItem(tree, top, f);
                }
            }
            break;
        }
        case SceneObject::kFace: {
            auto* f = static_cast<Face*>(record);
            top = TreeListing::insertFaceItem(tree, f->parent->treeItem, f);
            break;
        }
        default:
            break;
    }
    if (top != kNoItem) {
        uncheckHidden(tree, top);
    }
}

void RecordLinks::unlist(SceneTree& tree, SceneObject* record) {
    const TreeItem item = RecordAccess::itemOf(tree, record);
    if (item != kNoItem) {
        tree.deleteItem(item);
    }
}

void RecordLinks::relistCorners(SceneTree& tree, Face* face) {
    TreeListing::relistFaceCorners(tree, face);
    if (face->treeItem != kNoItem) {
        uncheckHidden(tree, face->treeItem);
    }
}

}  // namespace y4
