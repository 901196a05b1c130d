// The document's observers, selection, drawing options and history. The workflow is in
// ModelDocumentWorkflow.cpp, the edits in ModelDocumentEdits.cpp.
#include "ModelDocument.h"

#include <algorithm>
#include <utility>

#include "Autosave.h"
#include "EditSteps.h"
#include "RecordAccess.h"
#include "model/SelectionMarks.h"

namespace y4 {

// Follows the tree's selection where the tree changes it by itself: when the selected item is
// removed (a purge) or every item goes (a reset), the marks it covered are cleared and the
// document's observers are told.
class ModelDocument::TreeWatch : public SceneTreeObserver {
public:
    explicit TreeWatch(ModelDocument& document) : document_(document) {}

    void selectionChanged(TreeItem previous, TreeItem current) override {
        if (document_.selecting_) {
            return;
        }
        const SceneTree& tree = document_.tree_;
        SceneObject* before = tree.itemData(previous);
        SceneObject* now = tree.itemData(current);
        SelectionMarks::apply(before, 0);
        SelectionMarks::apply(now, 1);
        document_.tell(&DocumentObserver::selectionChanged,
                       SelectionChange{previous, current, before, now});
    }
    void itemsAboutToBeInserted(TreeItem, int, int) override {}
    void itemsInserted(TreeItem, int, int) override {}
    void itemsAboutToBeRemoved(TreeItem, int, int) override {}
    void itemsRemoved(TreeItem, int, int) override {}
    void itemsChanged(TreeItem, int, int) override {}
    void subtreeChanged(TreeItem) override {}
    void treeAboutToBeReset() override {}
    void treeReset() override {}

private:
    ModelDocument& document_;
};

// Forgets the copied record when it is about to leave the scene: a purge, an undo that takes
// back its making, a new model.
class ModelDocument::CopyWatch : public DocumentObserver {
public:
    explicit CopyWatch(ModelDocument& document) : document_(document) {}

