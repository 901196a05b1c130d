// UndoStep: one user edit as the history keeps it: what it needs to go back (the values it
// replaced, the marks it changed) and to go forward again, never a copy of the scene. A step
// announces its own changes while it is undone or redone; the document restores the selection
// and the modified flag around it.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "DocumentObserver.h"

namespace y4 {

class Reader;
class SceneTree;

// What a step works on: the model, its tree, and the observers to tell.
struct EditContext {
    Reader& reader;
    SceneTree& tree;
    const std::vector<DocumentObserver*>& observers;

    template <class... Params, class... Args>
    void tell(void (DocumentObserver::*call)(Params...), const Args&... args) const {
        // An observer may come or go while it is told; go by position.
        for (std::size_t k = 0; k < observers.size(); ++k) {
            (observers[k]->*call)(args...);
        }
    }
};

// A selection as a step remembers it: a record, and for a vertex the face it is listed under,
// so that it can be found again whatever the items' handles.
struct SelectionRef {
    SceneObject* record = nullptr;
    SceneObject* listedUnder = nullptr;
};

class UndoStep {
public:
    UndoStep(std::string name, bool changesFile)
        : name_(std::move(name)), changesFile_(changesFile) {}
    virtual ~UndoStep() = default;
    UndoStep(const UndoStep&) = delete;
    UndoStep& operator=(const UndoStep&) = delete;

    // Puts the model back as it was before the edit.
    virtual void undo(const EditContext& context) = 0;
    // Makes the edit again, giving the same values to the bit.
    virtual void redo(const EditContext& context) = 0;
    // The memory the step holds.
    virtual std::size_t bytes() const = 0;

    // What the edit is called ("Delete", "Rename", ...).
    const std::string& name() const { return name_; }
    // Whether the edit changes what a save writes (display switches do not).
    bool changesFile() const { return changesFile_; }

    SelectionRef selectionBefore;
    SelectionRef selectionAfter;

private:
    std::string name_;
    bool changesFile_;
};

}  // namespace y4
