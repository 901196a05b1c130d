// SelectionTransform: one drag step of a translation, rotation, scaling or stretch applied to the
// selection. The walk starts at the root entity: a selected entity met on the way takes a
// translation or rotation itself, for everything below it; otherwise the walk goes on to the
// child entities and then to the selected vertices of the entity's sub-entities, each of which
// takes the step on its position, or on its normal while normals are edited.
#pragma once

#include <vector>

namespace y4 {

class Entity;
class Scene;
class Vertex;

class SelectionTransform {
public:
    // The edit kinds of a step.
    static constexpr int kTranslate = 1;
    static constexpr int kRotate = 2;
    static constexpr int kScale = 3;
    static constexpr int kStretch = 4;

    // What one step changes: entities whose position or angles move, and vertices whose
    // position or normal does, each once.
    struct Targets {
        std::vector<Entity*> entities;
        std::vector<Vertex*> vertices;
        bool empty() const { return entities.empty() && vertices.empty(); }
    };

    // The records a step of `kind` changes, walking from `root`. Deleted records are not left
    // out. Entities deeper than a scene may hold are not reached. A `rootFixed` root (one its
    // file has no place to keep the placement of) never moves, though the walk stops at it as
    // at any selected entity.
    static void collect(Entity* root, int kind, Targets& out, bool rootFixed = false);
    // One step on the targets: a, b, c are the amounts along (or, for a rotation, the degrees
    // about) the Y, X and Z axes for a rotation and X, Y, Z otherwise; a factor of 0 leaves its
    // axis alone in a scaling or stretch. An entity that moves is marked changed.
    static void apply(const Targets& targets, float a, float b, float c, int kind, bool normals);
    // collect and apply, for the whole scene.
    static void step(Scene& scene, float a, float b, float c, int kind, bool normals,
                     bool rootFixed = false);
};

}  // namespace y4
