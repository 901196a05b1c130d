// Entity: a group of the model. Entities form a hierarchy; an entity holds either child
// entities or sub-entities, and places its frame in its parent's by a position and three angles.
#pragma once

#include <vector>

#include "EntityTree.h"
#include "SceneObject.h"

namespace y4 {

class SubEntity;

class Entity : public SceneObject {
public:
    Entity(Entity* parent, int index);
    // Paste's copy: marks, numbers, both lists and the tree handle are copied, `parent` is null;
    // the caller empties the lists and sets parent and handle.
    Entity(const Entity& source, int index);

    // This entity's name and then each ancestor's, each followed by "; ".
    void appendPathName(std::string& out) const override;

    Entity* parent;
    // The link columns of the files: next sibling, parent and first child as positions in the
    // entity list (-1: none). Kept as read; recomputed before writing.
    int entityID = 0;
    int parentEntityID = 0;
    int childEntityID = 0;
    int level = 0;
    float positionX = 0, positionY = 0, positionZ = 0;
    // Radians. rotateX turns about the Y axis and rotateY about the X axis.
    float rotateX = 0, rotateY = 0, rotateZ = 0;
    int numFaces = 0;
    int numVertices = 0;
    // Columns carried through unchanged.
    int auxA = 1;
    int auxB = 0;
    // Recomputed by the writer.
    int firstFaceIndex = 0;
    int firstVertexIndex = 0;
    std::vector<Entity*> children;
    std::vector<SubEntity*> subEntities;
    TreeItem treeItem = kNoItem;
};

}  // namespace y4
