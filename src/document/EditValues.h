// EditValues: what the Attributes and New Face dialogs hand to ModelDocument: the values of a
// vertex row, a corner of a new face, and the whole content of the Attributes dialog. Values
// are in the records' own signs; the dialogs show positions and normals negated.
#pragma once

#include <array>
#include <string>

namespace y4 {

class SceneObject;
class Vertex;

// One vertex row: a vertex's position, texture coordinates and normal.
struct VertexValues {
    float X = 0, Y = 0, Z = 0;
    float textureU = 0, textureV = 0;
    float normalX = 0, normalY = 0, normalZ = 0;

    static VertexValues of(const Vertex& vertex);
    void putInto(Vertex& vertex) const;
};

// A corner of a new face: an existing vertex of the sub-entity, or a vertex made with `values`.
struct FaceCorner {
    enum Source { kUnset, kExisting, kCreated };
    Source source = kUnset;
    Vertex* vertex = nullptr;
    VertexValues values;
    // The number a created vertex is named with ("Vertex[n]"); -1: the next free one.
    int number = -1;

    static FaceCorner existing(Vertex* vertex) { return {kExisting, vertex, {}, -1}; }
    static FaceCorner created(const VertexValues& values, int number = -1) {
        return {kCreated, nullptr, values, number};
    }
};

// The content of the Attributes dialog. Which parts Apply reads depends on the kind of the
// selection: an entity its name and placement; a sub-entity also its own name and bitmap; a
// face also its name, the vertices chosen for its corners and three rows; a vertex the names,
// placement, bitmap and the first row.
struct AttributeValues {
    std::string groupName;
    std::string subEntityName;
    std::string faceName;
    // The entity's positionX, positionY, positionZ and rotateX, rotateY, rotateZ.
    std::array<float, 3> position{};
    std::array<float, 3> rotation{};
    // The chosen "Bitmap:" entry; -1 when none is chosen.
    int bitmapIndex = -1;
    // A face's corners: the vertex chosen in each row's list, or null to keep the corner.
    std::array<Vertex*, 3> chosen{};
    std::array<VertexValues, 3> rows{};
};

}  // namespace y4
