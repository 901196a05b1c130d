// The drag steps of the transform commands.
#include "SelectionTransform.h"

#include <utility>

#include "Scene.h"

namespace y4 {

namespace {

constexpr double kRadiansPerDegree = 0.017453292519943295;

void moveTriple(float& x, float& y, float& z, float a, float b, float c, int kind) {
    switch (kind) {
        case SelectionTransform::kTranslate:
            x += a;
            y += b;
            z += c;
            break;
        case SelectionTransform::kScale:
            x = a != 0 ? x * a : x;
            y = b != 0 ? y * b : y;
            z = c != 0 ? z * c : z;
            break;
        case SelectionTransform::kStretch:
            x = a != 0 ? a * x + x : x;
            y = b != 0 ? b * y + y : y;
            z = c != 0 ? c * z + z : z;
            break;
        default:
            break;
    }
}

}  // namespace

void SelectionTransform::collect(Entity* root, int kind, Targets& out, bool rootFixed) {
    out.entities.clear();
    out.vertices.clear();
    if (!root) {
        return;
    }
    const bool entitiesMove = kind == kTranslate || kind == kRotate;
    std::vector<std::pair<Entity*, int>> pending{{root, 0}};
    while (!pending.empty()) {
        const auto [e, depth] = pending.back();
        pending.pop_back();
        if (e->selected && entitiesMove) {
            if (!(rootFixed && e == root)) {
                out.entities.push_back(e);
            }
            continue;
        }
        // The vertices of the entity's own sub-entities come after its children's; the order
        // changes nothing but the order of the targets.
        for (SubEntity* s : e->subEntities) {
            if (!s) {
                continue;
            }
            for (Vertex* v : s->vertices) {
                // `changed` keeps a vertex listed twice from taking the step twice.
                if (v && v->selected && !v->changed) {
                    v->changed = 1;
                    out.vertices.push_back(v);
                }
            }
        }
        if (depth < Scene::kMaxLevel) {
            const int below = depth + 1;
            e->children.eachFromLast([&pending, below](Entity* child) {
                if (child) {
                    pending.emplace_back(child, below);
                }
            });
        }
    }
    for (Vertex* v : out.vertices) {
        v->changed = 0;
    }
}

void SelectionTransform::apply(const Targets& targets, float a, float b, float c, int kind,
                               bool normals) {
    if (kind == kRotate) {
        a = static_cast<float>(a * kRadiansPerDegree);
        b = static_cast<float>(b * kRadiansPerDegree);
        c = static_cast<float>(c * kRadiansPerDegree);
    }
    for (Entity* e : targets.entities) {
        if (kind == kTranslate) {
            e->positionX += a;
            e->positionY += b;
            e->positionZ += c;
        } else {
            e->rotateX += a;
            e->rotateY += b;
            e->rotateZ += c;
        }
        e->changed = 1;
    }
    const int target = normals ? Vertex::kNormal : Vertex::kPosition;
    for (Vertex* v : targets.vertices) {
        if (kind == kRotate) {
            v->Rotate(Vertex::kAxisY, target, a);
            v->Rotate(Vertex::kAxisX, target, b);
            v->Rotate(Vertex::kAxisZ, target, c);
        } else if (normals) {
            moveTriple(v->normalX, v->normalY, v->normalZ, a, b, c, kind);
        } else {
            moveTriple(v->X, v->Y, v->Z, a, b, c, kind);
        }
    }
}

void SelectionTransform::step(Scene& scene, float a, float b, float c, int kind, bool normals,
                              bool rootFixed) {
    Targets targets;
    collect(scene.root(), kind, targets, rootFixed);
    apply(targets, a, b, c, kind, normals);
}

}  // namespace y4
