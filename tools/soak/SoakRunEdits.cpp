// The edits a soak run makes through ModelDocument, each with the messages and the outcome the
// document must show.
#include <algorithm>
#include <cmath>
#include <filesystem>
#include <iterator>

#include "EditRules.h"
#include "ScriptedPrompt.h"
#include "SoakRun.h"

namespace y4::test {

namespace {

constexpr const char* kDeletedData =
    "Warning: Copy source contained deleted data; deleted data was not copied";
constexpr const char* kDeletedFaces =
    "Warning: Copy source contained deleted faces; deleted data will not be copied";

const std::string kNames[] = {"Alpha",     "Beta gamma",         "Left: wing",
                              "Tab\there", std::string(70, 'N'), "Zelvan's Terrain"};

const char* pasteWarning(const SceneObject* r);

// The first warning of the records of `list`, in its order.
template <class List>
const char* firstWarning(const List& list) {
    for (const SceneObject* record : list) {
        if (const char* warning = pasteWarning(record)) {
            return warning;
        }
    }
    return nullptr;
}

// The paste's one warning: for the first marked record in the order a copy meets them (an
// entity's child entities before its sub-entities, a sub-entity's vertices before its faces, a
// face before its corners), or null when nothing below `r` is marked.
const char* pasteWarning(const SceneObject* r) {
    if (r->deleted) {
        return r->kind() == SceneObject::kFace ? kDeletedFaces : kDeletedData;
    }
    switch (r->kind()) {
        case SceneObject::kEntity: {
            const auto* e = static_cast<const Entity*>(r);
            const char* warning = firstWarning(e->children);
            return warning ? warning : firstWarning(e->subEntities);
        }
        case SceneObject::kSubEntity: {
            const auto* s = static_cast<const SubEntity*>(r);
            const char* warning = firstWarning(s->vertices);
            return warning ? warning : firstWarning(s->faces);
        }
        case SceneObject::kFace: {
            const auto* f = static_cast<const Face*>(r);
            for (const Vertex* v : {f->vertexA, f->vertexB, f->vertexC}) {
                if (v && v->deleted) {
                    return kDeletedData;
                }
            }
            return nullptr;
        }
        default:
            return nullptr;
    }
}

// The faces a copy of `r` could make.
std::size_t facesBelow(const SceneObject* r) {
    switch (r->kind()) {
        case SceneObject::kEntity: {
            const auto* e = static_cast<const Entity*>(r);
            std::size_t count = 0;
            for (const Entity* child : e->children) {
                count += facesBelow(child);
            }
            for (const SubEntity* s : e->subEntities) {
                count += s->faces.size();
            }
            return count;
        }
        case SceneObject::kSubEntity:
            return static_cast<const SubEntity*>(r)->faces.size();
        default:
            return 1;
    }
}

}  // namespace

void SoakRun::describe(Op::Kind kind, const Target& target) {
    if (!reference_) {
        return;
    }
    edit_ = Op{};
    edit_.kind = kind;
    edit_.target = target;
    edit_.normals = document_->reader()->editNormals != 0;
    described_ = true;
}

// Makes one edit through the document, announcing the messages it must show; whether the
// document reports a change (for the steps that are no edits: whether they were offered).
bool SoakRun::perform(Kind kind) {
    ModelDocument& d = *document_;
    const Reader& r = *d.reader();
    switch (kind) {
        case kSelect: {
            Target target;
            SceneObject* record = pick(12) == 0 ? nullptr : anyRecord(&target);
            if (record && record->kind() == SceneObject::kVertex) {
                const std::vector<TreeItem> items =
                    static_cast<Vertex*>(record)->treeItems(d.tree());
                target.listing = items.empty() ? 0 : pick(items.size());
                d.select(items.empty() ? kNoItem : items[target.listing]);
            } else {
                d.selectRecord(record);
            }
            describe(Op::Select, target);
            return false;
        }
        case kDelete: {
            Target target;
            SceneObject* record = anyRecord(&target);
            describe(Op::Delete, target);
            if (record == r.root()) {
                prompt_->expectMessage("Error: Cannot remove root entity.  Operation aborted");
            } else if (isTerrainRecord(r, record)) {
                prompt_->expectMessage("Error: Cannot remove this subEntity.  Operation aborted");
            }
            const bool marking = record && !record->deleted;
            const bool done = d.toggleDeleted(record);
            // A marked record is no longer selected; an unmarked one is selected again.
            if (done && d.selectedRecord() != (marking ? nullptr : record)) {
                fail(marking ? "a deleted record stays selected"
                             : "an undeleted record is not selected");
            }
            return done;
        }
        case kAddGroup:
        case kAddSubEntity: {
            auto* parent = any(r.entities);
            const bool group = kind == kAddGroup;
            const bool offered = group ? d.canAddGroup(parent) : d.canAddSubEntity(parent);
            const bool added =
                group ? d.addGroup(parent) != nullptr : d.addSubEntity(parent) != nullptr;
            if (added != offered) {
                fail(std::string(group ? "Add Group" : "Add SubEntity") +
                     " differs from its offer");
            }
            return added;
        }
        case kNewFace:
            return newFace();
        case kSplit: {
            auto* face = any(r.faces);
            const bool offered = d.canSplitFace(face);
            const Face* half = face && r.faces.size() < faceLimit_ ? d.splitFace(face) : nullptr;
            if (half && !offered) {
                fail("Split Face made what it does not offer");
            }
            return half != nullptr;
        }
        case kCopy: {
            SceneObject* record = anyRecord();
            if (d.copy(record) != d.canCopy(record)) {
                fail("Copy differs from its offer");
            }
            return false;
        }
        case kPaste:
            return paste();
        case kApply:
            return apply();
        case kWinding:
            return d.changeWinding(any(r.faces));
        case kTextures:
            return textures();
        case kDrag:
            return drag();
        case kScale: {
            describe(Op::Scale);
            float factors[3];
            for (float& factor : factors) {
                factor = between(0.5f, 2.0f);
            }
            std::copy(std::begin(factors), std::end(factors), edit_.factors);
            return d.scaleSelection(factors[0], factors[1], factors[2]);
        }
        case kRename: {
            Target target;
            SceneObject* record = pick(20) == 0 ? nullptr : anyRecord(&target);
            const std::string& name = kNames[pick(std::size(kNames))];
            describe(Op::Rename, target);
            edit_.text = name;
            if (record && !isTerrainRecord(r, record) && badGroupName(record, name)) {
                prompt_->expectMessage(
                    "Error: A group name cannot contain a colon or a control character");
            }
            return d.rename(record, name);
        }
        case kDisplay: {
            Target target;
            SceneObject* record = pick(20) == 0 ? nullptr : anyRecord(&target);
            const bool on = pick(3) == 0;
            describe(Op::Display, target);
            edit_.on = on;
            return d.setDisplayed(record, on);
        }
        case kDisplayAll: {
            const UndoStep* top = d.history().nextUndo();
            const bool on = pick(2) == 0;
            describe(Op::DisplayAll);
            edit_.on = on;
            d.setAllDisplayed(on);
            return d.history().nextUndo() != top;
        }
        case kOptions:
            return options();
        default:
            return false;
    }
}

bool SoakRun::newFace() {
    const Reader& r = *document_->reader();
    SubEntity* mesh = any(r.subEntities);
    if (!mesh || r.faces.size() >= faceLimit_) {
        return false;
    }
    std::array<FaceCorner, 3> corners;
    int number = document_->nextVertexNumber(mesh);
    bool unset = false;
    for (FaceCorner& corner : corners) {
        const std::size_t roll = pick(16);
        if (roll == 0) {
            unset = true;
        } else if (roll < 10 && !mesh->vertices.empty()) {
            corner = FaceCorner::existing(any(mesh->vertices));
        } else {
            VertexValues values;
            values.X = between(-5, 5);
            values.Y = between(-5, 5);
            values.textureU = between(0, 1);
            values.normalZ = 1;
            corner = FaceCorner::created(values, number++);
        }
    }
    const auto same = [&](int a, int b) {
        return corners[a].source == FaceCorner::kExisting && corners[a].vertex == corners[b].vertex;
    };
    if (unset) {
        prompt_->expectMessage(
            "Error: Need to specify all vertices.  Click Close to cancel without creating a new "
            "face");
    } else if (same(0, 1) || same(0, 2) || same(1, 2)) {
        prompt_->expectMessage(
            "Error: The same vertex is being used twice; all three vertices must be different.");
    }
    Face* face = document_->addFace(mesh, corners);
    if (face && document_->selectedRecord() != face) {
        fail("a new face is not selected");
    }
    return face != nullptr;
}

bool SoakRun::paste() {
    ModelDocument& d = *document_;
    const SceneObject* source = d.copySource();
    if (!source) {
        return false;
    }
    // The selection, or a record of the kind the source goes into, or any record.
    SceneObject* destination = nullptr;
    const Reader& r = *d.reader();
    switch (pick(4)) {
        case 0:
            destination = d.selectedRecord();
            break;
        case 1:
            destination = anyRecord();
            break;
        default:
            destination = source->kind() == SceneObject::kFace
                              ? static_cast<SceneObject*>(any(r.subEntities))
                              : any(r.entities);
            break;
    }
    // The tree offers Paste only where it may go. Copies that would outgrow the run are left
    // out.
    if (!d.canPaste(destination) || r.faces.size() + facesBelow(source) > faceLimit_) {
        return false;
    }
    // The table's refusals that the tree's offer leaves: the record itself, and an entity into
    // one further down.
    const char* refusal = nullptr;
    if (source == destination) {
        refusal = "Error: Cannot paste an object into itself";
    } else if (source->kind() == SceneObject::kEntity &&
               static_cast<const Entity*>(source)->level <
                   static_cast<const Entity*>(destination)->level) {
        refusal = "Cannot copy an entity into a subordinate entity";
    }
    if (const char* warning = refusal ? refusal : pasteWarning(source)) {
        prompt_->expectMessage(warning);
    }
    // A marked source leaves nothing to paste, and so does a face with a marked corner.
    bool nothing = source->deleted;
    if (source->kind() == SceneObject::kFace) {
        const auto* face = static_cast<const Face*>(source);
        for (const Vertex* v : {face->vertexA, face->vertexB, face->vertexC}) {
            nothing = nothing || !v || v->deleted;
        }
    }
    const bool pasted = d.paste(destination);
    if (pasted != (!refusal && !nothing)) {
        fail(pasted ? "a paste was made that must be refused" : "a paste was refused");
    }
    return pasted;
}

bool SoakRun::apply() {
    ModelDocument& d = *document_;
    SceneObject* selected = d.selectedRecord();
    if (!selected) {
        return false;
    }
    AttributeValues values = d.attributesOf(selected);
    if (pick(3) == 0) {
        values.groupName = kNames[pick(std::size(kNames))];
    }
    if (pick(3) == 0) {
        values.position[pick(3)] += between(-2, 2);
        values.rotation[pick(3)] += between(-1, 1);
    }
    if (pick(4) == 0) {
        values.subEntityName = kNames[pick(std::size(kNames))];
        values.faceName = kNames[pick(std::size(kNames))];
    }
    if (pick(4) == 0) {
        values.bitmapIndex = static_cast<int>(pick(d.reader()->bitmapNames.size() + 1)) - 1;
    }
    for (VertexValues& row : values.rows) {
        if (pick(3) == 0) {
            row.Y += between(-1, 1);
            row.textureV = between(0, 1);
        }
    }
    const Entity* entity = nullptr;
    const Face* face = nullptr;
    switch (selected->kind()) {
        case SceneObject::kEntity:
            entity = static_cast<Entity*>(selected);
            break;
        case SceneObject::kSubEntity:
            entity = static_cast<SubEntity*>(selected)->parent;
            break;
        case SceneObject::kFace:
            face = static_cast<Face*>(selected);
            entity = face->parent->parent;
            break;
        default:
            entity = static_cast<Vertex*>(selected)->subEntity->parent;
            break;
    }
    bool duplicate = false;
    if (face) {
        for (Vertex*& chosen : values.chosen) {
            if (pick(4) == 0) {
                chosen = any(face->parent->vertices);
            }
        }
        const Vertex* own[3] = {face->vertexA, face->vertexB, face->vertexC};
        for (std::size_t k = 0; k < 3; ++k) {
            for (std::size_t j = 0; j < 3 && values.chosen[k]; ++j) {
                duplicate |=
                    j != k && (values.chosen[k] == own[j] || values.chosen[k] == values.chosen[j]);
            }
        }
    }
    const std::string cut = values.groupName.substr(0, SceneObject::kMaxNameLength);
    if (duplicate) {
        prompt_->expectMessage(
            "Error: Duplicate vertices; all three vertices in a face must be different");
    } else if (cut != entity->name() && badGroupName(entity, cut)) {
        prompt_->expectMessage("Error: A group name cannot contain a colon or a control character");
    }
    const bool applied = d.applyAttributes(values);
    if (applied) {
        // What was applied is what the dialog shows again, and applying it again is no step.
        const std::size_t steps = d.history().size();
        if (d.applyAttributes(d.attributesOf(selected)) || d.history().size() != steps) {
            fail("applying what the dialog shows after an Apply is a step");
        }
    }
    return applied;
}

// An edit of the bitmap list, at any position and one past the end: a picture beside the model
// added or named, or now and then a name without one, which the document refuses.
bool SoakRun::textures() {
    ModelDocument& d = *document_;
    const std::size_t count = d.reader()->bitmapNames.size();
    const int position = static_cast<int>(pick(count + 1));
    const bool unreadable = pictures_.empty() || pick(5) == 0;
    const std::string name = unreadable ? "NOSUCH" : pictures_[pick(pictures_.size())];
    const auto expectRefusal = [&] {
        const std::string folder = std::filesystem::path(path_).parent_path().string();
        prompt_->expectMessage("Failed to open DIB file " + folder + "/NOSUCH.BMP.\n");
        prompt_->expectMessage(extension() == ".Y4P"
                                   ? "Error: Could not open required texture; aborting"
                                   : "Error: Could not read required texture; aborting");
    };
    bool offered = true;
    bool done = false;
    const std::size_t choice = pick(4);
    static constexpr Op::Kind kEdits[] = {Op::AddBitmap, Op::RemoveBitmap, Op::MoveBitmap,
                                          Op::RenameBitmap};
    describe(kEdits[choice]);
    edit_.position = position;
    edit_.text = name;
    switch (choice) {
        case 0:
            if (unreadable) {
                expectRefusal();
            }
            done = d.addBitmap(name);
            offered = !unreadable;
            break;
        case 1:
            offered = d.canRemoveBitmap(position);
            done = d.removeBitmap(position);
            break;
        case 2: {
            const int offset = pick(2) ? 1 : -1;
            edit_.offset = offset;
            offered = d.canMoveBitmap(position, offset);
            done = d.moveBitmap(position, offset);
            break;
        }
        default:
            offered = d.canRenameBitmap(position) &&
                      d.reader()->bitmapNames[static_cast<std::size_t>(position)] != name;
            if (offered && unreadable) {
                expectRefusal();
            }
            offered = offered && !unreadable;
            done = d.renameBitmap(position, name);
            break;
    }
    if (done != offered) {
        fail(done ? "a texture edit was made that must be refused" : "a texture edit was refused");
    }
    return done;
}

// A drag of a few mouse steps on the selection, one undo step; whether it made one.
bool SoakRun::drag() {
    ModelDocument& d = *document_;
    const int kind = static_cast<int>(1 + pick(4));
    const float range[] = {0, 2, 45, 1.5f, 0.3f};
    const UndoStep* top = d.history().nextUndo();
    describe(Op::Drag);
    edit_.dragKind = kind;
    d.beginDrag();
    for (std::size_t k = 1 + pick(4); k > 0; --k) {
        float deltas[3];
        for (float& delta : deltas) {
            const float value = between(-range[kind], range[kind]);
            delta = pick(5) == 0 ? 0.0f : kind == 3 ? std::abs(value) : value;
        }
        edit_.deltas.insert(edit_.deltas.end(), std::begin(deltas), std::end(deltas));
        d.transformSelection(deltas[0], deltas[1], deltas[2], kind);
    }
    d.endDrag();
    return d.history().nextUndo() != top;
}

// A drawing option, normal editing or Deselect: none of them an edit.
bool SoakRun::options() {
    ModelDocument& d = *document_;
    const bool on = pick(2) == 0;
    switch (pick(6)) {
        case 0:
            d.setDrawMode(static_cast<int>(1 + pick(4)));
            break;
        case 1:
            d.setTexturing(on);
            break;
        case 2:
            d.setShowVertices(on);
            break;
        case 3:
            d.setShowNormals(on);
            break;
        case 4:
            describe(Op::EditNormals);
            edit_.on = on;
            d.setEditNormals(on);
            break;
        default:
            describe(Op::Select);
            d.deselect();
            if (d.selectedRecord() || d.copySource()) {
                fail("Deselect leaves a selection or a copy");
            }
            break;
    }
    return false;
}

}  // namespace y4::test
