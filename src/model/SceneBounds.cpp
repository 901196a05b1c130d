// The boxes around a model's displayed vertices and around a record's.
#include "SceneBounds.h"

#include <algorithm>

#include "Scene.h"
#include "SubtreeWalk.h"

namespace y4 {

namespace {

class BoxBuilder {
public:
    void add(const Position& p) {
        if (empty_) {
            box_ = {p, p};
            empty_ = false;
            return;
        }
        for (std::size_t k = 0; k < 3; ++k) {
            box_.low[k] = std::min(box_.low[k], p[k]);
            box_.high[k] = std::max(box_.high[k], p[k]);
        }
    }
    void add(const Vertex* v) {
        if (v != nullptr && !v->deleted) {
            add(v->absolutePosition());
        }
    }
    void addVertices(const SubEntity& s) {
        if (s.deleted) {
            return;
        }
        for (const Vertex* v : s.vertices) {
            add(v);
        }
    }
    bool empty() const { return empty_; }
    const SceneBox& box() const { return box_; }

private:
    SceneBox box_;
    bool empty_ = true;
};

}  // namespace

std::optional<SceneBox> SceneBounds::ofModel(const Scene& scene) {
    BoxBuilder builder;
    for (const Vertex* v : scene.vertices) {
        if (!v->deleted && v->subEntity != nullptr && !v->subEntity->deleted && v->isDisplayed()) {
            builder.add(v->absolutePosition());
        }
    }
    if (builder.empty()) {
        return std::nullopt;
    }
    return builder.box();
}

SceneBox SceneBounds::ofRecord(const SceneObject& record) {
    BoxBuilder builder;
    switch (record.kind()) {
        case SceneObject::kEntity:
            SubtreeWalk::entities(static_cast<const Entity&>(record), [&](const Entity& e) {
                if (e.deleted) {
                    return false;
                }
                for (const SubEntity* s : e.subEntities) {
                    builder.addVertices(*s);
                }
                return true;
            });
            break;
        case SceneObject::kSubEntity:
            builder.addVertices(static_cast<const SubEntity&>(record));
            break;
        case SceneObject::kFace: {
            const auto& face = static_cast<const Face&>(record);
            for (const Vertex* v : {face.vertexA, face.vertexB, face.vertexC}) {
                builder.add(v);
            }
            break;
        }
        default:
            builder.add(static_cast<const Vertex*>(&record));
            break;
    }
    if (builder.empty()) {
        builder.add(record.absolutePosition());
    }
    return builder.box();
}

}  // namespace y4
