// The undo steps of the edits.
#include "EditSteps.h"

#include "files/Reader.h"
#include "model/SceneTree.h"

namespace y4 {

namespace {

bool entitiesMove(int kind) {
    return kind == SelectionTransform::kTranslate || kind == SelectionTransform::kRotate;
}

std::size_t listBytes(const RecordChange& change) {
    return (change.records.capacity() + change.placed.capacity() + change.meshes.capacity()) *
           sizeof(void*);
}

// Brackets a change of records with its announcements; placement and geometry put every
// world position right again before the change is told done.
template <class Change>
void changeRecords(const EditContext& context, const RecordChange& change, Change apply) {
    context.tell(&DocumentObserver::recordsAboutToChange, change);
    apply();
    if (change.has(RecordChange::kPlacement) || change.has(RecordChange::kGeometry)) {
        context.reader.computeWorldPositions();
    }
    context.tell(&DocumentObserver::recordsChanged, change);
}

}  // namespace

// ---- MarkStep ----

MarkStep::MarkStep(SceneObject* record, int flag)
    : UndoStep(flag ? "Delete" : "Undelete", true), record_(record), flag_(flag) {
    RecordAccess::alreadyMarked(record, flag, already_);
    change_.aspects = RecordChange::kMarks;
    change_.records = {record};
    RecordAccess::subEntitiesOf(record, change_.meshes);
}

void MarkStep::undo(const EditContext& context) {
    changeRecords(context, change_, [&] {
        TreeUpdateScope batch(&context.tree);
        RecordAccess::mark(context.reader, record_, flag_ ? 0 : 1);
        for (SceneObject* r : already_) {
            RecordAccess::setDeletedMark(context.tree, r, flag_);
        }
    });
}

void MarkStep::redo(const EditContext& context) {
    changeRecords(context, change_, [&] { RecordAccess::mark(context.reader, record_, flag_); });
}

std::size_t MarkStep::bytes() const {
    return already_.capacity() * sizeof(SceneObject*) + listBytes(change_);
}

// ---- ScaleStep ----

ScaleStep::ScaleStep(std::vector<Entity*> entities, std::vector<Vertex*> vertices, float fx,
                     float fy, float fz, RecordChange change)
    : UndoStep("Scale", true), factors_{fx, fy, fz}, change_(std::move(change)) {
    entities_.capture(entities);
    vertices_.capture(vertices, false);
}

void ScaleStep::undo(const EditContext& context) {
    changeRecords(context, change_, [&] {
        entities_.restore();
        vertices_.restore();
    });
}

void ScaleStep::redo(const EditContext& context) {
    changeRecords(context, change_, [&] {
        RecordAccess::scale(entities_.entities(), vertices_.vertices(), factors_[0], factors_[1],
                            factors_[2]);
    });
}

std::size_t ScaleStep::bytes() const {
    return entities_.bytes() + vertices_.bytes() + listBytes(change_);
}

// ---- DragStep ----

namespace {
const char* dragName(int kind) {
    switch (kind) {
        case SelectionTransform::kRotate:
            return "Rotate";
        case SelectionTransform::kScale:
            return "Scale";
        case SelectionTransform::kStretch:
            return "Stretch";
        default:
            return "Translate";
    }
}
}  // namespace

DragStep::DragStep(SelectionTransform::Targets targets, int kind, bool normals, RecordChange change)
    : UndoStep(dragName(kind), true),
      targets_(std::move(targets)),
      moving_(entitiesMove(kind)),
      normals_(normals),
      change_(std::move(change)) {
    entitiesBefore_.capture(targets_.entities);
    verticesBefore_.capture(targets_.vertices, normals);
}

// Translations and rotations work on the same records, and so do scalings and stretches.
bool DragStep::fits(int kind, bool normals) const {
    return normals == normals_ && entitiesMove(kind) == moving_;
}

void DragStep::finish() {
    entitiesAfter_.capture(targets_.entities);
    verticesAfter_.capture(targets_.vertices, normals_);
}

void DragStep::put(const EditContext& context, const RecordAccess::Placements& entities,
                   const RecordAccess::Points& vertices) {
    changeRecords(context, change_, [&] {
        entities.restore();
        vertices.restore();
    });
}

void DragStep::undo(const EditContext& context) {
    put(context, entitiesBefore_, verticesBefore_);
}

void DragStep::redo(const EditContext& context) {
    put(context, entitiesAfter_, verticesAfter_);
}

std::size_t DragStep::bytes() const {
    return (targets_.entities.capacity() + targets_.vertices.capacity()) * sizeof(void*) +
           entitiesBefore_.bytes() + entitiesAfter_.bytes() + verticesBefore_.bytes() +
           verticesAfter_.bytes() + listBytes(change_);
}

// ---- RenameStep ----

RenameStep::RenameStep(SceneObject* record, std::string before, std::string after, bool changesFile)
    : UndoStep("Rename", changesFile), before_(std::move(before)), after_(std::move(after)) {
    change_.aspects = RecordChange::kNames;
    change_.records = {record};
}

void RenameStep::put(const EditContext& context, const std::string& name) {
    changeRecords(context, change_,
                  [&] { RecordAccess::setName(context.tree, change_.records.front(), name); });
}

// ---- DisplayStep ----

DisplayStep::DisplayStep(SceneObject* record, bool before, bool after)
    : UndoStep(after ? "Display" : "Hide", false),
      record_(record),
      before_(before),
      after_(after) {}

void DisplayStep::put(const EditContext& context, bool on) {
    const DisplayChange change{record_};
    context.tell(&DocumentObserver::displayAboutToChange, change);
    RecordAccess::setDisplayed(context.tree, record_, on);
    context.tell(&DocumentObserver::displayChanged, change);
}

// ---- DisplayAllStep ----

DisplayAllStep::DisplayAllStep(const Scene& scene, bool on)
    : UndoStep(on ? "Display All" : "Hide All", false), on_(on) {
    before_.capture(scene);
}

void DisplayAllStep::undo(const EditContext& context) {
    const DisplayChange all;
    context.tell(&DocumentObserver::displayAboutToChange, all);
    before_.restore(context.reader, context.tree);
    context.tell(&DocumentObserver::displayChanged, all);
}

void DisplayAllStep::redo(const EditContext& context) {
    const DisplayChange all;
    context.tell(&DocumentObserver::displayAboutToChange, all);
    RecordAccess::setAllDisplayed(context.reader, context.tree, on_);
    context.tell(&DocumentObserver::displayChanged, all);
}

// ---- BitmapListStep ----

BitmapListStep::BitmapListStep(std::string name, RecordAccess::BitmapList before,
                               RecordAccess::BitmapList after, BitmapNumbers numbers,
                               bool changesFile)
    : UndoStep(std::move(name), changesFile),
      before_(std::move(before)),
      after_(std::move(after)),
      numbers_(std::move(numbers)) {}

void BitmapListStep::put(const EditContext& context, bool after) const {
    announce(context, numbers_, [&] {
        (after ? after_ : before_).restore(context.reader);
        numbers_.put(after);
    });
}

}  // namespace y4
