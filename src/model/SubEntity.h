// SubEntity: a mesh of an entity, owning its vertices and triangular faces and naming the
// bitmap it is drawn with.
#pragma once

#include <memory>
#include <string>

#include "EntityTree.h"
#include "RecordList.h"
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
    ~SubEntity() = default;

    // Own label, then the owning entity's path.
    void appendPathName(std::string& out) const;

    Entity* parent;
    RecordList<Face> faces;
    // A face's corner numbers are positions in this list.
    RecordList<Vertex> vertices;
    // Position in the bitmap-name list; negative or 255 draws untextured.
    int bitmapIndex = -1;
    TreeItem treeItem = kNoItem;

private:
    friend class SceneObject;
    std::unique_ptr<std::string> name_;
};

}  // namespace y4
