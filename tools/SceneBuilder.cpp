// Building scenes record by record.
#include "SceneBuilder.h"

#include <cmath>

namespace y4::gen {

Entity* SceneBuilder::addEntity(Entity* parent, const std::string& name, Point position,
                                Point rotation) {
    auto* e = reader_.create<Entity>(parent, static_cast<int>(reader_.entities.size()));
    reader_.entities.push_back(e);
    e->setName(name);
    e->positionX = -position.x;
    e->positionY = -position.y;
    e->positionZ = -position.z;
    e->rotateX = rotation.x;
    e->rotateY = rotation.y;
    e->rotateZ = rotation.z;
    if (parent) {
        parent->children.push_back(e);
        e->level = parent->level + 1;
        e->parentEntityID = parent->index;
    } else {
        e->parentEntityID = -1;
    }
    return e;
}

SubEntity* SceneBuilder::addSubEntity(Entity* entity, int bitmapIndex) {
    auto* s = reader_.create<SubEntity>(entity, static_cast<int>(entity->subEntities.size()));
    entity->subEntities.push_back(s);
    reader_.subEntities.push_back(s);
    s->bitmapIndex = bitmapIndex;
    return s;
}

int SceneBuilder::addVertex(SubEntity* s, Point position, Point normal, float u, float v) {
    auto* vertex = reader_.create<Vertex>(nullptr, static_cast<int>(s->vertices.size()));
    s->vertices.push_back(vertex);
    reader_.vertices.push_back(vertex);
    vertex->subEntity = s;
    vertex->X = -position.x;
    vertex->Y = -position.y;
    vertex->Z = -position.z;
    vertex->normalX = -normal.x;
    vertex->normalY = -normal.y;
    vertex->normalZ = -normal.z;
    vertex->textureU = u;
    vertex->textureV = v;
    ++s->parent->numVertices;
    return vertex->index;
}

Face* SceneBuilder::addFace(SubEntity* s, int a, int b, int c) {
    auto* f = reader_.create<Face>(s, static_cast<int>(s->faces.size()));
    s->faces.push_back(f);
    reader_.faces.push_back(f);
    f->indexA = a;
    f->indexB = b;
    f->indexC = c;
    f->vertexA = s->vertices[static_cast<std::size_t>(a)];
    f->vertexB = s->vertices[static_cast<std::size_t>(b)];
    f->vertexC = s->vertices[static_cast<std::size_t>(c)];
    f->bitmapIndex = s->bitmapIndex;
    for (Vertex* corner : {f->vertexA, f->vertexB, f->vertexC}) {
        corner->addFace(f);
    }
    ++s->parent->numFaces;
    return f;
}

void SceneBuilder::addBox(SubEntity* s, Point c, Point size) {
    const Point h{size.x / 2, size.y / 2, size.z / 2};
    // Each side: its outward normal and two edge directions spanning it.
    struct Side {
        Point normal, u, v;
    };
    static constexpr Side kSides[] = {
        {{1, 0, 0}, {0, 0, -1}, {0, 1, 0}}, {{-1, 0, 0}, {0, 0, 1}, {0, 1, 0}},
        {{0, 1, 0}, {1, 0, 0}, {0, 0, -1}}, {{0, -1, 0}, {1, 0, 0}, {0, 0, 1}},
        {{0, 0, 1}, {1, 0, 0}, {0, 1, 0}},  {{0, 0, -1}, {-1, 0, 0}, {0, 1, 0}},
    };
    for (const Side& side : kSides) {
        int first = -1;
        for (int corner = 0; corner < 4; ++corner) {
            const float su = corner == 1 || corner == 2 ? 1.0f : -1.0f;
            const float sv = corner >= 2 ? 1.0f : -1.0f;
            const Point p{c.x + h.x * (side.normal.x + su * side.u.x + sv * side.v.x),
                          c.y + h.y * (side.normal.y + su * side.u.y + sv * side.v.y),
                          c.z + h.z * (side.normal.z + su * side.u.z + sv * side.v.z)};
            const int index = addVertex(s, p, side.normal, (su + 1) / 2, (sv + 1) / 2);
            first = first < 0 ? index : first;
        }
        addFace(s, first, first + 1, first + 2);
        addFace(s, first, first + 2, first + 3);
    }
}

void SceneBuilder::addGrid(SubEntity* s, Point origin, float cell, int columns, int rows,
                           float (*height)(float, float), long long faces) {
    const int first = static_cast<int>(s->vertices.size());
    for (int row = 0; row <= rows; ++row) {
        for (int column = 0; column <= columns; ++column) {
            const float x = origin.x + static_cast<float>(column) * cell;
            const float z = origin.z + static_cast<float>(row) * cell;
            const float y = origin.y + height(x, z);
            // The normal from the height's slopes.
            const float dx = height(x + cell, z) - height(x - cell, z);
            const float dz = height(x, z + cell) - height(x, z - cell);
            const float length = std::sqrt(dx * dx + 4 * cell * cell + dz * dz);
            addVertex(s, {x, y, z}, {-dx / length, 2 * cell / length, -dz / length},
                      static_cast<float>(column) / static_cast<float>(columns),
                      static_cast<float>(row) / static_cast<float>(rows));
        }
    }
    long long left = faces < 0 ? 2LL * columns * rows : faces;
    for (int row = 0; row < rows && left > 0; ++row) {
        for (int column = 0; column < columns && left > 0; ++column) {
            const int v00 = first + row * (columns + 1) + column;
            const int v10 = v00 + 1;
            const int v01 = v00 + columns + 1;
            const int v11 = v01 + 1;
            addFace(s, v00, v01, v11);
            if (--left > 0) {
                addFace(s, v00, v11, v10);
                --left;
            }
        }
    }
}

}  // namespace y4::gen
