// The snapshot taken from a scene: counted first, so every array is made once at its size and
// filled in one pass.
#include "SceneSnapshot.h"

#include "Reader.h"

namespace y4 {

SceneSnapshot::SceneSnapshot(const Reader& reader, std::string_view extension)
    : bitmapNames(reader.bitmapNames),
      numVertices(reader.numVertices),
      numFaces(reader.numFaces),
      numBitmaps(reader.numBitmaps),
      numEntities(reader.numEntities),
      listSizes{reader.vertices.size(), reader.faces.size(), reader.bitmapNames.size(),
                reader.entities.size()},
      variant_(extension) {
    // A terrain file holds its root's records and nothing else.
    std::vector<const y4::Entity*> taken;
    if (extension == "Y4T") {
        if (const y4::Entity* root = reader.root()) {
            taken.push_back(root);
        }
    } else {
        taken.reserve(reader.entities.size());
        for (const y4::Entity* e : reader.entities) {
            taken.push_back(e);
        }
    }
    std::size_t subCount = 0;
    std::size_t vertexCount = 0;
    std::size_t faceCount = 0;
    for (const y4::Entity* e : taken) {
        subCount += e->subEntities.size();
        for (const y4::SubEntity* s : e->subEntities) {
            vertexCount += s->vertices.size();
            faceCount += s->faces.size();
        }
    }
    entities.reserve(taken.size());
    subEntities_.reserve(subCount);
    vertices_.reserve(vertexCount);
    faces_.reserve(faceCount);

    // The writers turn positions and normals to the file's sign; the snapshot holds them so.
    for (const y4::Entity* e : taken) {
        std::string name;
        e->appendName(name);
        entities.push_back({std::move(name),
                            -e->positionX,
                            -e->positionY,
                            -e->positionZ,
                            e->rotateX,
                            e->rotateY,
                            e->rotateZ,
                            e->entityID,
                            e->parentEntityID,
                            e->childEntityID,
                            e->numFaces,
                            e->numVertices,
                            e->auxA,
                            e->auxB,
                            e->firstFaceIndex,
                            e->firstVertexIndex,
                            {subEntities_.data() + subEntities_.size(), e->subEntities.size()}});
        for (const y4::SubEntity* s : e->subEntities) {
            subEntities_.push_back({s->bitmapIndex,
                                    {vertices_.data() + vertices_.size(), s->vertices.size()},
                                    {faces_.data() + faces_.size(), s->faces.size()}});
            for (const y4::Vertex* v : s->vertices) {
                vertices_.push_back({-v->X, -v->Y, -v->Z, -v->normalX, -v->normalY, -v->normalZ,
                                     v->textureU, v->textureV});
            }
            for (const y4::Face* f : s->faces) {
                faces_.push_back({f->indexA, f->indexB, f->indexC, f->bitmapIndex});
            }
        }
    }
}

}  // namespace y4
