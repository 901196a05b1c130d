// The user's edits, each one undo step: deleted marks, scaling, drags, renaming, display switches
// and the bitmap list.
#include <algorithm>

#include "EditSteps.h"
#include "ModelDocument.h"
#include "RecordAccess.h"
#include "files/Y4TParser.h"
#include "platform/PathResolver.h"
#include "platform/Prompt.h"

namespace y4 {

namespace {

bool hasControlCharacter(std::string_view text) {
    return std::any_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; });
}

// The picture a bitmap name would be read from when the model is loaded again. One that cannot
// be read would leave a file that no longer loads, so the edit that names it is refused in the
// loader's own words, after the loader's report of the file.
std::shared_ptr<const RGBImage> readablePicture(const Reader& reader, const std::string& name) {
    std::shared_ptr<const RGBImage> image = reader.readBitmap(name);
    if (!image) {
        prompt().showMessage(reader.unreadableBitmapMessage(), MessageIcon::Exclamation);
    }
    return image;
}

// Whether the selection covers a root that no edit may move.
bool fixedRootSelected(const Reader& reader) {
    return RecordAccess::rootFixed(reader) && reader.root() && reader.root()->selected;
}

}  // namespace

// Makes a step's first application and keeps it; the selection is the one of its time.
void ModelDocument::perform(std::unique_ptr<UndoStep> step) {
    step->redo(context());
    step->selectionBefore = step->selectionAfter = currentSelection();
    push(std::move(step));
}

// ---- deleted marks ----

bool ModelDocument::toggleDeleted(SceneObject* record) {
    if (!reader_ || !record) {
        return false;
    }
    endDrag();
    if (record == reader_->root()) {
        prompt().showMessage("Error: Cannot remove root entity.  Operation aborted",
                             MessageIcon::Exclamation);
        return false;
    }
    if (RecordAccess::isTerrainRecord(*reader_, record)) {
        prompt().showMessage("Error: Cannot remove this subEntity.  Operation aborted",
                             MessageIcon::Exclamation);
        return false;
    }
    // A vertex is marked only with its sub-entity.
    if (record->kind() == SceneObject::kVertex) {
        return false;
    }
    const SelectionRef before = currentSelection();
    select(kNoItem);
    auto step = std::make_unique<MarkStep>(record, RecordAccess::deleted(record) ? 0 : 1);
    step->redo(context());
    if (!RecordAccess::deleted(record)) {
        selectRecord(record);
    }
    step->selectionBefore = before;
    step->selectionAfter = currentSelection();
    push(std::move(step));
    return true;
}

// ---- placement and geometry ----

bool ModelDocument::scaleSelection(float fx, float fy, float fz) {
    if (!reader_) {
        return false;
    }
    endDrag();
    std::vector<Entity*> entities;
    std::vector<Vertex*> vertices;
    RecordAccess::scaleTargets(*reader_, entities, vertices);
    // A scaling that would reach only a fixed root is no edit at all.
    if (entities.empty() && vertices.empty() && fixedRootSelected(*reader_)) {
        return false;
    }
    RecordChange change;
    change.aspects = RecordChange::kPlacement | RecordChange::kGeometry;
    change.placed = entities;
    RecordAccess::meshesOf(vertices, change.meshes);
    if (SceneObject* selected = selectedRecord()) {
        change.records = {selected};
    }
    perform(std::make_unique<ScaleStep>(std::move(entities), std::move(vertices), fx, fy, fz,
                                        std::move(change)));
    return true;
}

