// Marking the records a tree selection covers.
#include "SelectionMarks.h"

#include <cstdint>
#include <utility>
#include <vector>

#include "Scene.h"

namespace y4 {

namespace {

void markFace(Face& face, std::uint8_t mark) {
    face.selected = mark;
    for (Vertex* corner : {face.vertexA, face.vertexB, face.vertexC}) {
        if (corner) {
            corner->selected = mark;
        }
    }
}

void markSubEntity(SubEntity& subEntity, std::uint8_t mark) {
    subEntity.selected = mark;
    for (Face* face : subEntity.faces) {
        if (face) {
            markFace(*face, mark);
        }
    }
}

// Without recursion; entities deeper than a scene may hold below `top` are not reached.
void markEntity(Entity& top, std::uint8_t mark) {
    std::vector<std::pair<Entity*, int>> pending{{&top, 0}};
    while (!pending.empty()) {
        const auto [entity, depth] = pending.back();
        pending.pop_back();
        entity->selected = mark;
        for (SubEntity* s : entity->subEntities) {
            if (s) {
                markSubEntity(*s, mark);
            }
        }
        if (depth < Scene::kMaxLevel) {
            for (Entity* child : entity->children) {
                if (child) {
                    pending.emplace_back(child, depth + 1);
                }
            }
        }
    }
}

}  // namespace

void SelectionMarks::apply(SceneObject* record, int flag) {
    if (!record) {
        return;
    }
    const std::uint8_t mark = flag ? 1 : 0;
    switch (record->kind()) {
        case SceneObject::kEntity:
            markEntity(*static_cast<Entity*>(record), mark);
            break;
        case SceneObject::kSubEntity:
            markSubEntity(*static_cast<SubEntity*>(record), mark);
            break;
        case SceneObject::kFace:
            markFace(*static_cast<Face*>(record), mark);
            break;
        case SceneObject::kVertex:
            record->selected = mark;
            break;
        default:
            break;
    }
}

}  // namespace y4