    void modelAboutToBeReplaced() override { document_.copySource_ = nullptr; }
    void recordsAboutToBeRemoved(const RecordSet& set) override {
        if (set.covers(document_.copySource_)) {
            document_.copySource_ = nullptr;
        }
    }

private:
    ModelDocument& document_;
};

ModelDocument::ModelDocument(Reader::Options options)
    : options_(options),
      treeWatch_(std::make_unique<TreeWatch>(*this)),
      copyWatch_(std::make_unique<CopyWatch>(*this)),
      autosave_(std::make_unique<Autosave>()) {
    tree_.addObserver(treeWatch_.get());
    // Told first, before any window.
    observers_.push_back(copyWatch_.get());
    observers_.push_back(autosave_->changeWatch());
}

ModelDocument::~ModelDocument() {
    drag_.reset();
    history_.clear(false);
    // The scene empties the tree as it goes; nobody is told any more.
    observers_.clear();
    tree_.removeObserver(treeWatch_.get());
    reader_.reset();
}

void ModelDocument::addObserver(DocumentObserver* observer) {
    if (observer && std::find(observers_.begin(), observers_.end(), observer) == observers_.end()) {
        observers_.push_back(observer);
    }
}

void ModelDocument::removeObserver(DocumentObserver* observer) {
    std::erase(observers_, observer);
}

// ---- selection ----

void ModelDocument::select(TreeItem item) {
    const TreeItem previous = tree_.selectedItem();
    if (!reader_ || item == previous || (item != kNoItem && !tree_.contains(item))) {
        return;
    }
    endDrag();
    setEditNormals(false);
    SceneObject* before = tree_.itemData(previous);
    SelectionMarks::apply(before, 0);
    selecting_ = true;
    tree_.selectItem(item);
    selecting_ = false;
    SceneObject* now = tree_.itemData(item);
    SelectionMarks::apply(now, 1);
    tell(&DocumentObserver::selectionChanged, SelectionChange{previous, item, before, now});
}

void ModelDocument::selectRecord(SceneObject* record) {
    select(RecordAccess::itemOf(tree_, record));
}

void ModelDocument::deselect() {
    // Forgotten before the windows are told, so that none of them still offers Paste; with
    // nothing selected they are told all the same, or a forgotten copy would stay offered.
    const bool forgetsCopy = std::exchange(copySource_, nullptr) != nullptr;
    if (reader_ && tree_.selectedItem() == kNoItem) {
        if (forgetsCopy) {
            tell(&DocumentObserver::selectionChanged, SelectionChange{});
        }
        return;
    }
    select(kNoItem);
}

SelectionRef ModelDocument::currentSelection() const {
    const TreeItem item = tree_.selectedItem();
    SelectionRef ref;
    ref.record = tree_.itemData(item);
    if (ref.record && ref.record->kind() == SceneObject::kVertex) {
        ref.listedUnder = tree_.itemData(tree_.parentItem(item));
    }
    return ref;
}

void ModelDocument::restoreSelection(const SelectionRef& selection) {
    select(RecordAccess::itemOf(tree_, selection.record, selection.listedUnder));
}

// ---- drawing options ----

void ModelDocument::setOption(int& option, int value) {
    if (option != value) {
        option = value;
        tell(&DocumentObserver::drawOptionsChanged);
    }
}

void ModelDocument::setDrawMode(int mode) {
    if (reader_) {
        setOption(reader_->drawMode, mode);
    }
}

void ModelDocument::setTexturing(bool on) {
    if (reader_) {
        setOption(reader_->texturing, on ? 1 : 0);
    }
}

void ModelDocument::setShowVertices(bool on) {
    if (reader_) {
        setOption(reader_->showVertices, on ? 1 : 0);
    }
}

void ModelDocument::setShowNormals(bool on) {
    if (reader_) {
        setOption(reader_->showNormals, on ? 1 : 0);
    }
}

void ModelDocument::setEditNormals(bool on) {
    if (reader_) {
        endDrag();
        setOption(reader_->editNormals, on ? 1 : 0);
    }
}

// ---- history ----

void ModelDocument::push(std::unique_ptr<UndoStep> step) {
    history_.push(std::move(step));
    settle();
}

void ModelDocument::setModified(bool modified) {
    if (reader_) {
        reader_->modified = modified ? 1 : 0;
    }
    if (modified != lastModified_) {
        lastModified_ = modified;
        tell(&DocumentObserver::modifiedChanged, modified);
    }
}

// The modified flag follows the history; undo and redo availability are told when they change.
void ModelDocument::settle() {
    setModified(reader_ && history_.modified());
    const bool undo = canUndo();
    const bool redo = canRedo();
    if (undo != lastCanUndo_ || redo != lastCanRedo_) {
        lastCanUndo_ = undo;
        lastCanRedo_ = redo;
        tell(&DocumentObserver::undoRedoChanged, undo, redo);
    }
}

std::string ModelDocument::undoName() const {
    const UndoStep* step = history_.nextUndo();
    return step ? step->name() : std::string();
}

std::string ModelDocument::redoName() const {
    const UndoStep* step = history_.nextRedo();
    return step ? step->name() : std::string();
}

void ModelDocument::undo() {
    travel(true);
}

void ModelDocument::redo() {
    travel(false);
}

// Undoes or redoes one step: its values, then the selection of its time, then the flags.
void ModelDocument::travel(bool back) {
    endDrag();
    UndoStep* step = back ? history_.nextUndo() : history_.nextRedo();
    if (!reader_ || !step) {
        return;
    }
    if (step->reshapes()) {
        // What the selection covers changes with the step: the marks go now, under the
        // records as they are, and come back with the selection restored after it.
        select(kNoItem);
    }
    if (back) {
        step->undo(context());
        history_.movedBack();
    } else {
        step->redo(context());
        history_.movedForward();
    }
    restoreSelection(back ? step->selectionBefore : step->selectionAfter);
    settle();
}

void ModelDocument::setHistoryBudget(std::size_t bytes) {
    history_.setBudget(bytes);
    settle();
}

}  // namespace y4
