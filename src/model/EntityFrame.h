// EntityFrame: how an entity carries a point from its own frame into its parent's: a turn about
// Z by rotateZ, about Y by rotateX, about X by rotateY (the cosines and sines taken once, in
// double precision, as Vertex::Rotate takes them), then the entity's position added, in single
// precision between the steps. World positions are built from these, so that a vertex's can be
// worked out on demand, bit for bit what the step-by-step walk with Vertex::Rotate gives.
#pragma once

namespace y4 {

class Entity;

struct EntityFrame {
    double cz = 1, sz = 0, cx = 1, sx = 0, cy = 1, sy = 0;
    float x = 0, y = 0, z = 0;
    // All three angles exactly +0.
    bool none = true;

    // The frame of `e` as it is now.
    static EntityFrame of(const Entity& e);
    void carry(float& px, float& py, float& pz) const;
};

}  // namespace y4
