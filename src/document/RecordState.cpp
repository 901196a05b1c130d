// Capturing and putting back the editable fields of a record.
#include "RecordState.h"

#include <algorithm>
#include <cstring>

#include "DocumentObserver.h"
#include "RecordAccess.h"
#include "RecordLinks.h"
#include "files/Reader.h"

namespace y4 {

namespace {

// Bit for bit: a NaN stays itself and -0 differs from 0, as they do in a saved file.
template <std::size_t N>
bool sameFloats(const float (&a)[N], const float (&b)[N]) {
    return std::memcmp(a, b, sizeof a) == 0;
}

bool sameCorners(const RecordState& a, const RecordState& b) {
    return std::equal(a.corners, a.corners + 3, b.corners) &&
           std::equal(a.cornerIndices, a.cornerIndices + 3, b.cornerIndices);
}

}  // namespace

RecordState::RecordState(SceneObject* record)
    : name(RecordAccess::name(record)),
      created(record->created),
      marked(record->marked),
      record_(record) {
    switch (record->kind()) {
        case SceneObject::kEntity: {
            const auto* e = static_cast<const Entity*>(record);
            const float p[6] = {e->positionX, e->positionY, e->positionZ,
                                e->rotateX,   e->rotateY,   e->rotateZ};
            std::memcpy(placement, p, sizeof p);
            break;
        }
        case SceneObject::kSubEntity:
            bitmapIndex = static_cast<const SubEntity*>(record)->bitmapIndex;
            break;
        case SceneObject::kFace: {
            const auto* f = static_cast<const Face*>(record);
            corners[0] = f->vertexA;
            corners[1] = f->vertexB;
            corners[2] = f->vertexC;
            cornerIndices[0] = f->indexA;
            cornerIndices[1] = f->indexB;
            cornerIndices[2] = f->indexC;
            break;
        }
        default: {
            const auto* v = static_cast<const Vertex*>(record);
            const float p[8] = {v->X,       v->Y,       v->Z,        v->normalX,
                                v->normalY, v->normalZ, v->textureU, v->textureV};
            std::memcpy(values, p, sizeof p);
            faces = RecordLinks::facesOf(v);
            break;
        }
    }
}

void RecordState::put(SceneTree& tree) const {
    SceneObject* r = record_;
    if (!r->nameEquals(name)) {
        RecordAccess::setName(tree, r, name);
    }
    r->created = created;
    r->marked = marked;
    switch (r->kind()) {
        case SceneObject::kEntity: {
            auto* e = static_cast<Entity*>(r);
            e->positionX = placement[0];
            e->positionY = placement[1];
            e->positionZ = placement[2];
            e->rotateX = placement[3];
            e->rotateY = placement[4];
            e->rotateZ = placement[5];
            break;
        }
        case SceneObject::kSubEntity:
            static_cast<SubEntity*>(r)->bitmapIndex = bitmapIndex;
            break;
        case SceneObject::kFace: {
            auto* f = static_cast<Face*>(r);
            f->vertexA = corners[0];
            f->vertexB = corners[1];
            f->vertexC = corners[2];
            f->indexA = cornerIndices[0];
            f->indexB = cornerIndices[1];
            f->indexC = cornerIndices[2];
            break;
        }
        default: {
            auto* v = static_cast<Vertex*>(r);
            v->X = values[0];
            v->Y = values[1];
            v->Z = values[2];
            v->normalX = values[3];
            v->normalY = values[4];
            v->normalZ = values[5];
            v->textureU = values[6];
            v->textureV = values[7];
            RecordLinks::setFaces(v, faces);
            break;
        }
    }
}

unsigned RecordState::differences(const RecordState& other) const {
    unsigned aspects = 0;
    if (name != other.name) {
        aspects |= RecordChange::kNames;
    }
    switch (record_->kind()) {
        case SceneObject::kEntity:
            aspects |= sameFloats(placement, other.placement) ? 0u : RecordChange::kPlacement;
            break;
        case SceneObject::kSubEntity:
            aspects |= bitmapIndex == other.bitmapIndex ? 0u : RecordChange::kBitmapNumbers;
            break;
        case SceneObject::kFace:
            aspects |= sameCorners(*this, other) ? 0u : RecordChange::kGeometry;
            break;
        default:
            aspects |= sameFloats(values, other.values) && faces == other.faces
                           ? 0u
                           : RecordChange::kGeometry;
            break;
    }
    return aspects;
}

bool RecordState::savedDiffers(const RecordState& other, int fileType) const {
    switch (record_->kind()) {
        case SceneObject::kEntity:
            // A terrain's root is named after its file and placed at the origin: the file
            // holds neither.
            return fileType != Reader::kY4T &&
                   (name != other.name || !sameFloats(placement, other.placement));
        case SceneObject::kSubEntity:
            // The flat variant keeps a bitmap per face only.
            return bitmapIndex != other.bitmapIndex && fileType != Reader::kY4D;
        case SceneObject::kFace:
            return !std::equal(cornerIndices, cornerIndices + 3, other.cornerIndices);
        default:
            return !sameFloats(values, other.values);
    }
}

bool RecordState::operator==(const RecordState& other) const {
    return record_ == other.record_ && created == other.created && marked == other.marked &&
           differences(other) == 0;
}

std::size_t RecordState::bytes() const {
    return sizeof(RecordState) + name.capacity() + faces.capacity() * sizeof(Face*);
}

}  // namespace y4
