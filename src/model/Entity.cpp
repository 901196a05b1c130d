// Entity construction, copy and path text.
#include "Entity.h"

#include "SubEntity.h"

namespace y4 {

Entity::Entity(Entity* parent, int index) : SceneObject(kEntity, index), parent(parent) {}

Entity::Entity(const Entity& source, int index)
    : SceneObject(source, index),
      parent(nullptr),
      entityID(source.entityID),
      parentEntityID(source.parentEntityID),
      childEntityID(source.childEntityID),
      level(source.level),
      positionX(source.positionX),
      positionY(source.positionY),
      positionZ(source.positionZ),
      rotateX(source.rotateX),
      rotateY(source.rotateY),
      rotateZ(source.rotateZ),
      numFaces(source.numFaces),
      numVertices(source.numVertices),
      auxA(source.auxA),
      auxB(source.auxB),
      firstFaceIndex(source.firstFaceIndex),
      firstVertexIndex(source.firstVertexIndex),
      children(source.children),
      subEntities(source.subEntities),
      treeItem(source.treeItem),
      name_(source.name_),
      hasName_(source.hasName_),
      placed_(source.placed_),
      cumulativeOffset_(source.cumulativeOffset_),
      cumulativeRotation_(source.cumulativeRotation_),
      absolutePosition_(source.absolutePosition_),
      frame_(source.frame_) {}

void Entity::appendPathName(std::string& out) const {
    for (const Entity* e = this; e; e = e->parent) {
        e->appendName(out);
        out.append("; ");
    }
}

}  // namespace y4
