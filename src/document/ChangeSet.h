// ChangeSet: what a structural or attribute edit did to the scene, kept so that its undo step
// can take it back and make it again: the records it made and where it put them in the lists,
// the states of the existing records it changed before and after, and the tree items it
// listed. Records it made live in the scene while the edit stands and in the change set while
// it is undone; a change set dropped while undone destroys them.
//
// An edit that makes records is announced as records added (after) and as records about to be
// removed and removed (around its undo), with the sub-entities whose contents change; an edit
// that only changes records is announced as records about to change and changed.
#pragma once

#include <cstddef>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

#include "DocumentObserver.h"
#include "RecordLinks.h"
#include "RecordState.h"
#include "UndoStep.h"
#include "model/Scene.h"

namespace y4 {

class ChangeSet {
public:
    explicit ChangeSet(Scene& scene) : scene_(scene) {}
    ~ChangeSet();
    ChangeSet(const ChangeSet&) = delete;
    ChangeSet& operator=(const ChangeSet&) = delete;

    // ---- the edit's first application, made directly on the scene ----

    // A new record, owned by the scene once linked.
    template <class T, class... Args>
    T* make(Args&&... args) {
        T* record = scene_.create<T>(std::forward<Args>(args)...);
        made_.push_back(record);
        madeSet_.insert(record);
        return record;
    }
    // Puts a new record into a list (see RecordLinks::insert).
    void link(RecordLinks::List list, SceneObject* owner, SceneObject* record,
              std::size_t position = RecordLinks::kAtEnd);
    // Whether the edit made `record` (while it is being made).
    bool made(const SceneObject* record) const { return madeSet_.count(record) != 0; }
    // Called before a record is changed: keeps its state as it was, unless the edit made it.
    void touch(SceneObject* record);
    // The record's tree items are listed when the edit ends (and again at each redo).
    void list(SceneObject* record) { listed_.push_back(record); }
    // The face's corner items are listed again when the edit ends (and at each undo and redo).
    void relist(Face* face) { relisted_.push_back(face); }
    // What the announcements name: a record the edit added or changed, and a sub-entity whose
    // contents changed.
    void name(SceneObject* record) { records_.push_back(record); }
    void mesh(SubEntity* subEntity);
    // Ends the first application: keeps the states after it and lists the tree items.
    void finish(SceneTree& tree);

    // ---- an edit given as states ----

    // Records the change from `before` to `after` (of the same records, in the same order)
    // without making it; redo makes it.
    void setStates(std::vector<RecordState> before, std::vector<RecordState> after);

    // Whether the edit added records or changed any state.
    bool changesAnything() const;
    // Whether it changes what a save of a model of `fileType` writes.
    bool changesFile(int fileType) const;

    void undo(const EditContext& context);
    void redo(const EditContext& context);
    // Tells the observers of the first application of an edit made directly (after finish).
    void announceMade(const EditContext& context) const;
    std::size_t bytes() const;

private:
    void describe();

    Scene& scene_;
    std::vector<SceneObject*> made_;
    std::vector<RecordLinks::Link> links_;
    std::vector<RecordState> before_;
    std::vector<RecordState> after_;
    // While the edit is made: the records made, and the touched ones with their states.
    std::unordered_set<const SceneObject*> madeSet_;
    std::unordered_map<const SceneObject*, std::size_t> touched_;
    std::vector<SceneObject*> listed_;
    std::vector<Face*> relisted_;
    std::vector<SceneObject*> records_;
    std::vector<SubEntity*> meshes_;
    RecordSet set_;
    RecordChange change_;
    bool inScene_ = true;
};

// The undo step of an edit kept as a change set. One that makes records or rewires faces
// changes what a selection covers (see UndoStep::reshapes).
class ChangeSetStep : public UndoStep {
public:
    ChangeSetStep(std::string name, std::unique_ptr<ChangeSet> changes, bool changesFile,
                  bool reshapes = true)
        : UndoStep(std::move(name), changesFile),
          changes_(std::move(changes)),
          reshapes_(reshapes) {}
    void undo(const EditContext& context) override { changes_->undo(context); }
    void redo(const EditContext& context) override { changes_->redo(context); }
    std::size_t bytes() const override { return changes_->bytes(); }
    bool reshapes() const override { return reshapes_; }

private:
    std::unique_ptr<ChangeSet> changes_;
    bool reshapes_;
};

}  // namespace y4