void ModelDocument::transformSelection(float a, float b, float c, int kind) {
    if (!reader_ || kind < SelectionTransform::kTranslate || kind > SelectionTransform::kStretch) {
        return;
    }
    const bool normals = reader_->editNormals != 0;
    if (drag_ && !drag_->fits(kind, normals)) {
        finishDrag();
    }
    if (!drag_) {
        SelectionTransform::Targets targets;
        SelectionTransform::collect(reader_->root(), kind, targets,
                                    RecordAccess::rootFixed(*reader_));
        // A step that would move only a fixed root is no edit at all: no undo step, and the
        // model stays as its file holds it.
        if (targets.empty() && fixedRootSelected(*reader_)) {
            return;
        }
        RecordChange change;
        change.aspects = (targets.entities.empty() ? 0u : unsigned{RecordChange::kPlacement}) |
                         (targets.vertices.empty() ? 0u : unsigned{RecordChange::kGeometry});
        change.placed = targets.entities;
        RecordAccess::meshesOf(targets.vertices, change.meshes);
        if (SceneObject* selected = selectedRecord()) {
            change.records = {selected};
        }
        drag_ = std::make_unique<DragStep>(std::move(targets), kind, normals, std::move(change));
        drag_->selectionBefore = drag_->selectionAfter = currentSelection();
    }
    tell(&DocumentObserver::recordsAboutToChange, drag_->change());
    SelectionTransform::apply(drag_->targets(), a, b, c, kind, normals);
    // The "Absolute" positions stay current during a drag.
    if (!drag_->targets().empty()) {
        reader_->computeWorldPositions();
    }
    tell(&DocumentObserver::recordsChanged, drag_->change());
    setModified(true);
    if (!dragging_) {
        finishDrag();
    }
}

void ModelDocument::beginDrag() {
    endDrag();
    dragging_ = reader_ != nullptr;
}

void ModelDocument::endDrag() {
    dragging_ = false;
    finishDrag();
}

void ModelDocument::finishDrag() {
    if (drag_) {
        drag_->finish();
        push(std::move(drag_));
    }
}

// ---- names ----

bool ModelDocument::rename(SceneObject* record, std::string_view name) {
    if (!reader_ || !record || RecordAccess::isTerrainRecord(*reader_, record)) {
        return false;
    }
    endDrag();
    const bool group = record->kind() == SceneObject::kEntity;
    if (groupNameRefused(record, name)) {
        return false;
    }
    std::string after(name.substr(0, SceneObject::kMaxNameLength));
    std::string before = RecordAccess::name(record);
    if (after == before) {
        return false;
    }
    // Only the groups of the nested and flat variants have their names in the file.
    const bool inFile = group && reader_->fileType != Reader::kY4T;
    perform(std::make_unique<RenameStep>(record, std::move(before), std::move(after), inFile));
    return true;
}

// A group's line holds its name between two colons: a name its file could not hold is refused
// with a message.
bool ModelDocument::groupNameRefused(const SceneObject* record, std::string_view name) const {
    if (record->kind() != SceneObject::kEntity || RecordAccess::name(record) == name ||
        (name.find(':') == std::string_view::npos && !hasControlCharacter(name))) {
        return false;
    }
    prompt().showMessage("Error: A group name cannot contain a colon or a control character",
                         MessageIcon::Exclamation);
    return true;
}

// ---- display switches ----

bool ModelDocument::setDisplayed(SceneObject* record, bool on) {
    if (!reader_ || !record || !RecordAccess::displayDiffers(tree_, record, on)) {
        return false;
    }
    endDrag();
    perform(std::make_unique<DisplayStep>(record, RecordAccess::displayed(record), on));
    return true;
}

void ModelDocument::setAllDisplayed(bool on) {
    if (!reader_) {
        return;
    }
    endDrag();
    perform(std::make_unique<DisplayAllStep>(*reader_, on));
}

// ---- bitmaps ----

bool ModelDocument::isTerrainBitmap(int position) const {
    const std::vector<std::string>& names = reader_->bitmapNames;
    return reader_->fileType == Reader::kY4T && position == static_cast<int>(names.size()) - 1 &&
           names.back() == Y4TParser::kTerrainName;
}

bool ModelDocument::editableBitmap(int position) const {
    return reader_ && position >= 0 && position < static_cast<int>(reader_->bitmapNames.size()) &&
           !isTerrainBitmap(position);
}

bool ModelDocument::canRemoveBitmap(int position) const {
    // A terrain file names a picture for every record: the last bitmap besides the terrain's
    // own stays while records besides the terrain's own are there to name it.
    return editableBitmap(position) &&
           !(reader_->fileType == Reader::kY4T && reader_->bitmapNames.size() <= 2 &&
             reader_->subEntities.size() > 1);
}

