// Face construction, copy and path text.
#include "Face.h"

#include "SubEntity.h"

namespace y4 {

Face::Face(SubEntity* parent, int index) : SceneObject(kFace, index), parent(parent) {}

Face::Face(const Face& source, int index)
    : SceneObject(source, index),
      indexA(source.indexA),
      indexB(source.indexB),
      indexC(source.indexC),
      bitmapIndex(source.bitmapIndex),
      treeItem(source.treeItem),
      parent(nullptr),
      vertexA(source.vertexA),
      vertexB(source.vertexB),
      vertexC(source.vertexC) {}

Face::~Face() {
    dropTableName();
}

void Face::appendPathName(std::string& out) const {
    appendName(out);
    out.append("; ");
    if (parent) {
        parent->appendPathName(out);
    }
}

}  // namespace y4
