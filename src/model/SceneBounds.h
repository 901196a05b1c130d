// SceneBounds: the box around what the view shows of a model or of one record, in world
// positions (the scene's coordinates, as drawn), for framing the camera. Marked-deleted records
// are left out. It walks the vertices concerned once, when asked; nothing is kept.
#pragma once

#include <optional>

#include "SceneObject.h"

namespace y4 {

class Scene;

struct SceneBox {
    Position low{};
    Position high{};
};

class SceneBounds {
public:
    // Every vertex of the model that is displayed; none when no vertex is.
    static std::optional<SceneBox> ofModel(const Scene& scene);
    // The vertices a record holds: an entity's through all its descendants, a sub-entity's, a
    // face's corners, the vertex itself. A record that holds no vertex is bounded by its own
    // world position.
    static SceneBox ofRecord(const SceneObject& record);
};

}  // namespace y4
