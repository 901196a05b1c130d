// Vertex: a corner point of a sub-entity, with its normal, texture coordinates and the faces that
// use it. Its listings in the object tree (one per face that lists it) are kept by the tree
// (treeItems). Where the renderer shows it on the screen is the renderer's business.
#pragma once

#include <vector>

#include "EntityTree.h"
#include "FaceList.h"
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
    // Copies marks and numbers; no owner, no faces; the name follows the new index.
    Vertex(const Vertex& source, int index);
    ~Vertex();

    // Own label, then the owning sub-entity's path (the face is skipped).
    void appendPathName(std::string& out) const;

    // Turns the position or the normal about one axis by `angle` radians, computing in double
    // precision. An unknown axis is reported and changes nothing.
    void Rotate(int axis, int target, float angle);
    // The same turn with the cosine and sine already taken.
    void rotate(int axis, int target, double c, double s);
    // Shown when its own switch, its sub-entity's and every entity's up the chain are on.
    bool isDisplayed() const;
    // Lists the face unless it is listed already.
    void addFace(Face* face);
    // The items of `tree` that list this vertex, one per face that lists it, in the order they
    // were inserted.
    std::vector<TreeItem> treeItems(const EntityTree& tree) const { return tree.listings(this); }

    // The faces that use this vertex, in the order they were added.
    FaceList faces;
    float X = 0, Y = 0, Z = 0;
    float normalX = 0, normalY = 0, normalZ = 0;
    // The renderer uses (textureU, 1 - textureV).
    float textureU = 0, textureV = 0;
    SubEntity* subEntity = nullptr;
};

}  // namespace y4
