// The undo history and its memory budget.
#include "UndoHistory.h"

#include <algorithm>

namespace y4 {

void UndoHistory::push(std::unique_ptr<UndoStep> step) {
    while (steps_.size() > position_) {
        bytes_ -= sizes_.back();
        steps_.pop_back();
        sizes_.pop_back();
    }
    if (clean_ != kNoClean && clean_ > position_) {
        clean_ = kNoClean;  // the saved state was only reachable by a redo
    }
    sizes_.push_back(step->bytes() + sizeof(UndoStep));
    bytes_ += sizes_.back();
    steps_.push_back(std::move(step));
    ++position_;
    trim();
}

void UndoHistory::trim() {
    // The oldest steps that can be undone go first, then the steps furthest from the position
    // that can be redone.
    std::size_t drop = 0;
    while (drop < position_ && bytes_ > budget_) {
        bytes_ -= sizes_[drop++];
    }
    while (steps_.size() > position_ && bytes_ > budget_) {
        bytes_ -= sizes_.back();
        steps_.pop_back();
        sizes_.pop_back();
    }
    if (clean_ != kNoClean && clean_ > steps_.size()) {
        clean_ = kNoClean;
    }
    if (drop == 0) {
        return;
    }
    steps_.erase(steps_.begin(), steps_.begin() + static_cast<std::ptrdiff_t>(drop));
    sizes_.erase(sizes_.begin(), sizes_.begin() + static_cast<std::ptrdiff_t>(drop));
    position_ -= drop;
    clean_ = clean_ != kNoClean && clean_ >= drop ? clean_ - drop : kNoClean;
}

void UndoHistory::clear(bool clean) {
    steps_.clear();
    sizes_.clear();
    bytes_ = 0;
    position_ = 0;
    clean_ = clean ? 0 : kNoClean;
}

bool UndoHistory::modified() const {
    if (clean_ == kNoClean) {
        return true;
    }
    const std::size_t from = std::min(clean_, position_);
    const std::size_t to = std::max(clean_, position_);
    for (std::size_t k = from; k < to; ++k) {
        if (steps_[k]->changesFile()) {
            return true;
        }
    }
    return false;
}

void UndoHistory::setBudget(std::size_t bytes) {
    budget_ = bytes;
    trim();
}

}  // namespace y4
