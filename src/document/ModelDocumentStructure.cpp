// The structural edits of the object tree, each one undo step: Add Group, Add SubEntity, Add
// Face, Split Face, and which records each is offered for.
#include <algorithm>
#include <memory>

#include "ChangeSet.h"
#include "ModelDocument.h"
#include "PasteBuilder.h"
#include "RecordAccess.h"
#include "model/RecordLookup.h"
#include "platform/Prompt.h"

namespace y4 {

namespace {

using List = RecordLinks::List;

// A record made only to be copied, destroyed when the edit is done.
template <class T>
struct Template {
    Template(Scene& scene, T* record) : scene(scene), record(record) {}
    ~Template() { scene.destroy(record); }
    Template(const Template&) = delete;
    Template& operator=(const Template&) = delete;
    Scene& scene;
    T* record;
};

const Entity* asEntity(const SceneObject* record) {
    return record && record->kind() == SceneObject::kEntity ? static_cast<const Entity*>(record)
                                                            : nullptr;
}

// The position of `vertex` in its sub-entity's list: `hint` when it holds it there.
int positionOf(const Vertex* vertex, const SubEntity& subEntity, int hint) {
    if (hint >= 0 && static_cast<std::size_t>(hint) < subEntity.vertices.size() &&
        subEntity.vertices[static_cast<std::size_t>(hint)] == vertex) {
        return hint;
    }
    return indexOfPointer(vertex, subEntity.vertices);
}

}  // namespace

void ModelDocument::keep(const char* stepName, std::unique_ptr<ChangeSet> changes,
                         const SelectionRef& before, SceneObject* selected) {
    changes->finish(tree_);
    reader_->computeWorldPositions();
    changes->announceMade(context());
    if (selected) {
        selectRecord(selected);
    }
    const bool changesFile = changes->changesFile(reader_->fileType);
    auto step = std::make_unique<ChangeSetStep>(stepName, std::move(changes), changesFile);
    step->selectionBefore = before;
    step->selectionAfter = currentSelection();
    push(std::move(step));
}

// ---- Delete ----

bool ModelDocument::canDelete(const SceneObject* record) const {
    return reader_ && record && record->kind() != SceneObject::kVertex &&
           !RecordAccess::isTerrainRecord(*reader_, record);
}

// ---- Add Group, Add SubEntity ----

bool ModelDocument::canAddGroup(const SceneObject* record) const {
    const Entity* e = asEntity(record);
    return reader_ && e && !e->deleted && reader_->fileType != Reader::kY4T &&
           e->subEntities.empty() && e->level < Scene::kMaxLevel;
}

Entity* ModelDocument::addGroup(Entity* parent) {
    if (!canAddGroup(parent)) {
        return nullptr;
    }
    endDrag();
    const SelectionRef before = currentSelection();
    auto changes = std::make_unique<ChangeSet>(*reader_);
    Template<Entity> group(
        *reader_, reader_->create<Entity>(parent, static_cast<int>(reader_->entities.size())));
    group.record->setName("New Group");
    Entity* added = PasteBuilder(*reader_, *changes).pasteEntity(*group.record, *parent);
    changes->name(added);
    changes->list(added);
    keep("Add Group", std::move(changes), before);
    return added;
}

bool ModelDocument::canAddSubEntity(const SceneObject* record) const {
    const Entity* e = asEntity(record);
    if (!reader_ || !e || e->deleted || !e->children.empty()) {
        return false;
    }
    // Terrain and flat files hold one sub-entity per entity.
    const bool single = reader_->fileType == Reader::kY4T || reader_->fileType == Reader::kY4D;
    return !(single && !e->subEntities.empty());
}

SubEntity* ModelDocument::addSubEntity(Entity* parent) {
    if (!canAddSubEntity(parent)) {
        return nullptr;
    }
    endDrag();
    const SelectionRef before = currentSelection();
    auto changes = std::make_unique<ChangeSet>(*reader_);
    Template<SubEntity> mesh(
        *reader_, reader_->create<SubEntity>(parent, static_cast<int>(parent->subEntities.size())));
    mesh.record->bitmapIndex = 0;
    SubEntity* added = PasteBuilder(*reader_, *changes).pasteSubEntity(*mesh.record, *parent);
    changes->name(added);
    changes->list(added);
    keep("Add SubEntity", std::move(changes), before);
    return added;
}

// ---- Add Face ----

bool ModelDocument::canAddFace(const SceneObject* record) const {
    return reader_ && record && record->kind() == SceneObject::kSubEntity;
}

int ModelDocument::nextVertexNumber(const SubEntity* subEntity) const {
    return subEntity ? static_cast<int>(subEntity->vertices.size()) : 0;
}

Face* ModelDocument::addFace(SubEntity* subEntity, const std::array<FaceCorner, 3>& corners) {
    if (!canAddFace(subEntity)) {
        return nullptr;
    }
    for (const FaceCorner& corner : corners) {
        if (corner.source == FaceCorner::kUnset ||
            (corner.source == FaceCorner::kExisting && !corner.vertex)) {
            prompt().showMessage(
                "Error: Need to specify all vertices.  Click Close to cancel without creating a "
                "new face",
                MessageIcon::Exclamation);
            return nullptr;
        }
    }
    for (int k = 0; k < 3; ++k) {
        for (int j = k + 1; j < 3; ++j) {
            if (corners[k].source == FaceCorner::kExisting &&
                corners[k].vertex == corners[j].vertex) {
                prompt().showMessage(
                    "Error: The same vertex is being used twice; all three vertices must be "
                    "different.",
                    MessageIcon::Exclamation);
                return nullptr;
            }
        }
    }
    for (const FaceCorner& corner : corners) {
        // A corner belongs to the face's own sub-entity.
        if (corner.source == FaceCorner::kExisting && corner.vertex->subEntity != subEntity) {
            return nullptr;
        }
    }
    endDrag();
    const SelectionRef before = currentSelection();
    select(kNoItem);
    auto changes = std::make_unique<ChangeSet>(*reader_);
    auto* face = changes->make<Face>(subEntity, static_cast<int>(subEntity->faces.size()));
    face->created = 1;
    face->bitmapIndex = 0;
    Vertex* vertices[3];
    std::vector<Vertex*> made;
    int number = nextVertexNumber(subEntity);
    for (int k = 0; k < 3; ++k) {
        if (corners[k].source == FaceCorner::kExisting) {
            vertices[k] = corners[k].vertex;
            changes->touch(vertices[k]);
            continue;
        }
        const int index = corners[k].number >= 0 ? corners[k].number : number;
        ++number;
        Vertex* vertex = changes->make<Vertex>(nullptr, index);
        corners[k].values.putInto(*vertex);
        vertex->created = 1;
        vertex->subEntity = subEntity;
        vertices[k] = vertex;
        made.push_back(vertex);
    }
    face->vertexA = vertices[0];
    face->vertexB = vertices[1];
    face->vertexC = vertices[2];
    RecordLinks::listAtCorners(face);
    changes->link(List::kSubEntityFaces, subEntity, face);
    for (Vertex* vertex : made) {
        changes->link(List::kSubEntityVertices, subEntity, vertex);
    }
    changes->link(List::kFaces, nullptr, face);
    for (Vertex* vertex : made) {
        changes->link(List::kVertices, nullptr, vertex);
    }
    face->indexA = positionOf(face->vertexA, *subEntity, -1);
    face->indexB = positionOf(face->vertexB, *subEntity, -1);
    face->indexC = positionOf(face->vertexC, *subEntity, -1);
    changes->name(face);
    for (Vertex* vertex : made) {
        changes->name(vertex);
    }
    changes->mesh(subEntity);
    changes->list(face);
    keep("Add Face", std::move(changes), before, face);
    return face;
}

// ---- Split Face ----

bool ModelDocument::canSplitFace(const SceneObject* record) const {
    if (!reader_ || !record || record->kind() != SceneObject::kFace || record->deleted) {
        return false;
    }
    const auto* f = static_cast<const Face*>(record);
    return f->parent && f->vertexA && f->vertexB && f->vertexC;
}

Face* ModelDocument::splitFace(Face* face) {
    if (!canSplitFace(face)) {
        return nullptr;
    }
    endDrag();
    const SelectionRef before = currentSelection();
    select(kNoItem);
    SubEntity& s = *face->parent;
    Vertex* a = face->vertexA;
    Vertex* b = face->vertexB;
    Vertex* c = face->vertexC;
    const int indexB = positionOf(b, s, face->indexB);
    const int indexC = positionOf(c, s, face->indexC);

    auto changes = std::make_unique<ChangeSet>(*reader_);
    changes->touch(face);
    changes->touch(b);
    changes->touch(c);
    // The second half, drawn as the first.
    auto* half = changes->make<Face>(&s, static_cast<int>(s.faces.size()));
    half->bitmapIndex = face->bitmapIndex;
    half->displayed = face->displayed;
    changes->link(List::kSubEntityFaces, &s, half);
    changes->link(List::kFaces, nullptr, half);
    // The middle of the edge from a to c.
    auto* middle = changes->make<Vertex>(nullptr, static_cast<int>(s.vertices.size()));
    VertexValues values;
    const VertexValues va = VertexValues::of(*a);
    const VertexValues vc = VertexValues::of(*c);
    values.X = (vc.X + va.X) * 0.5f;
    values.Y = (vc.Y + va.Y) * 0.5f;
    values.Z = (vc.Z + va.Z) * 0.5f;
    values.normalX = (vc.normalX + va.normalX) * 0.5f;
    values.normalY = (vc.normalY + va.normalY) * 0.5f;
    values.normalZ = (vc.normalZ + va.normalZ) * 0.5f;
    values.textureU = (vc.textureU + va.textureU) * 0.5f;
    values.textureV = (vc.textureV + va.textureV) * 0.5f;
    values.putInto(*middle);
    middle->subEntity = &s;
    changes->link(List::kSubEntityVertices, &s, middle);
    changes->link(List::kVertices, nullptr, middle);
    const int indexM = static_cast<int>(s.vertices.size()) - 1;

    // The face keeps (a, b, middle); c no longer lists it unless it is still one of its
    // corners.
    face->vertexC = middle;
    face->indexC = indexM;
    middle->addFace(face);
    if (c != a && c != b) {
        std::vector<Face*> faces = RecordLinks::facesOf(c);
        const auto first = std::find(faces.begin(), faces.end(), face);
        if (first != faces.end()) {
            faces.erase(first);
            RecordLinks::setFaces(c, faces);
        }
    }
    half->vertexA = middle;
    half->vertexB = b;
    half->vertexC = c;
    half->indexA = indexM;
    half->indexB = indexB;
    half->indexC = indexC;
    RecordLinks::listAtCorners(half);

    changes->name(half);
    changes->name(middle);
    changes->mesh(&s);
    changes->list(half);
    changes->relist(face);
    keep("Split Face", std::move(changes), before, half);
    return half;
}

}  // namespace y4
