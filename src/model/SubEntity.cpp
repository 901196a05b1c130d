// SubEntity construction, copy and path text.
#include "SubEntity.h"

#include "Entity.h"
#include "Face.h"
#include "Vertex.h"

namespace y4 {

SubEntity::SubEntity(Entity* parent, int index) : SceneObject(kSubEntity, index), parent(parent) {}

SubEntity::SubEntity(const SubEntity& source, int index)
    : SceneObject(source, index),
      parent(nullptr),
      faces(source.faces),
      vertices(source.vertices),
      bitmapIndex(source.bitmapIndex),
      treeItem(source.treeItem) {}

void SubEntity::appendPathName(std::string& out) const {
    appendName(out);
    out.append("; ");
    if (parent) {
        parent->appendPathName(out);
    }
}

}  // namespace y4
