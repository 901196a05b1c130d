// The Attributes dialog's edits, each one undo step: Apply and Change Winding; and the values a
// dialog row holds.
#include <algorithm>
#include <memory>

#include "ChangeSet.h"
#include "ModelDocument.h"
#include "RecordAccess.h"
#include "model/RecordLookup.h"
#include "model/SelectionMarks.h"
#include "platform/Prompt.h"

namespace y4 {

VertexValues VertexValues::of(const Vertex& vertex) {
    VertexValues values;
    values.X = vertex.X;
    values.Y = vertex.Y;
    values.Z = vertex.Z;
    values.textureU = vertex.textureU;
    values.textureV = vertex.textureV;
    values.normalX = vertex.normalX;
    values.normalY = vertex.normalY;
    values.normalZ = vertex.normalZ;
    return values;
}

void VertexValues::putInto(Vertex& vertex) const {
    vertex.X = X;
    vertex.Y = Y;
    vertex.Z = Z;
    vertex.textureU = textureU;
    vertex.textureV = textureV;
    vertex.normalX = normalX;
    vertex.normalY = normalY;
    vertex.normalZ = normalZ;
}

namespace {

// The records an Apply reaches from the selection: its entity, sub-entity, face and vertex.
struct Reach {
    Entity* entity = nullptr;
    SubEntity* subEntity = nullptr;
    Face* face = nullptr;
    Vertex* vertex = nullptr;
};

Reach reachOf(const SceneObject* record) {
    Reach r;
    switch (record ? record->kind() : -1) {
        case SceneObject::kEntity:
            r.entity = const_cast<Entity*>(static_cast<const Entity*>(record));
            return r;
        case SceneObject::kSubEntity:
            r.subEntity = const_cast<SubEntity*>(static_cast<const SubEntity*>(record));
            break;
        case SceneObject::kFace:
            r.face = const_cast<Face*>(static_cast<const Face*>(record));
            r.subEntity = r.face->parent;
            break;
        case SceneObject::kVertex:
            r.vertex = const_cast<Vertex*>(static_cast<const Vertex*>(record));
            r.subEntity = r.vertex->subEntity;
            break;
        default:
            return r;
    }
    r.entity = r.subEntity ? r.subEntity->parent : nullptr;
    return r;
}

// The states an edit changes, before and after, one per record.
class States {
public:
    // An Apply reaches at most nine records; references stay valid while they are added.
    States() {
        before.reserve(16);
        after.reserve(16);
    }
    RecordState& of(SceneObject* record) {
        for (std::size_t k = 0; k < before.size(); ++k) {
            if (before[k].record() == record) {
                return after[k];
            }
        }
        before.emplace_back(record);
        after.emplace_back(record);
        return after.back();
    }
    std::vector<RecordState> before;
    std::vector<RecordState> after;
};

void putRow(RecordState& vertex, const VertexValues& row) {
    const float values[8] = {row.X,       row.Y,       row.Z,        row.normalX,
                             row.normalY, row.normalZ, row.textureU, row.textureV};
    std::copy(values, values + 8, vertex.values);
}

std::string cut(const std::string& name) {
    return name.substr(0, SceneObject::kMaxNameLength);
}

}  // namespace

AttributeValues ModelDocument::attributesOf(const SceneObject* record) const {
    AttributeValues values;
    const Reach r = reachOf(record);
    if (r.entity) {
        values.groupName = RecordAccess::name(r.entity);
        values.position = {r.entity->positionX, r.entity->positionY, r.entity->positionZ};
        values.rotation = {r.entity->rotateX, r.entity->rotateY, r.entity->rotateZ};
    }
    if (r.subEntity) {
        values.subEntityName = RecordAccess::name(r.subEntity);
        values.bitmapIndex = r.subEntity->bitmapIndex;
    }
    if (r.face) {
        values.faceName = RecordAccess::name(r.face);
        const Vertex* corners[3] = {r.face->vertexA, r.face->vertexB, r.face->vertexC};
        for (int k = 0; k < 3; ++k) {
            if (corners[k]) {
                values.rows[static_cast<std::size_t>(k)] = VertexValues::of(*corners[k]);
            }
        }
    }
    if (r.vertex) {
        values.rows[0] = VertexValues::of(*r.vertex);
    }
    return values;
}

bool ModelDocument::applyAttributes(const AttributeValues& values) {
    SceneObject* selected = selectedRecord();
    if (!reader_ || !selected) {
        return false;
    }
    const Reach r = reachOf(selected);
    const std::array<Vertex*, 3>& chosen = values.chosen;
    if (r.face) {
        Vertex* const own[3] = {r.face->vertexA, r.face->vertexB, r.face->vertexC};
        // A chosen vertex may not repeat another row's corner, whether that row keeps its own
        // corner or chooses one.
        for (int k = 0; k < 3; ++k) {
            Vertex* c = chosen[static_cast<std::size_t>(k)];
            for (int j = 0; c && j < 3; ++j) {
                if (j != k && (c == own[j] || c == chosen[static_cast<std::size_t>(j)])) {
                    prompt().showMessage(
                        "Error: Duplicate vertices; all three vertices in a face must be "
                        "different",
                        MessageIcon::Exclamation);
                    return false;
                }
            }
            // A corner comes from the face's own sub-entity.
            if (c && c->subEntity != r.subEntity) {
                return false;
            }
        }
    }
    if (r.entity && groupNameRefused(r.entity, cut(values.groupName))) {
        return false;
    }
    endDrag();

    States states;
    if (r.entity) {
        RecordState& e = states.of(r.entity);
        e.name = cut(values.groupName);
        if (!(r.entity == reader_->root() && RecordAccess::rootFixed(*reader_))) {
            const float placement[6] = {values.position[0], values.position[1], values.position[2],
                                        values.rotation[0], values.rotation[1], values.rotation[2]};
            std::copy(placement, placement + 6, e.placement);
        }
    }
    if (r.subEntity) {
        RecordState& s = states.of(r.subEntity);
        // A terrain file names each record's bitmap in the record's place and takes its last
        // record for the terrain's own: that record keeps its name and bitmap, and no other
        // record takes the terrain's bitmap, or the file would not read back the same.
        if (!RecordAccess::isTerrainRecord(*reader_, r.subEntity)) {
            s.name = cut(values.subEntityName);
            if (!isTerrainBitmap(values.bitmapIndex)) {
                s.bitmapIndex = values.bitmapIndex;
            }
        }
    }
    if (r.face) {
        states.of(r.face).name = cut(values.faceName);
        for (std::size_t k = 0; k < 3; ++k) {
            if (Vertex* c = chosen[k]) {
                Vertex* old = states.of(r.face).corners[k];
                states.of(r.face).corners[k] = c;
                states.of(r.face).cornerIndices[k] = indexOfPointer(c, r.subEntity->vertices);
                RecordState& was = states.of(old);
                // Unless it is still another corner of the face, the old vertex no longer
                // lists it.
                const Vertex* const* now = states.of(r.face).corners;
                if (old != now[0] && old != now[1] && old != now[2]) {
                    std::erase(was.faces, r.face);
                }
                was.marked = 0;
                RecordState& is = states.of(c);
                if (std::find(is.faces.begin(), is.faces.end(), r.face) == is.faces.end()) {
                    is.faces.push_back(r.face);
                }
                is.marked = 1;
            }
            Vertex* corner = states.of(r.face).corners[k];
            if (corner) {
                putRow(states.of(corner), values.rows[k]);
            }
        }
    }
    if (r.vertex) {
        putRow(states.of(r.vertex), values.rows[0]);
    }

    auto changes = std::make_unique<ChangeSet>(*reader_);
    changes->setStates(std::move(states.before), std::move(states.after));
    if (!changes->changesAnything()) {
        return false;
    }
    changes->name(selected);
    if (r.subEntity) {
        changes->mesh(r.subEntity);
    }
    const bool rewires = r.face && (chosen[0] || chosen[1] || chosen[2]);
    const bool changesFile = changes->changesFile(reader_->fileType);
    auto step = std::make_unique<ChangeSetStep>("Apply Attributes", std::move(changes), changesFile,
                                                rewires);
    const SelectionRef before = currentSelection();
    if (rewires) {
        // The selection covers the face and its corners: the marks follow the new corners.
        SelectionMarks::apply(r.face, 0);
    }
    step->redo(context());
    if (rewires) {
        SelectionMarks::apply(r.face, 1);
    }
    step->selectionBefore = before;
    step->selectionAfter = currentSelection();
    push(std::move(step));
    return true;
}

bool ModelDocument::canChangeWinding(const SceneObject* record) const {
    return reader_ && record && record->kind() == SceneObject::kFace &&
           static_cast<const Face*>(record)->parent;
}

bool ModelDocument::changeWinding(Face* face) {
    if (!canChangeWinding(face) || face->vertexA == face->vertexC) {
        return false;
    }
    endDrag();
    std::vector<RecordState> before{RecordState(face)};
    std::vector<RecordState> after = before;
    std::swap(after[0].corners[0], after[0].corners[2]);
    std::swap(after[0].cornerIndices[0], after[0].cornerIndices[2]);
    auto changes = std::make_unique<ChangeSet>(*reader_);
    changes->setStates(std::move(before), std::move(after));
    changes->name(face);
    changes->mesh(face->parent);
    // The corners stay the same vertices, so the selection covers the same records; but their
    // listings under the face are made again, and a selected one among them with them.
    auto step = std::make_unique<ChangeSetStep>("Change Winding", std::move(changes), true);
    const SelectionRef selection = currentSelection();
    select(kNoItem);
    step->redo(context());
    restoreSelection(selection);
    step->selectionBefore = step->selectionAfter = selection;
    push(std::move(step));
    return true;
}

}  // namespace y4
