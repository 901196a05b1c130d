// UndoHistory: the steps that can be undone and redone, the position between them, the step
// whose state matches the file on disk, and a memory budget: when the steps hold more than the
// budget, the oldest are dropped.
#pragma once

#include <cstddef>
#include <memory>
#include <vector>

#include "UndoStep.h"

namespace y4 {

class UndoHistory {
public:
    static constexpr std::size_t kDefaultBudget = std::size_t{256} << 20;

    // Adds a step after the current position, dropping the steps that could be redone, then
    // the oldest steps while the history holds more than its budget (the new step too, when it
    // alone is larger).
    void push(std::unique_ptr<UndoStep> step);
    // Empties the history; `clean` tells whether the model now matches its file.
    void clear(bool clean);

    UndoStep* nextUndo() const { return position_ > 0 ? steps_[position_ - 1].get() : nullptr; }
    UndoStep* nextRedo() const {
        return position_ < steps_.size() ? steps_[position_].get() : nullptr;
    }
    void movedBack() { --position_; }
    void movedForward() { ++position_; }

    // The model as it is now matches its file (after a save).
    void markClean() { clean_ = position_; }
    // Whether the model differs from its file: a step that changes the file lies between the
    // clean position and the current one, or the clean state is no longer in the history.
    bool modified() const;

    void setBudget(std::size_t bytes);
    std::size_t budget() const { return budget_; }
    std::size_t bytes() const { return bytes_; }
    std::size_t size() const { return steps_.size(); }
    std::size_t position() const { return position_; }

private:
    void trim();

    static constexpr std::size_t kNoClean = static_cast<std::size_t>(-1);

    std::vector<std::unique_ptr<UndoStep>> steps_;
    std::vector<std::size_t> sizes_;
    std::size_t position_ = 0;
    std::size_t clean_ = 0;
    std::size_t bytes_ = 0;
    std::size_t budget_ = kDefaultBudget;
};

}  // namespace y4
