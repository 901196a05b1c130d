// Vertex: a corner point of a sub-entity, with its normal, texture coordinates, the faces that
// use it and its listings in the object tree (one per face).
#pragma once

#include <vector>

#include "EntityTree.h"
#include "SceneObject.h"

namespace y4 {

class Face;
class SubEntity;

class Vertex : public SceneObject {
public:
    // Axis codes of Rotate.
    static constexpr int kAxisX = 0;
    static constexpr int kAxisY = 1;
    static constexpr int kAxisZ = 2;
    // Rotate targets: the position, or (any other value) the normal.
    static constexpr int kPosition = 0;
    static constexpr int kNormal = 1;

    // With a face, the vertex belongs to the face's sub-entity and lists the face.
    Vertex(Face* face, int index);
    // Copies marks and numbers; no owner, no faces, no tree listings; the name follows the
    // new index.
    Vertex(const Vertex& source, int index);

    // Own label, then the owning sub-entity's path (the face is skipped).
    void appendPathName(std::string& out) const override;

    // Turns the position or the normal about one axis by `angle` radians, computing in double
    // precision. An unknown axis is reported and changes nothing.
    void Rotate(int axis, int target, float angle);
    // The same turn with the cosine and sine already taken.
    void rotate(int axis, int target, double c, double s);
    // Shown when its own switch, its sub-entity's and every entity's up the chain are on.
    bool isDisplayed() const;
    // Lists the face unless it is listed already.
    void addFace(Face* face);

    float X = 0, Y = 0, Z = 0;
    float normalX = 0, normalY = 0, normalZ = 0;
    // The renderer uses (textureU, 1 - textureV).
    float textureU = 0, textureV = 0;
    // Window coordinates stored by the renderer for picking.
    double windowPosition[3] = {0, 0, 0};
    double normalWindowPosition[3] = {0, 0, 0};
    SubEntity* subEntity = nullptr;
    std::vector<Face*> faces;
    std::vector<TreeItem> treeItems;
};

}  // namespace y4
