// The undo steps of the edits: deleted marks, scaling, drags, renaming, display switches and the
// bitmap list. Each keeps only what the edit replaced (and, where doing it again is not the
// same arithmetic, what it put in place), and announces what it changes.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "BitmapNumbers.h"
#include "RecordAccess.h"
#include "UndoStep.h"
#include "model/SelectionTransform.h"

namespace y4 {

// Delete or Undelete of a record and everything below it.
class MarkStep : public UndoStep {
public:
    MarkStep(SceneObject* record, int flag);
    void undo(const EditContext& context) override;
    void redo(const EditContext& context) override;
    std::size_t bytes() const override;

private:
    SceneObject* record_;
    int flag_;
    // The records below that had the new mark already, which undoing must leave marked so.
    std::vector<SceneObject*> already_;
    RecordChange change_;
};

// A scaling of the selection: doing it again is the same multiplication of the same values.
class ScaleStep : public UndoStep {
public:
    ScaleStep(std::vector<Entity*> entities, std::vector<Vertex*> vertices, float fx, float fy,
              float fz, RecordChange change);
    void undo(const EditContext& context) override;
    void redo(const EditContext& context) override;
    std::size_t bytes() const override;

private:
    RecordAccess::Placements entities_;
    RecordAccess::Points vertices_;
    float factors_[3];
    RecordChange change_;
};

// A drag of translation, rotation, scaling or stretch steps on the same targets: one undo step
// for the whole drag, holding the values before its first step and after its last.
class DragStep : public UndoStep {
public:
    DragStep(SelectionTransform::Targets targets, int kind, bool normals, RecordChange change);
    // Whether a step of this kind, on normals or positions, works on the same values.
    bool fits(int kind, bool normals) const;
    const SelectionTransform::Targets& targets() const { return targets_; }
    const RecordChange& change() const { return change_; }
    // Takes the values the last step left, for redo.
    void finish();
    void undo(const EditContext& context) override;
    void redo(const EditContext& context) override;
    std::size_t bytes() const override;

private:
    void put(const EditContext& context, const RecordAccess::Placements& entities,
             const RecordAccess::Points& vertices);

    SelectionTransform::Targets targets_;
    bool moving_;
    bool normals_;
    RecordAccess::Placements entitiesBefore_, entitiesAfter_;
    RecordAccess::Points verticesBefore_, verticesAfter_;
    RecordChange change_;
};

class RenameStep : public UndoStep {
public:
    RenameStep(SceneObject* record, std::string before, std::string after, bool changesFile);
    void undo(const EditContext& context) override { put(context, before_); }
    void redo(const EditContext& context) override { put(context, after_); }
    std::size_t bytes() const override { return before_.capacity() + after_.capacity(); }

private:
    void put(const EditContext& context, const std::string& name);

    std::string before_, after_;
    RecordChange change_;
};

// The display switch of one record.
class DisplayStep : public UndoStep {
public:
    DisplayStep(SceneObject* record, bool before, bool after);
    void undo(const EditContext& context) override { put(context, before_); }
    void redo(const EditContext& context) override { put(context, after_); }
    std::size_t bytes() const override { return 0; }

private:
    void put(const EditContext& context, bool on);

    SceneObject* record_;
    bool before_, after_;
};

// Every display switch set to one value.
class DisplayAllStep : public UndoStep {
public:
    DisplayAllStep(const Scene& scene, bool on);
    void undo(const EditContext& context) override;
    void redo(const EditContext& context) override;
    std::size_t bytes() const override { return before_.bytes(); }

private:
    RecordAccess::DisplayFlags before_;
    bool on_;
};

// Any change of the bitmap list: names and images before and after, and the records' bitmap
// numbers that follow it.
class BitmapListStep : public UndoStep {
public:
    BitmapListStep(std::string name, RecordAccess::BitmapList before,
                   RecordAccess::BitmapList after, BitmapNumbers numbers, bool changesFile);
    void undo(const EditContext& context) override { put(context, false); }
    void redo(const EditContext& context) override { put(context, true); }
    std::size_t bytes() const override {
        return before_.bytes(after_) + after_.bytes(before_) + numbers_.bytes();
    }

    // Tells the observers around `change`, which changes the list and puts `numbers`.
    template <class Change>
    static void announce(const EditContext& context, const BitmapNumbers& numbers, Change change) {
        const bool renumbers = !numbers.empty();
        if (renumbers) {
            context.tell(&DocumentObserver::recordsAboutToChange, numbers.change());
        }
        context.tell(&DocumentObserver::bitmapsAboutToChange);
        change();
        context.tell(&DocumentObserver::bitmapsChanged);
        if (renumbers) {
            context.tell(&DocumentObserver::recordsChanged, numbers.change());
        }
    }

private:
    void put(const EditContext& context, bool after) const;

    RecordAccess::BitmapList before_, after_;
    BitmapNumbers numbers_;
};

}  // namespace y4
