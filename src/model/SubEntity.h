// SubEntity: a mesh of an entity, owning its vertices and triangular faces and naming the
// bitmap it is drawn with.
#pragma once

#include <vector>

#include "EntityTree.h"
#include "SceneObject.h"

namespace y4 {

class Entity;
class Face;
class Vertex;

class SubEntity : public SceneObject {
public:
    SubEntity(Entity* parent, int index);
    // Copies marks, numbers, both lists, bitmap and tree handle; `parent` is null and the name
    // follows the new index.
    SubEntity(const SubEntity& source, int index);

    // Own label, then the owning entity's path.
    void appendPathName(std::string& out) const override;

    Entity* parent;
    std::vector<Face*> faces;
    // A face's corner numbers are positions in this list.
    std::vector<Vertex*> vertices;
    // Position in the bitmap-name list; negative or 255 draws untextured.
    int bitmapIndex = -1;
    TreeItem treeItem = kNoItem;
};

}  // namespace y4
