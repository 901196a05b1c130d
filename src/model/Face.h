// Face: a triangle of a sub-entity, with its three corners in winding order.
#pragma once

#include "EntityTree.h"
#include "SceneObject.h"

namespace y4 {

class SubEntity;
class Vertex;

class Face : public SceneObject {
public:
    Face(SubEntity* parent, int index);
    // Copies marks, corners, bitmap and tree handle; `parent` is null and the name follows the
    // new index.
    Face(const Face& source, int index);
    ~Face();

    // Own label, then the sub-entity's path.
    void appendPathName(std::string& out) const;

    // The corners' positions in the parent's vertices, as the files number them.
    int indexA = 0;
    int indexB = 0;
    int indexC = 0;
    int bitmapIndex = -1;
    TreeItem treeItem = kNoItem;
    SubEntity* parent;
    // Corners, elements of the parent's vertices; not owned.
    Vertex* vertexA = nullptr;
    Vertex* vertexB = nullptr;
    Vertex* vertexC = nullptr;
};

}  // namespace y4
