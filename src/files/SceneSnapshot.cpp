// The snapshot taken from a scene: counted first, so every array is made once at its size.
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
    subEntities_.resize(subCount);
    vertices_.resize(vertexCount);
    faces_.resize(faceCount);

    // The writers turn positions and normals to the file's sign; the snapshot holds them so.
    SubEntity* sub = subEntities_.data();
    Vertex* vertex = vertices_.data();
    Face* face = faces_.data();
    for (const y4::Entity* e : taken) {
        Entity& out = entities.emplace_back();
        e->appendName(out.name);
        out.positionX = -e->positionX;
        out.positionY = -e->positionY;
        out.positionZ = -e->positionZ;
        out.rotateX = e->rotateX;
        out.rotateY = e->rotateY;
        out.rotateZ = e->rotateZ;
        out.entityID = e->entityID;
        out.parentEntityID = e->parentEntityID;
        out.childEntityID = e->childEntityID;
        out.numFaces = e->numFaces;
        out.numVertices = e->numVertices;
        out.auxA = e->auxA;
        out.auxB = e->auxB;
        out.firstFaceIndex = e->firstFaceIndex;
        out.firstVertexIndex = e->firstVertexIndex;
        out.subEntities = {sub, e->subEntities.size()};
        for (const y4::SubEntity* s : e->subEntities) {
            sub->bitmapIndex = s->bitmapIndex;
            sub->vertices = {vertex, s->vertices.size()};
            sub->faces = {face, s->faces.size()};
            for (const y4::Vertex* v : s->vertices) {
                *vertex++ = {-v->X,       -v->Y,       -v->Z,       -v->normalX,
                             -v->normalY, -v->normalZ, v->textureU, v->textureV};
            }
            for (const y4::Face* f : s->faces) {
                *face++ = {f->indexA, f->indexB, f->indexC, f->bitmapIndex};
            }
            ++sub;
        }
    }
}

std::size_t SceneSnapshot::bytes() const {
    std::size_t total = entities.capacity() * sizeof(Entity) +
                        subEntities_.capacity() * sizeof(SubEntity) +
                        vertices_.capacity() * sizeof(Vertex) + faces_.capacity() * sizeof(Face);
    for (const Entity& e : entities) {
        total += e.name.capacity();
    }
    for (const std::string& name : bitmapNames) {
        total += name.capacity();
    }
    return total;
}

}  // namespace y4
