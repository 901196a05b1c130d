// SceneBuilder: adds entities, sub-entities, vertices and faces to a scene the way the loaders
// leave them (every list filled, every link set), for the generators and for tests. Positions
// and normals are given as the files show them; the scene holds them with the other sign.
#pragma once

#include <string>

#include "files/Reader.h"

namespace y4::gen {

struct Point {
    float x, y, z;
};

class SceneBuilder {
public:
    explicit SceneBuilder(Reader& reader) : reader_(reader) {}

    // An entity under `parent` (null: a top-level entity) at `position` with the three angles.
    Entity* addEntity(Entity* parent, const std::string& name, Point position = {0, 0, 0},
                      Point rotation = {0, 0, 0});
    SubEntity* addSubEntity(Entity* entity, int bitmapIndex);
    // Returns the vertex's position in the sub-entity.
    int addVertex(SubEntity* s, Point position, Point normal, float u, float v);
    Face* addFace(SubEntity* s, int a, int b, int c);

    // A box centred on `centre`: four vertices and two faces per side, normals outward.
    void addBox(SubEntity* s, Point centre, Point size);
    // A grid of `columns` x `rows` quads in the XZ plane from `origin`, `cell` apart, its
    // heights from `height(x, z)`; the last row may hold fewer quads, so that the grid has
    // exactly `faces` faces when that is given.
    void addGrid(SubEntity* s, Point origin, float cell, int columns, int rows,
                 float (*height)(float, float), long long faces = -1);

private:
    Reader& reader_;
};

}  // namespace y4::gen