bool ModelDocument::canMoveBitmap(int position, int offset) const {
    return (offset == -1 || offset == 1) && editableBitmap(position) &&
           editableBitmap(position + offset);
}

bool ModelDocument::acceptableBitmapName(const std::string& name) const {
    if (name.empty()) {
        return false;
    }
    if (hasControlCharacter(name)) {
        prompt().showMessage("Error: A texture name cannot contain a control character",
                             MessageIcon::Exclamation);
        return false;
    }
    return true;
}

template <class Change>
void ModelDocument::changeBitmaps(const char* stepName, BitmapNumbers numbers, Change change) {
    endDrag();
    RecordAccess::BitmapList before;
    before.capture(*reader_);
    RecordAccess::BitmapList after;
    BitmapListStep::announce(context(), numbers, [&] {
        reader_->deleteTextures();
        change(*reader_);
        reader_->createTextures();
        numbers.put(true);
        after.capture(*reader_);
    });
    // Every change of the list changes what a save writes.
    auto step = std::make_unique<BitmapListStep>(stepName, std::move(before), std::move(after),
                                                 std::move(numbers), true);
    step->selectionBefore = step->selectionAfter = currentSelection();
    push(std::move(step));
}

bool ModelDocument::addBitmap(const std::string& name) {
    if (!reader_ || !acceptableBitmapName(name)) {
        return false;
    }
    std::shared_ptr<const RGBImage> image = readablePicture(*reader_, name);
    if (!image) {
        return false;
    }
    // A terrain's new bitmap goes before the terrain's own.
    const auto count = static_cast<int>(reader_->bitmapNames.size());
    const int at = reader_->fileType == Reader::kY4T && count > 0 ? count - 1 : count;
    changeBitmaps("Add Texture", BitmapNumbers::forInsertion(*reader_, at),
                  [&](Reader& r) { r.insertBitmap(name, image); });
    return true;
}

bool ModelDocument::addTextureFile(const std::string& chosenPath) {
    if (!reader_) {
        return false;
    }
    const std::string_view file = PathResolver::fileNameOf(chosenPath);
    const std::string name(file.substr(0, file.rfind('.')));
    if (name.empty()) {
        return false;
    }
    const char* archive = reader_->fileType == Reader::kY4T ? "TERRAIN.PKV" : "AQ5.PKV";
    prompt().showMessage(
        std::string("Warning: You MUST ensure that the specified bitmap is in the ") + archive +
            " archive.  If it is not, add it using the PKVTOOL -a add file option.",
        MessageIcon::Exclamation);
    return addBitmap(name);
}

bool ModelDocument::removeBitmap(int position) {
    if (!canRemoveBitmap(position)) {
        return false;
    }
    changeBitmaps("Remove Texture", BitmapNumbers::forRemoval(*reader_, position),
                  [&](Reader& r) { r.removeBitmap(position); });
    return true;
}

bool ModelDocument::moveBitmap(int position, int offset) {
    if (!canMoveBitmap(position, offset)) {
        return false;
    }
    // The records keep their numbers: those of the two positions draw each other's picture.
    changeBitmaps(offset < 0 ? "Move Texture Up" : "Move Texture Down", BitmapNumbers(),
                  [&](Reader& r) { RecordAccess::swapBitmaps(r, position, position + offset); });
    return true;
}

bool ModelDocument::renameBitmap(int position, const std::string& name) {
    if (!canRenameBitmap(position) ||
        name == reader_->bitmapNames[static_cast<std::size_t>(position)] ||
        !acceptableBitmapName(name)) {
        return false;
    }
    std::shared_ptr<const RGBImage> image = readablePicture(*reader_, name);
    if (!image) {
        return false;
    }
    changeBitmaps("Rename Texture", BitmapNumbers(), [&](Reader& r) {
        RecordAccess::renameBitmap(r, position, name, std::move(image));
    });
    return true;
}

}  // namespace y4
