// World positions, scaling of the selection and the sign turn of the file coordinates.
#include "Scene.h"

namespace y4 {

// Every entity's frame first, then its world position through its ancestors' frames. A vertex's
// world position is carried through the same frames when it is asked for (see SceneObject), so
// the pass costs time in proportion to the entities. The frames are kept until the next pass:
// what a vertex shows is where its position was carried with the frames of that pass.
void Scene::computeWorldPositions() {
    for (Entity* e : entities) {
        e->frame_ = EntityFrame::of(*e);
    }
    for (Entity* e : entities) {
        float x = 0, y = 0, z = 0;
        // Bounded like every walk up the hierarchy, whatever a broken chain holds.
        int steps = 0;
        for (const Entity* a = e->parent; a && steps <= kMaxLevel; a = a->parent, ++steps) {
            a->frame_.carry(x, y, z);
        }
        e->absolutePosition_ = {x, y, z};
    }
}

void Scene::scaleSelected(float fx, float fy, float fz) {
    for (Entity* e : entities) {
        if (!e->deleted && e->selected) {
            e->positionX *= fx;
            e->positionY *= fy;
            e->positionZ *= fz;
        }
    }
    for (Vertex* v : vertices) {
        if (!v->deleted && v->selected) {
            v->X *= fx;
            v->Y *= fy;
            v->Z *= fz;
        }
    }
}

void Scene::negateCoordinates() {
    for (Entity* e : entities) {
        e->positionX = -e->positionX;
        e->positionY = -e->positionY;
        e->positionZ = -e->positionZ;
    }
    for (Vertex* v : vertices) {
        v->X = -v->X;
        v->Y = -v->Y;
        v->Z = -v->Z;
        v->normalX = -v->normalX;
        v->normalY = -v->normalY;
        v->normalZ = -v->normalZ;
    }
}

}  // namespace y4
