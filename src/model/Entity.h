// Entity: a group of the model. Entities form a hierarchy; an entity holds either child
// entities or sub-entities, and places its frame in its parent's by a position and three angles.
#pragma once

#include <string>

#include "EntityFrame.h"
#include "EntityTree.h"
#include "RecordList.h"
#include "SceneObject.h"

namespace y4 {

class SubEntity;

class Entity : public SceneObject {
public:
    Entity(Entity* parent, int index);
    // Paste's copy: marks, numbers, both lists and the tree handle are copied, `parent` is null;
    // the caller empties the lists and sets parent and handle.
    Entity(const Entity& source, int index);
    ~Entity() = default;

    // This entity's name and then each ancestor's, each followed by "; ".
    void appendPathName(std::string& out) const;

    // Offsets and angles summed down from the root when the model was loaded (zeros for an
    // entity the load did not reach), and whether the load reached it.
    const Triple& cumulativeOffset() const { return cumulativeOffset_; }
    const Triple& cumulativeRotation() const { return cumulativeRotation_; }
    bool placed() const { return placed_; }
    void setCumulative(const Triple& offset, const Triple& rotation) {
        cumulativeOffset_ = offset;
        cumulativeRotation_ = rotation;
        placed_ = true;
    }
    // The world position of the origin of the parent's frame, and the frame the entity
    // carries points with, both as of the last Scene::computeWorldPositions.
    const Position& absolutePosition() const { return absolutePosition_; }
    const EntityFrame& frame() const { return frame_; }

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
    RecordList<Entity> children;
    RecordList<SubEntity> subEntities;
    TreeItem treeItem = kNoItem;

private:
    friend class SceneObject;
    friend class Scene;
    std::string name_;
    bool hasName_ = false;
    bool placed_ = false;
    Triple cumulativeOffset_{};
    Triple cumulativeRotation_{};
    Position absolutePosition_{};
    EntityFrame frame_;
};

}  // namespace y4
